#include "PngFile.h"

#include <png.h>

#include <vector>

#include "WholeFile.h"

namespace {
std::vector<unsigned char> RgbBytes(const Bitmap& bitmap) {
  std::vector<unsigned char> rgb;
  rgb.reserve(static_cast<std::size_t>(bitmap.Width()) * static_cast<std::size_t>(bitmap.Height()) *
              3);
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      const std::uint32_t pixel = bitmap.At(x, y);
      rgb.push_back(static_cast<unsigned char>(pixel >> 16));
      rgb.push_back(static_cast<unsigned char>(pixel >> 8));
      rgb.push_back(static_cast<unsigned char>(pixel));
    }
  }
  return rgb;
}
}  // namespace

bool WritePng(const std::string& path, const Bitmap& bitmap, std::string& error) {
  const std::vector<unsigned char> rgb = RgbBytes(bitmap);
  // libpng unlinks a file it fails to write; only ever let it near the temporary one.
  return runtime::WriteWholeFile(
      path,
      [&](const std::string& temporary, std::string& failure) {
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        image.width = static_cast<png_uint_32>(bitmap.Width());
        image.height = static_cast<png_uint_32>(bitmap.Height());
        image.format = PNG_FORMAT_RGB;
        if (png_image_write_to_file(&image, temporary.c_str(), 0, rgb.data(), 0, nullptr) != 0) {
          return true;
        }
        failure = image.message;
        png_image_free(&image);
        return false;
      },
      error);
}
