#include "ChartStyle.h"

#include <array>
#include <cmath>

QFont ChartStyle::Font(double pixelsAtScaleOne, bool bold) const {
  QFont font("Liberation Sans");
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(std::max(7, static_cast<int>(std::lround(pixelsAtScaleOne * scale_))));
  font.setBold(bold);
  return font;
}

QPen ChartStyle::Line(const QColor& colour, double widthAtScaleOne, Qt::PenStyle style) const {
  QPen pen(colour);
  pen.setWidthF(Pixels(widthAtScaleOne));
  pen.setStyle(style);
  pen.setCapStyle(Qt::FlatCap);
  pen.setJoinStyle(Qt::RoundJoin);
  return pen;
}

QColor ChartStyle::EyeColour(Eye eye) {
  return eye == Eye::Left ? QColor(31, 99, 196) : QColor(214, 39, 40);
}

QColor ChartStyle::ClosedBand(Eye eye) {
  // Translucent, so that both eyes closed at once shows as both washes over each other.
  QColor colour = EyeColour(eye);
  colour.setAlpha(38);
  return colour;
}

QColor ChartStyle::BothClosedBand() {
  int rgb[3] = {255, 255, 255};
  for (const Eye eye : {Eye::Left, Eye::Right}) {
    const QColor wash = ClosedBand(eye);
    const int channels[3] = {wash.red(), wash.green(), wash.blue()};
    for (int i = 0; i < 3; ++i) rgb[i] += (channels[i] - rgb[i]) * wash.alpha() / 255;
  }
  return {rgb[0], rgb[1], rgb[2]};
}

QColor ChartStyle::ClosedLabel(Eye eye) {
  return EyeColour(eye).darker(135);
}

// Okabe and Ito's colours, which readers with any common colour blindness tell apart, the darkest
// first, since most figures have few groups. Their yellow is left out: a line of it on white is
// hardly seen.
QColor ChartStyle::GroupColour(std::size_t group) {
  static constexpr std::array<QRgb, 7> kColours = {0x0072b2, 0xd55e00, 0x009e73, 0xcc79a7,
                                                   0xe69f00, 0x56b4e9, 0x000000};
  return QColor(kColours[group % kColours.size()]);
}
