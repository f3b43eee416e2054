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

QColor ChartStyle::GroupColour(std::size_t group) {
  static constexpr std::array<QRgb, 8> kColours = {0x1b9e77, 0xd95f02, 0x7570b3, 0xe7298a,
                                                   0x66a61e, 0xe6ab02, 0xa6761d, 0x4d4d4d};
  return QColor(kColours[group % kColours.size()]);
}
