#pragma once

#include <QPointF>
#include <QString>
#include <memory>

#include "AxisTicks.h"
#include "ChartStyle.h"
#include "FigureLayout.h"
#include "SummaryPlot.h"

class FigureLegend;
class QGraphicsScene;

// An ensemble's summary: a panel per check side by side over one value scale, each combination's
// means as points with error bars joined by a line in its colour (colour-blind safe), or, without
// an x parameter, a strip of every unit's value beside the mean. Drawn as plain items of our own,
// whose few shapes a reader of the SVG can take apart.
class SummaryFigure {
 public:
  SummaryFigure(double width, double height);
  ~SummaryFigure();
  SummaryFigure(const SummaryFigure&) = delete;
  SummaryFigure& operator=(const SummaryFigure&) = delete;

  void Show(const SummaryPlot& plot);
  QGraphicsScene& Scene() const { return *scene_; }

 private:
  struct Scales {
    AxisScale x, y;
  };
  Scales ScalesOf(const SummaryPlot& plot) const;
  void DrawPanel(const SummaryPanel& panel, const Box& box, const Scales& scales, bool strip,
                 bool valueLabels);
  void DrawFrame(const SummaryPanel& panel, const Box& box, const Scales& scales, bool strip,
                 bool valueLabels);
  void DrawLine(const SummaryLine& line, std::size_t colour, const Box& box, const Scales& scales,
                bool strip, double dodge);
  void Text(const QString& text, double size, QPointF anchor, Qt::Alignment align,
            const QColor& colour = ChartStyle::Text());

  std::unique_ptr<QGraphicsScene> scene_;
  double width_, height_;
  ChartStyle style_;
  std::unique_ptr<FigureLegend> legend_;
};
