#pragma once

#include <QList>
#include <QPointF>
#include <QString>
#include <memory>
#include <vector>

#include "AxisTicks.h"
#include "ChartStyle.h"
#include "ColumnDecimation.h"
#include "Course.h"
#include "FigureLayout.h"
#include "PlotPath.h"

class QAbstractSeries;
class QAreaSeries;
class QChart;
class QGraphicsScene;
class QLineSeries;
class QValueAxis;

// One of a figure's stacked panels: a chart of one kind of value over the figure's step axis,
// with the closed-eye bands and the reset lines behind its data. Its plot area is placed by the
// figure, so that all panels line up.
class Panel {
 public:
  // The value axis takes the first of the titles that fits beside the plot whole (a title of
  // lines split by <br>); the last one if none does.
  Panel(QGraphicsScene& scene, const ChartStyle& style, std::vector<QString> valueTitles);
  Panel(const Panel&) = delete;
  Panel& operator=(const Panel&) = delete;

  // Series are drawn in the order they are added, over the bands.
  QLineSeries* AddLine(const QPen& pen);
  QAreaSeries* AddArea(const QColor& fill);
  // Drawn over every series, in the order added, and kept on the plot area as it moves.
  PlotPath& AddPath(const QPen& pen, const QBrush& fill = Qt::NoBrush);

  void Place(const Box& plotArea);
  // An empty title leaves the step labels off: only the lowest panel carries them.
  void SetSteps(const AxisScale& steps, const QString& title);
  void SetValues(const AxisScale& values);
  // The bands and lines span the value scale, so set it first.
  void ShowEvents(const SessionEvents& events, double stepsPerUnit);
  // Tick labels and grid lines, or an empty frame.
  void ShowTicks(bool shown);

  // Lays the chart out now rather than when the event loop next runs: a figure drawn to a file,
  // or labelled where its data is drawn, cannot wait for that.
  void Settle() const;
  QPointF PositionOf(QPointF value) const;

 private:
  QValueAxis* MakeAxis(Qt::Alignment side, const QString& title);
  QString TitleFitting(double plotHeight) const;
  void Attach(QAbstractSeries* series);
  void MapPaths();
  QAreaSeries* AddClosedBand(Eye eye);
  void ShowClosures(const std::vector<EyeClosure>& closures, Eye eye, double stepsPerUnit);
  void ShowMarks(std::vector<QLineSeries*>& lines, const QPen& pen,
                 const std::vector<std::int64_t>& marks, double stepsPerUnit);

  QGraphicsScene& scene_;
  const ChartStyle& style_;
  std::vector<QString> valueTitles_;
  QChart* chart_;
  QValueAxis* steps_;
  QValueAxis* values_;
  QAreaSeries* leftClosed_;
  QAreaSeries* rightClosed_;
  std::vector<QLineSeries*> resetLines_;
  std::vector<QLineSeries*> loadLines_;
  std::vector<std::unique_ptr<PlotPath>> paths_;
  // As last set, for placing the ticks anew when the plot area changes.
  AxisScale stepScale_, valueScale_;
  Box plot_;
};

QList<QPointF> ToQt(const std::vector<PlotPoint>& points);
