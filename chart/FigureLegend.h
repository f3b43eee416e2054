#pragma once

#include <QBrush>
#include <QPen>
#include <QString>
#include <vector>

#include "FigureLayout.h"

class QChart;
class QGraphicsScene;

// One entry of the key: a line (drawn with its pen) or a patch (filled with its brush).
struct LegendEntry {
  QString name;
  QPen pen;
  QBrush patch = Qt::NoBrush;

  bool operator==(const LegendEntry&) const = default;
};

// The figure's key above the panels, listing only what the figure shows, in reading order. A
// chart of its own draws it, so that neither the panels' drawing order nor their hidden series
// decide what it lists.
class FigureLegend {
 public:
  FigureLegend(QGraphicsScene& scene, const QFont& font);
  FigureLegend(const FigureLegend&) = delete;
  FigureLegend& operator=(const FigureLegend&) = delete;

  void Place(const Box& box);
  // Cheap when the entries are those already shown.
  void Show(const std::vector<LegendEntry>& entries);

 private:
  QChart* chart_;
  std::vector<LegendEntry> shown_;
};
