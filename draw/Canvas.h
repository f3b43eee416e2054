#pragma once

#include <functional>

#include "Bitmap.h"

// Pixel-exact drawing on a bitmap. A rectangle covers columns x1..x2-1 and rows y1..y2-1 (corners
// in any order), its one-pixel outline in the pen colour and its inside in the brush colour; a
// line leaves out its end point. Everything is clipped to the bitmap, and any int coordinates are
// safe.
//
// A drawing that covers the whole bitmap may be deferred: it runs before anything else touches or
// reads the canvas, so a window that redraws far faster than the screen refreshes rasterises only
// what is shown, and every reader still sees each operation in order.
class TCanvas {
 public:
  explicit TCanvas(Bitmap& target) : target_(target) {}

  void SetBrushColor(TColor color);
  void SetPenColor(TColor color);
  // Called after every drawing operation, so a window can schedule a repaint.
  std::function<void()> OnChange;

  // Replaces any pending drawing with this one, which must paint every pixel.
  void DrawLater(std::function<void(TCanvas&)> drawing);
  // Runs the pending drawing, if any; readers of the bitmap call it first.
  void Flush();

  int Width() const { return target_.Width(); }
  int Height() const { return target_.Height(); }

  void Rectangle(int x1, int y1, int x2, int y2);
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  // Copies picture with its top-left corner at (x, y).
  void Draw(int x, int y, const Bitmap& picture);

 private:
  void Fill(long long left, long long top, long long right, long long bottom, TColor color);
  void Plot(long long x, long long y, TColor color);
  void Changed();

  Bitmap& target_;
  std::function<void(TCanvas&)> pending_;
  TColor brushColor_ = clWhite;
  TColor penColor_ = clBlack;
  int penX_ = 0;
  int penY_ = 0;
};
