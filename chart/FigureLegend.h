#pragma once

#include <QBrush>
#include <QPen>
#include <QString>
#include <vector>

#include "ChartStyle.h"
#include "FigureLayout.h"

class QGraphicsRectItem;
class QGraphicsScene;

// One entry of the key: a line (drawn with its pen) or a patch (filled with its brush).
struct LegendEntry {
  QString name;
  QPen pen;
  QBrush patch = Qt::NoBrush;

  bool operator==(const LegendEntry&) const = default;
};

// The figure's key above the panels, listing only what the figure shows, in reading order: rows
// of entries centred across the figure, as many rows as the entries need, so that every name is
// shown whole at any size. Drawn as plain items of our own: Qt's legend cut names down to nothing
// in a large figure.
class FigureLegend {
 public:
  FigureLegend(QGraphicsScene& scene, const ChartStyle& style);
  FigureLegend(const FigureLegend&) = delete;
  FigureLegend& operator=(const FigureLegend&) = delete;

  // Lays the entries out in rows centred in box; returns the height the rows take, which may be
  // more than the box's.
  double Show(const std::vector<LegendEntry>& entries, const Box& box);

 private:
  const ChartStyle& style_;
  QGraphicsRectItem* root_;  // holds every item of the key
};
