// Makes the desktop icon from the program's own picture: its centre square, scaled down.
// Usage: make_icon SIZE OUTPUT.png
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Picture.h"
#include "PngFile.h"
#include "Stretch.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_icon SIZE OUTPUT.png\n");
    return 2;
  }
  const int size = std::atoi(argv[1]);
  const PictureBytes stored = StoredPicture();
  std::string error;
  const auto picture = DecodeJpeg(stored.data, stored.size, &error);
  if (!picture || size <= 0) {
    std::fprintf(stderr, "make_icon: %s\n", picture ? "bad size" : error.c_str());
    return 1;
  }
  const Bitmap& whole = picture->pixels;
  const int side = std::min(whole.Width(), whole.Height());
  // The neuron sits in the lower part of the picture; the square ends at the bottom edge.
  Bitmap square(side, side);
  const int top = whole.Height() - side;
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) square.At(x, y) = whole.At(x, top + y);
  }
  if (!WritePng(argv[2], Stretch(square, size, size), error)) {
    std::fprintf(stderr, "make_icon: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
