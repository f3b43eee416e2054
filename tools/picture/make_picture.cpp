// Draws the window's decorative picture, a stylised neuron fed by two eyes of twelve inputs
// each, and encodes it as the 269 x 349 baseline JPEG stored in ui/orvel.jpg.
// Usage: make_picture OUTPUT.jpg
// jpeglib.h uses size_t and FILE without including their headers.
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {
constexpr int kWidth = 269;
constexpr int kHeight = 349;

struct Rgb {
  double r, g, b;
};

class Canvas {
 public:
  Canvas() : pixels_(static_cast<std::size_t>(kWidth) * kHeight, Rgb{250, 248, 240}) {}

  // Blends colour into every pixel by coverage(x, y) in [0, 1].
  template <class Coverage>
  void Paint(const Rgb& colour, Coverage coverage) {
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        const double a = std::clamp(coverage(x + 0.5, y + 0.5), 0.0, 1.0);
        Rgb& p = pixels_[static_cast<std::size_t>(y) * kWidth + static_cast<std::size_t>(x)];
        p = {p.r + (colour.r - p.r) * a, p.g + (colour.g - p.g) * a, p.b + (colour.b - p.b) * a};
      }
    }
  }

  void Disc(double cx, double cy, double radius, const Rgb& colour) {
    Paint(colour, [=](double x, double y) { return radius + 0.5 - std::hypot(x - cx, y - cy); });
  }

  void Line(double x0, double y0, double x1, double y1, double width, const Rgb& colour) {
    Paint(colour, [=](double x, double y) {
      const double dx = x1 - x0, dy = y1 - y0;
      const double t = std::clamp(((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
      return width / 2 + 0.5 - std::hypot(x - (x0 + t * dx), y - (y0 + t * dy));
    });
  }

  std::vector<unsigned char> Bytes() const {
    std::vector<unsigned char> bytes;
    for (const Rgb& p : pixels_) {
      for (double c : {p.r, p.g, p.b}) bytes.push_back(static_cast<unsigned char>(std::lround(c)));
    }
    return bytes;
  }

 private:
  std::vector<Rgb> pixels_;
};

void Draw(Canvas& canvas) {
  const Rgb left{40, 90, 200}, right{200, 60, 50}, soma{30, 120, 60}, axon{60, 60, 60};
  const double somaX = kWidth / 2.0, somaY = 215;
  for (int i = 0; i < 12; ++i) {
    const double y = 40 + 7.5 * i;
    const double bump = 1.0 - std::abs(i - 5.5) / 6.0;  // inputs near the eye's centre weigh more
    canvas.Line(30, y, somaX - 8, somaY - 20, 1.0 + 2.5 * bump, left);
    canvas.Line(kWidth - 30, y, somaX + 8, somaY - 20, 1.0 + 2.5 * bump, right);
    canvas.Disc(30, y, 3.2, left);
    canvas.Disc(kWidth - 30, y, 3.2, right);
  }
  canvas.Disc(30, 23, 11, left);
  canvas.Disc(kWidth - 30, 23, 11, right);
  canvas.Line(somaX, somaY, somaX, kHeight - 40, 5, axon);
  canvas.Line(somaX, kHeight - 40, somaX - 22, kHeight - 18, 3, axon);
  canvas.Line(somaX, kHeight - 40, somaX + 22, kHeight - 18, 3, axon);
  canvas.Disc(somaX, somaY, 30, soma);
  canvas.Disc(somaX - 9, somaY - 9, 8, {90, 180, 110});
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_picture OUTPUT.jpg\n");
    return 2;
  }
  Canvas canvas;
  Draw(canvas);
  std::vector<unsigned char> rgb = canvas.Bytes();

  std::FILE* out = std::fopen(argv[1], "wb");
  if (out == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, out);
  info.image_width = kWidth;
  info.image_height = kHeight;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);  // YCbCr with the luminance sampled 2 x 2, JFIF header, baseline
  jpeg_set_quality(&info, 90, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = &rgb[static_cast<std::size_t>(info.next_scanline) * kWidth * 3];
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return std::fclose(out) == 0 ? 0 : 1;
}
