#include "PngFile.h"

#include <png.h>

#include <vector>

bool WritePng(const std::string& path, const Bitmap& bitmap, std::string* error) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(bitmap.Width());
  image.height = static_cast<png_uint_32>(bitmap.Height());
  image.format = PNG_FORMAT_RGB;
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
  if (png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr) != 0) return true;
  if (error != nullptr) *error = image.message;
  png_image_free(&image);
  return false;
}
