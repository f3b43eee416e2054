#include "BandLabels.h"

#include <QFontMetricsF>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <algorithm>

#include "Events.h"
#include "Panel.h"

void BandLabels::Show(const SessionEvents& events, const StepAxis& steps, const Panel& panel,
                      const Box& row) {
  used_ = 0;
  wordsPlaced_.clear();
  for (const Eye eye : {Eye::Left, Eye::Right}) {
    for (const EyeClosure& closure : JoinedClosures(events.closures, eye)) {
      Place(closure, steps, panel, row);
    }
  }
  for (std::size_t i = used_; i < tabs_.size(); ++i) tabs_[i].shade->hide();
}

void BandLabels::Place(const EyeClosure& closure, const StepAxis& steps, const Panel& panel,
                       const Box& row) {
  const auto xOf = [&](std::int64_t at) {
    const double x = panel.PositionOf({steps.ToUnits(at), 0}).x();
    return std::clamp(x, row.left, row.Right());
  };
  const double from = xOf(closure.fromSteps), to = xOf(closure.toSteps);
  if (to <= from) return;
  Tab& tab = NextTab();
  tab.shade->setBrush(ChartStyle::ClosedBand(closure.eye));
  tab.shade->setRect(0, 0, to - from, row.height);
  tab.shade->setPos(from, row.top);
  tab.shade->show();
  const QFont font = style_.Font(13, true);
  const QString words = closure.eye == Eye::Left ? "left eye closed" : "right eye closed";
  const double inset = style_.Pixels(6);
  const double width = QFontMetricsF(font).horizontalAdvance(words) + 2 * inset;
  const bool fits = WordsFit(from, to, width);
  tab.words->setVisible(fits);
  if (!fits) return;
  wordsPlaced_.emplace_back(from, from + width);
  tab.words->setFont(font);
  tab.words->setText(words);
  tab.words->setBrush(ChartStyle::ClosedLabel(closure.eye));
  tab.words->setPos(inset, (row.height - QFontMetricsF(font).height()) / 2);
}

bool BandLabels::WordsFit(double from, double to, double width) const {
  if (width > to - from) return false;
  return std::none_of(wordsPlaced_.begin(), wordsPlaced_.end(), [&](const auto& placed) {
    return placed.first < from + width && from < placed.second;
  });
}

BandLabels::Tab& BandLabels::NextTab() {
  if (used_ == tabs_.size()) {
    auto* shade = scene_.addRect({}, Qt::NoPen);
    tabs_.push_back({shade, new QGraphicsSimpleTextItem(shade)});
  }
  return tabs_[used_++];
}
