#pragma once

#include <QColor>
#include <QFont>
#include <QPen>

#include "Course.h"

// The figure's look in one place. Blue is the left eye and red the right throughout, so that a
// glance tells which eye gains and which loses; a closed eye's band is a pale wash of its colour.
class ChartStyle {
 public:
  explicit ChartStyle(double scale) : scale_(scale) {}

  double Pixels(double atScaleOne) const { return atScaleOne * scale_; }
  QFont Font(double pixelsAtScaleOne, bool bold = false) const;
  QPen Line(const QColor& colour, double widthAtScaleOne = 2.0,
            Qt::PenStyle style = Qt::SolidLine) const;
  QPen ResetLine() const { return Line(Reset(), 1.5, Qt::DashLine); }
  QPen LoadLine() const { return Line(Loaded(), 2, Qt::DashDotLine); }

  static QColor EyeColour(Eye eye);
  static QColor ClosedBand(Eye eye);
  static QColor ClosedLabel(Eye eye);
  static QColor Threshold() { return {40, 40, 40}; }
  static QColor Dominance() { return {106, 61, 154}; }
  static QColor Reset() { return {90, 90, 90}; }
  static QColor Loaded() { return {0, 128, 112}; }
  // Both eyes' washes over each other, as the bands show where both eyes were closed.
  static QColor BothClosedBand();
  static QColor Grid() { return {228, 228, 228}; }
  static QColor Frame() { return {160, 160, 160}; }
  static QColor Text() { return {40, 40, 40}; }
  static QColor QuietText() { return {105, 105, 105}; }

  // Distinct colours for ensemble groups, safe for colour-blind readers; they repeat after the
  // first seven.
  static QColor GroupColour(std::size_t group);

 private:
  double scale_;
};
