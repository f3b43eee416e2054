#include "Picture.h"

// jpeglib.h uses size_t and FILE without including their headers.
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

#include <algorithm>
#include <csetjmp>
#include <vector>

namespace {
constexpr std::uint64_t kMaxPixels = 1 << 24;

// libjpeg reports errors through a callback that must not return; it jumps back to the decode
// instead of ending the process.
struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void JumpOut(j_common_ptr info) {
  auto* manager = reinterpret_cast<ErrorManager*>(info->err);
  (*info->err->format_message)(info, manager->message);
  std::longjmp(manager->jump, 1);
}

// Warnings (level -1) mean corrupt data that libjpeg would paper over with grey; we refuse it.
void RefuseWarnings(j_common_ptr info, int level) {
  if (level < 0) JumpOut(info);
}

// What the stream says of itself, read before libjpeg frees its description.
struct StreamLayout {
  int width, height, components, firstSamplingH, firstSamplingV;
};

// Everything that lives across the setjmp is plain data owned by the caller, so a jump skips no
// destructor.
bool Decode(jpeg_decompress_struct& info, ErrorManager& errors, const unsigned char* data,
            std::size_t size, StreamLayout& layout, std::vector<unsigned char>& rgb) {
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = JumpOut;
  errors.base.emit_message = RefuseWarnings;
  if (setjmp(errors.jump) != 0) return false;
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  // A forged header may claim gigapixels; a decorative picture never needs more than this.
  if (std::uint64_t{info.output_width} * info.output_height > kMaxPixels) {
    std::snprintf(errors.message, sizeof errors.message, "picture of %ux%u is too large",
                  info.output_width, info.output_height);
    return false;
  }
  layout = {static_cast<int>(info.output_width), static_cast<int>(info.output_height),
            info.num_components, info.comp_info[0].h_samp_factor, info.comp_info[0].v_samp_factor};
  const std::size_t stride = static_cast<std::size_t>(info.output_width) * 3;
  rgb.assign(stride * info.output_height, 0);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = rgb.data() + stride * info.output_scanline;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  return true;
}

Bitmap ToBitmap(const std::vector<unsigned char>& rgb, int width, int height) {
  Bitmap bitmap(width, height);
  const unsigned char* source = rgb.data();
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x, source += 3) {
      bitmap.At(x, y) =
          0xFF000000U | std::uint32_t{source[0]} << 16 | std::uint32_t{source[1]} << 8 | source[2];
    }
  }
  return bitmap;
}
}  // namespace

std::optional<DecodedPicture> DecodeJpeg(const unsigned char* data, std::size_t size,
                                         std::string* error) {
  jpeg_decompress_struct info{};
  ErrorManager errors{};
  StreamLayout layout{};
  std::vector<unsigned char> rgb;
  const bool decoded = size > 0 && Decode(info, errors, data, size, layout, rgb);
  std::optional<DecodedPicture> picture;
  if (decoded) {
    picture = DecodedPicture{ToBitmap(rgb, layout.width, layout.height), layout.components,
                             layout.firstSamplingH, layout.firstSamplingV};
  } else if (error != nullptr) {
    *error = size == 0 ? "empty stream" : errors.message;
  }
  jpeg_destroy_decompress(&info);
  return picture;
}
