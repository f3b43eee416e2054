#include "Panel.h"

#include <QAreaSeries>
#include <QChart>
#include <QFontMetricsF>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QLegend>
#include <QLineSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <utility>

#include "Events.h"

namespace {
// Qt lays an axis's ticks out as soon as its range changes, with the interval it has then: the
// fine interval of a narrow range would cut a wide new range into millions of ticks, or into
// more than it could ever count. An interval as wide as either range leaves at most two ticks on
// both, so it goes in first.
void SetFormat(QValueAxis& axis, const AxisScale& scale, const char* labelPrefix = "",
               const char* labelSuffix = "") {
  axis.setTickInterval(std::max(axis.max() - axis.min(), scale.high - scale.low));
  axis.setRange(scale.low, scale.high);
  axis.setTickInterval(scale.tickInterval);
  axis.setLabelFormat(QString("%1%.%2%3%4")
                          .arg(labelPrefix)
                          .arg(scale.decimals)
                          .arg(scale.scientific ? 'e' : 'f')
                          .arg(labelSuffix));
}

// Qt sizes a value axis by its widest label but keeps the width of "..." for the labels beside
// its title, so labels of a single digit would cost a two-line title its second line. A no-break
// space before each makes up the width; the labels are right-aligned, so none of them moves.
// The scale with ticks far enough apart for labels taking label pixels each along room pixels:
// Qt cuts a label that has too little room to "...". Round intervals stay round: 1, 2, 5, 10.
AxisScale LabelledApart(AxisScale scale, double label, double room) {
  const auto ticks = [&] { return (scale.high - scale.low) / scale.tickInterval; };
  while (room > 0 && ticks() > 1 && ticks() * label > room) {
    const double power = std::pow(10.0, std::floor(std::log10(scale.tickInterval) + 1e-9));
    const double mantissa = scale.tickInterval / power;
    scale.tickInterval = (mantissa < 1.5 ? 2 : mantissa < 3.5 ? 5 : 10) * power;
  }
  return scale;
}

const char* ValueLabelPrefix(const AxisScale& scale) {
  const bool singleDigits = scale.decimals == 0 && scale.low > -1.0 && scale.high < 10.0;
  return singleDigits ? "&nbsp;" : "";
}
}  // namespace

QList<QPointF> ToQt(const std::vector<PlotPoint>& points) {
  QList<QPointF> converted;
  converted.reserve(static_cast<qsizetype>(points.size()));
  for (const PlotPoint& point : points) converted.append({point.x, point.y});
  return converted;
}

Panel::Panel(QGraphicsScene& scene, const ChartStyle& style, std::vector<QString> valueTitles)
    : scene_(scene), style_(style), valueTitles_(std::move(valueTitles)), chart_(new QChart) {
  scene.addItem(chart_);
  chart_->setBackgroundVisible(false);
  chart_->setBackgroundRoundness(0);
  chart_->setMargins({0, 0, 0, 0});
  // Qt draws a plot area's background where its own layout would put the plot, not in the plot
  // area the figure sets, so it would cover the panels above; the figure's white shows instead.
  chart_->setPlotAreaBackgroundVisible(false);
  chart_->legend()->hide();  // the figure has one key for all panels
  steps_ = MakeAxis(Qt::AlignBottom, "");
  values_ = MakeAxis(Qt::AlignLeft, valueTitles_.front());
  leftClosed_ = AddClosedBand(Eye::Left);
  rightClosed_ = AddClosedBand(Eye::Right);
}

QValueAxis* Panel::MakeAxis(Qt::Alignment side, const QString& title) {
  auto* axis = new QValueAxis;
  axis->setTitleText(title);
  axis->setTitleFont(style_.Font(14));
  axis->setTitleBrush(ChartStyle::Text());
  axis->setLabelsFont(style_.Font(13));
  axis->setLabelsColor(ChartStyle::QuietText());
  axis->setGridLineColor(ChartStyle::Grid());
  axis->setLinePen(QPen(ChartStyle::Frame(), style_.Pixels(1)));
  axis->setMinorTickCount(0);
  // Ticks at round values from 0. The interval goes in before the type, as Qt would count ticks
  // 0 apart forever.
  axis->setRange(0.0, 1.0);
  axis->setTickInterval(1.0);
  axis->setTickType(QValueAxis::TicksDynamic);
  axis->setTickAnchor(0.0);
  chart_->addAxis(axis, side);
  return axis;
}

void Panel::Attach(QAbstractSeries* series) {
  chart_->addSeries(series);
  series->attachAxis(steps_);
  series->attachAxis(values_);
}

QLineSeries* Panel::AddLine(const QPen& pen) {
  auto* line = new QLineSeries;
  line->setPen(pen);
  Attach(line);
  return line;
}

QAreaSeries* Panel::AddArea(const QColor& fill) {
  auto* area = new QAreaSeries;
  area->setUpperSeries(new QLineSeries(area));
  area->setLowerSeries(new QLineSeries(area));
  area->setBrush(fill);
  area->setPen(Qt::NoPen);
  Attach(area);
  return area;
}

PlotPath& Panel::AddPath(const QPen& pen, const QBrush& fill) {
  paths_.push_back(std::make_unique<PlotPath>(scene_, pen, fill));
  paths_.back()->Map(plot_, stepScale_, valueScale_);
  return *paths_.back();
}

void Panel::MapPaths() {
  for (const auto& path : paths_) path->Map(plot_, stepScale_, valueScale_);
}

QAreaSeries* Panel::AddClosedBand(Eye eye) {
  return AddArea(ChartStyle::ClosedBand(eye));
}

// The chart reaches from the figure's corner to past its plot area, so that the axes' labels and
// titles around a plot area set by hand fall inside it.
void Panel::Place(const Box& plotArea) {
  chart_->setGeometry(0, 0, plotArea.Right() + style_.Pixels(40),
                      plotArea.Bottom() + style_.Pixels(80));
  chart_->setPlotArea({plotArea.left, plotArea.top, plotArea.width, plotArea.height});
  values_->setTitleText(TitleFitting(plotArea.height));
  plot_ = plotArea;
  SetSteps(stepScale_, steps_->titleText());
  SetValues(valueScale_);
}

// Qt turns the value axis's title upright beside the plot and cuts every line longer than the
// plot is high to "...": a panel too low for every title goes without one.
QString Panel::TitleFitting(double plotHeight) const {
  const QFontMetricsF metrics(values_->titleFont());
  const auto fits = [&](const QString& title) {
    const QStringList lines = title.split("<br>");
    return std::all_of(lines.begin(), lines.end(), [&](const QString& line) {
      return metrics.horizontalAdvance(line) + style_.Pixels(4) <= plotHeight;
    });
  };
  const auto fitting = std::find_if(valueTitles_.begin(), valueTitles_.end(), fits);
  return fitting == valueTitles_.end() ? "" : *fitting;  // whole or not at all
}

void Panel::SetSteps(const AxisScale& steps, const QString& title) {
  stepScale_ = steps;
  const QFontMetricsF metrics(steps_->labelsFont());
  const double label = metrics.horizontalAdvance(QString::number(steps.high, 'f', steps.decimals)) +
                       metrics.height();
  SetFormat(*steps_, LabelledApart(steps, label, plot_.width));
  steps_->setLabelsVisible(!title.isEmpty());
  steps_->setTitleText(title);
  steps_->setTitleVisible(!title.isEmpty());
  MapPaths();
}

void Panel::SetValues(const AxisScale& values) {
  valueScale_ = values;
  const AxisScale apart =
      LabelledApart(values, QFontMetricsF(values_->labelsFont()).height(), plot_.height);
  // Qt keeps a value label the same few pixels from its axis at any size: in a large figure the
  // label runs into the tick. A space after it grows with the font.
  SetFormat(*values_, apart, ValueLabelPrefix(apart), style_.Pixels(1) > 1.5 ? "&nbsp;" : "");
  MapPaths();
}

// The labels are made clear rather than hidden: Qt would give their room to nothing, and cut the
// titles to fit what is left.
void Panel::ShowTicks(bool shown) {
  const QColor labels = shown ? ChartStyle::QuietText() : QColor(Qt::transparent);
  for (QValueAxis* axis : {steps_, values_}) {
    axis->setGridLineVisible(shown);
    axis->setLabelsColor(labels);
  }
}

void Panel::ShowEvents(const SessionEvents& events, double stepsPerUnit) {
  ShowClosures(events.closures, Eye::Left, stepsPerUnit);
  ShowClosures(events.closures, Eye::Right, stepsPerUnit);
  ShowMarks(resetLines_, style_.ResetLine(), events.resets, stepsPerUnit);
  ShowMarks(loadLines_, style_.LoadLine(), events.loads, stepsPerUnit);
}

// All bands of an eye are one area whose outline runs along the bottom of the scale from one band
// to the next, enclosing nothing there. Everything stays inside the scale: an SVG file keeps no
// clipping.
void Panel::ShowClosures(const std::vector<EyeClosure>& closures, Eye eye, double stepsPerUnit) {
  const double low = values_->min(), high = values_->max();
  QList<QPointF> edges, base;
  for (const EyeClosure& closure : JoinedClosures(closures, eye)) {
    const double from = static_cast<double>(closure.fromSteps) / stepsPerUnit;
    const double to = static_cast<double>(closure.toSteps) / stepsPerUnit;
    edges.append({{from, low}, {from, high}, {to, high}, {to, low}});
  }
  if (!edges.isEmpty()) base = {edges.front(), edges.back()};
  QAreaSeries* band = eye == Eye::Left ? leftClosed_ : rightClosed_;
  band->upperSeries()->replace(edges);
  band->lowerSeries()->replace(base);
}

// One series per line, made as more resets come: a single series would join the lines along the
// frame.
void Panel::ShowMarks(std::vector<QLineSeries*>& lines, const QPen& pen,
                      const std::vector<std::int64_t>& marks, double stepsPerUnit) {
  while (lines.size() < marks.size()) lines.push_back(AddLine(pen));
  for (std::size_t i = 0; i < lines.size(); ++i) {
    QList<QPointF> line;
    if (i < marks.size()) {
      const double x = static_cast<double>(marks[i]) / stepsPerUnit;
      line = {{x, values_->min()}, {x, values_->max()}};
    }
    lines[i]->replace(line);
  }
}

void Panel::Settle() const {
  if (QGraphicsLayout* layout = chart_->layout()) layout->activate();
}

QPointF Panel::PositionOf(QPointF value) const {
  return chart_->mapToPosition(value, leftClosed_);
}
