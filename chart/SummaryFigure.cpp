#include "SummaryFigure.h"

#include <QBrush>
#include <QGraphicsEllipseItem>
#include <QGraphicsLineItem>
#include <QGraphicsPathItem>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QPainterPath>
#include <array>
#include <cmath>

#include "FigureLegend.h"

namespace {
// Room at scale 1, in pixels: the value labels and title on the left; the panels' titles above;
// the x labels, the x title and the caption below.
constexpr double kLeft = 84, kRight = 24, kTitle = 30, kBottom = 92, kGap = 26;
constexpr double kMarker = 4.5, kStripMarker = 3.0, kCap = 5.0, kDodge = 7.0;
// A strip's values spread over this share of the space between two strips.
constexpr double kStripWidth = 0.5;

// Okabe and Ito's colours that read on white, each told apart by every common colour vision.
QColor SafeColour(std::size_t index) {
  static constexpr std::array<QRgb, 7> kColours = {0x0072b2, 0xd55e00, 0x009e73, 0xcc79a7,
                                                   0xe69f00, 0x56b4e9, 0x000000};
  return QColor(kColours[index % kColours.size()]);
}

QString Label(double value, const AxisScale& scale) {
  return scale.scientific ? QString::number(value, 'g', 3)
                          : QString::number(value, 'f', scale.decimals);
}

std::vector<double> Ticks(const AxisScale& scale) {
  // Counted in whole intervals, so no rounding error piles up from one tick to the next.
  std::vector<double> ticks;
  const auto first = static_cast<long long>(std::ceil(scale.low / scale.tickInterval - 1e-9));
  const auto last = static_cast<long long>(std::floor(scale.high / scale.tickInterval + 1e-9));
  for (long long k = first; k <= last; ++k) {
    ticks.push_back(static_cast<double>(k) * scale.tickInterval);
  }
  return ticks;
}

double Along(double value, const AxisScale& scale) {
  return (value - scale.low) / (scale.high - scale.low);
}

// Where in a strip a unit's value goes: spread evenly and the same every time.
double StripOffset(std::size_t unit) {
  const double golden = 0.6180339887498949;
  return (std::fmod(static_cast<double>(unit) * golden, 1.0) - 0.5) * kStripWidth;
}
}  // namespace

SummaryFigure::SummaryFigure(double width, double height)
    : scene_(std::make_unique<QGraphicsScene>(0, 0, width, height)),
      width_(width),
      height_(height),
      style_(FigureScale(width, height)),
      legend_(std::make_unique<FigureLegend>(*scene_, style_)) {
  scene_->setBackgroundBrush(Qt::white);
}

SummaryFigure::~SummaryFigure() = default;

SummaryFigure::Scales SummaryFigure::ScalesOf(const SummaryPlot& plot) const {
  Extent x, y;
  y.Include(-1.0);
  y.Include(1.0);
  for (const SummaryPanel& panel : plot.panels) {
    for (const SummaryLine& line : panel.lines) {
      for (const SummaryPoint& point : line.points) {
        x.Include(point.x);
        y.Include(point.mean - point.error);
        y.Include(point.mean + point.error);
        for (const double value : point.values) y.Include(value);
      }
    }
  }
  const double lines = static_cast<double>(plot.lineLabels.size());
  if (plot.xTitle.empty()) return {ExactScale(-0.5, lines - 0.5, 1), ExactScale(y.low, y.high, 4)};
  const double room = 0.08 * (x.high - x.low);
  return {ExactScale(x.low - room, x.high + room, 4), ExactScale(y.low, y.high, 4)};
}

void SummaryFigure::Show(const SummaryPlot& plot) {
  const double s = style_.Pixels(1.0);
  std::vector<LegendEntry> key;
  for (std::size_t i = 0; i < plot.lineLabels.size(); ++i) {
    const std::string& label = plot.lineLabels[i];
    key.push_back({QString::fromStdString(label.empty() ? "all units" : label),
                   style_.Line(SafeColour(i), 2.0)});
  }
  const double legend = legend_->Show(key, {14 * s, 4 * s, width_ - 28 * s, 30 * s});
  const double top = 4 * s + std::max(legend, 30 * s) + kTitle * s;
  const auto panels = static_cast<double>(std::max<std::size_t>(plot.panels.size(), 1));
  const double panelWidth =
      std::max((width_ - (kLeft + kRight) * s - kGap * s * (panels - 1)) / panels, 1.0);
  const double panelHeight = std::max(height_ - top - kBottom * s, 1.0);
  const Scales scales = ScalesOf(plot);
  const bool strip = plot.xTitle.empty();
  for (std::size_t i = 0; i < plot.panels.size(); ++i) {
    const Box box{kLeft * s + static_cast<double>(i) * (panelWidth + kGap * s), top, panelWidth,
                  panelHeight};
    DrawPanel(plot.panels[i], box, scales, strip, i == 0);
  }
  const double plotsRight = width_ - kRight * s;
  if (!strip) {
    Text(QString::fromStdString(plot.xTitle), 15,
         {(kLeft * s + plotsRight) / 2, top + panelHeight + 26 * s},
         Qt::AlignHCenter | Qt::AlignTop);
  }
  auto* title = new QGraphicsSimpleTextItem(QString::fromStdString(plot.valueTitle));
  title->setFont(style_.Font(15));
  title->setBrush(ChartStyle::Text());
  title->setRotation(-90);
  const QRectF bounds = title->boundingRect();
  title->setPos(18 * s - bounds.height() / 2, top + panelHeight / 2 + bounds.width() / 2);
  scene_->addItem(title);
  Text(QString::fromStdString(plot.caption), 13, {14 * s, height_ - 8 * s},
       Qt::AlignLeft | Qt::AlignBottom, ChartStyle::QuietText());
}

void SummaryFigure::DrawPanel(const SummaryPanel& panel, const Box& box, const Scales& scales,
                              bool strip, bool valueLabels) {
  DrawFrame(panel, box, scales, strip, valueLabels);
  const double lines = static_cast<double>(panel.lines.size());
  for (std::size_t i = 0; i < panel.lines.size(); ++i) {
    // Lines side by side at one x, so that no bar hides another.
    const double dodge = strip ? 0.0 : (static_cast<double>(i) - (lines - 1) / 2) * kDodge;
    DrawLine(panel.lines[i], i, box, scales, strip, style_.Pixels(dodge));
  }
}

void SummaryFigure::DrawFrame(const SummaryPanel& panel, const Box& box, const Scales& scales,
                              bool strip, bool valueLabels) {
  const double s = style_.Pixels(1.0);
  const QPen grid(ChartStyle::Grid(), style_.Pixels(1.0));
  for (const double tick : Ticks(scales.y)) {
    const double y = box.Bottom() - Along(tick, scales.y) * box.height;
    scene_->addLine(box.left, y, box.Right(), y, grid);
    if (valueLabels)
      Text(Label(tick, scales.y), 13, {box.left - 6 * s, y}, Qt::AlignRight | Qt::AlignVCenter);
  }
  if (!strip) {
    for (const double tick : Ticks(scales.x)) {
      const double x = box.left + Along(tick, scales.x) * box.width;
      scene_->addLine(x, box.top, x, box.Bottom(), grid);
      Text(Label(tick, scales.x), 13, {x, box.Bottom() + 5 * s}, Qt::AlignHCenter | Qt::AlignTop);
    }
  }
  scene_->addRect(box.left, box.top, box.width, box.height, QPen(ChartStyle::Frame(), s));
  const QString title = QString::fromStdString(panel.check);
  Text(title.front().isDigit() ? "check " + title : title, 15,
       {box.left + box.width / 2, box.top - 6 * s}, Qt::AlignHCenter | Qt::AlignBottom);
}

void SummaryFigure::DrawLine(const SummaryLine& line, std::size_t colour, const Box& box,
                             const Scales& scales, bool strip, double dodge) {
  const QColor ink = SafeColour(colour);
  const QPen pen = style_.Line(ink, 2.0);
  const auto at = [&](double x, double value) {
    return QPointF(box.left + Along(x, scales.x) * box.width + dodge,
                   box.Bottom() - Along(value, scales.y) * box.height);
  };
  QPainterPath path;
  for (const SummaryPoint& point : line.points) {
    const double x = strip ? static_cast<double>(colour) : point.x;
    const QPointF centre = at(x, point.mean);
    if (path.elementCount() == 0) {
      path.moveTo(centre);
    } else {
      path.lineTo(centre);
    }
    if (strip) {
      const double r = style_.Pixels(kStripMarker);
      for (std::size_t unit = 0; unit < point.values.size(); ++unit) {
        const QPointF value = at(x + StripOffset(unit), point.values[unit]);
        scene_->addEllipse(value.x() - r, value.y() - r, 2 * r, 2 * r, style_.Line(ink, 1.0));
      }
    }
    if (point.error > 0.0) {
      const QPointF low = at(x, point.mean - point.error), high = at(x, point.mean + point.error);
      const double cap = style_.Pixels(kCap);
      scene_->addLine(QLineF(low, high), pen);
      scene_->addLine(low.x() - cap, low.y(), low.x() + cap, low.y(), pen);
      scene_->addLine(high.x() - cap, high.y(), high.x() + cap, high.y(), pen);
    }
    const double r = style_.Pixels(kMarker);
    scene_->addEllipse(centre.x() - r, centre.y() - r, 2 * r, 2 * r, pen, QBrush(ink));
  }
  if (!strip && line.points.size() > 1) scene_->addPath(path, pen);
}

void SummaryFigure::Text(const QString& text, double size, QPointF anchor, Qt::Alignment align,
                         const QColor& colour) {
  auto* item = scene_->addSimpleText(text, style_.Font(size));
  item->setBrush(colour);
  const QRectF bounds = item->boundingRect();
  const double x = align & Qt::AlignHCenter ? anchor.x() - bounds.width() / 2
                   : align & Qt::AlignRight ? anchor.x() - bounds.width()
                                            : anchor.x();
  const double y = align & Qt::AlignVCenter  ? anchor.y() - bounds.height() / 2
                   : align & Qt::AlignBottom ? anchor.y() - bounds.height()
                                             : anchor.y();
  item->setPos(x, y);
}
