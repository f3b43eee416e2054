#include "WeightView.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <string>

#include "Bcm.h"
#include "Canvas.h"
#include "WeightPlot.h"

namespace {
// "weight 1 = 34 px, θ 10 = 34 px" in dark grey on white, as wide as the text needs.
Bitmap ScaleNote(int pixelsPerUnit) {
  const QString text = QString("weight 1 = %1 px, \u03b8 10 = %1 px").arg(pixelsPerUnit);
  QFont font("Sans Serif");
  font.setPixelSize(kFittedTop - 2);
  const int width = QFontMetrics(font).horizontalAdvance(text) + 2;
  QImage image(width, kFittedTop, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setFont(font);
  painter.setPen(QColor(64, 64, 64));
  painter.drawText(image.rect(), Qt::AlignLeft | Qt::AlignVCenter, text);
  painter.end();
  Bitmap note(width, kFittedTop);
  for (int y = 0; y < note.Height(); ++y) {
    for (int x = 0; x < note.Width(); ++x) note.At(x, y) = image.pixel(x, y) | 0xFF000000U;
  }
  return note;
}
}  // namespace

int WeightView::PixelsPerUnit(const BCMNeuron& shown) const {
  return fitted_ ? FittedPixelsPerUnit(shown.Weights(), shown.Theta()) : kClassicPixelsPerUnit;
}

void WeightView::Show(const BCMNeuron& shown, TCanvas& canvas) const {
  if (!fitted_) {
    DeferWeightPlot(shown, canvas);
    return;
  }
  canvas.DrawLater([weights = shown.Weights(), theta = shown.Theta()](TCanvas& drawn) {
    const int scale = FittedPixelsPerUnit(weights, theta);
    DrawWeightPlot(weights, theta, drawn, scale);
    drawn.Draw(2, 0, ScaleNote(scale));
  });
}
