#include "FigureLegend.h"

#include <QAreaSeries>
#include <QChart>
#include <QGraphicsScene>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>

#include "ChartStyle.h"

namespace {
QAbstractSeries* SeriesFor(const LegendEntry& entry) {
  if (entry.patch.style() == Qt::NoBrush) {
    auto* line = new QLineSeries;
    line->setPen(entry.pen);
    return line;
  }
  auto* area = new QAreaSeries;
  area->setUpperSeries(new QLineSeries(area));
  area->setBrush(entry.patch);
  area->setPen(entry.pen);
  return area;
}
}  // namespace

FigureLegend::FigureLegend(QGraphicsScene& scene, const QFont& font) : chart_(new QChart) {
  scene.addItem(chart_);
  chart_->setBackgroundVisible(false);
  chart_->setMargins({0, 0, 0, 0});
  QLegend& legend = *chart_->legend();
  legend.setAlignment(Qt::AlignTop);
  legend.setFont(font);
  legend.setLabelColor(ChartStyle::Text());
  legend.setMarkerShape(QLegend::MarkerShapeFromSeries);
}

void FigureLegend::Place(const Box& box) {
  chart_->setGeometry(box.left, box.top, box.width, box.height);
}

void FigureLegend::Show(const std::vector<LegendEntry>& entries) {
  if (entries == shown_) return;
  chart_->removeAllSeries();
  for (const LegendEntry& entry : entries) {
    QAbstractSeries* series = SeriesFor(entry);
    series->setName(entry.name);
    chart_->addSeries(series);
    if (entry.patch.style() != Qt::NoBrush) {
      for (QLegendMarker* marker : chart_->legend()->markers(series)) {
        marker->setShape(QLegend::MarkerShapeRectangle);
      }
    }
  }
  shown_ = entries;
}
