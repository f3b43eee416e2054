#include "FigureLegend.h"

#include <QFontMetricsF>
#include <QGraphicsLineItem>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <algorithm>

namespace {
// An entry's marker and words, laid out from x 0; returns its width.
double AddEntry(QGraphicsItem& row, const LegendEntry& entry, const QFont& font, double x,
                double lineHeight) {
  const double em = font.pixelSize();
  const double marker = 1.6 * em, middle = lineHeight / 2;
  if (entry.patch.style() == Qt::NoBrush) {
    auto* line = new QGraphicsLineItem(x, middle, x + marker, middle, &row);
    QPen pen = entry.pen;
    pen.setWidthF(std::max(pen.widthF(), em / 5));
    line->setPen(pen);
  } else {
    auto* patch =
        new QGraphicsRectItem(x + marker / 4, middle - em / 3, marker / 2, 2 * em / 3, &row);
    patch->setPen(entry.pen);
    patch->setBrush(entry.patch);
  }
  auto* words = new QGraphicsSimpleTextItem(entry.name, &row);
  words->setFont(font);
  words->setBrush(ChartStyle::Text());
  words->setPos(x + marker + em / 3, 0);
  return marker + em / 3 + QFontMetricsF(font).horizontalAdvance(entry.name);
}
}  // namespace

FigureLegend::FigureLegend(QGraphicsScene& scene, const ChartStyle& style)
    : style_(style), root_(scene.addRect({}, Qt::NoPen)) {}

double FigureLegend::Show(const std::vector<LegendEntry>& entries, const Box& box) {
  const double width = box.width;
  for (QGraphicsItem* row : root_->childItems()) delete row;
  const QFont font = style_.Font(14);
  const double lineHeight = QFontMetricsF(font).height(), gap = font.pixelSize();
  std::vector<QGraphicsRectItem*> rows;
  std::vector<double> widths;
  for (const LegendEntry& entry : entries) {
    auto* probe = new QGraphicsRectItem(root_);
    const double needed = AddEntry(*probe, entry, font, 0, lineHeight);
    // A new row when this one is full; an entry wider than a row still gets one of its own.
    if (rows.empty() || widths.back() + gap + needed > width) {
      rows.push_back(probe);
      widths.push_back(needed);
      probe->setPos(0, lineHeight * static_cast<double>(rows.size() - 1));
      continue;
    }
    probe->setPos(widths.back() + gap, 0);
    probe->setParentItem(rows.back());
    widths.back() += gap + needed;
  }
  for (std::size_t i = 0; i < rows.size(); ++i) {
    rows[i]->setPos((width - widths[i]) / 2, rows[i]->pos().y());
  }
  const double height = lineHeight * static_cast<double>(rows.size());
  root_->setPos(box.left, box.top + std::max(0.0, box.height - height) / 2);
  return height;
}
