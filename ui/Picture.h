#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "Bitmap.h"

// The decorative picture stored with the window: a JPEG embedded in the program.
struct PictureBytes {
  const unsigned char* data;
  std::size_t size;
};
PictureBytes StoredPicture();

// A decoded JPEG with what the stream said of its layout.
struct DecodedPicture {
  Bitmap pixels;
  int components;
  int firstSamplingH;  // horizontal and vertical sampling of the first component
  int firstSamplingV;
};

// Decodes a JPEG stream through libjpeg. A stream libjpeg rejects, or merely warns about (a
// truncated one, say), gives nothing and a message in *error; the process never ends here.
std::optional<DecodedPicture> DecodeJpeg(const unsigned char* data, std::size_t size,
                                         std::string* error);
