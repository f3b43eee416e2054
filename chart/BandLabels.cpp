#include "BandLabels.h"

#include <QFontMetricsF>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <algorithm>

#include "Events.h"
#include "Panel.h"

namespace {
struct Words {
  bool left, right;
  const char* text;
};
// Where both eyes were closed, the two tabs overlap and one label names both.
constexpr Words kWords[] = {{true, true, "both eyes closed"},
                            {true, false, "left eye closed"},
                            {false, true, "right eye closed"}};

QColor WordsColour(const Words& words) {
  if (words.left && words.right) return ChartStyle::Text();
  return ChartStyle::ClosedLabel(words.left ? Eye::Left : Eye::Right);
}
}  // namespace

void BandLabels::Show(const SessionEvents& events, const StepAxis& steps, const Panel& panel,
                      const Box& row) {
  used_ = 0;
  wordsPlaced_.clear();
  const auto xOf = [&](std::int64_t at) {
    const double x = panel.PositionOf({steps.ToUnits(at), 0}).x();
    return std::clamp(x, row.left, row.Right());
  };
  for (const Eye eye : {Eye::Left, Eye::Right}) {
    for (const EyeClosure& closure : JoinedClosures(events.closures, eye)) {
      PlaceShade(eye, xOf(closure.fromSteps), xOf(closure.toSteps), row);
    }
  }
  std::size_t labels = 0;
  for (const Words& words : kWords) {
    for (const EyeClosure& span : ClosedSpans(events, words.left, words.right)) {
      const double from = xOf(span.fromSteps), to = xOf(span.toSteps);
      if (PlaceWords(NextWords(labels), words.text, WordsColour(words), from, to, row)) ++labels;
    }
  }
  for (std::size_t i = used_; i < tabs_.size(); ++i) tabs_[i]->hide();
  for (std::size_t i = labels; i < words_.size(); ++i) words_[i]->hide();
}

void BandLabels::PlaceShade(Eye eye, double from, double to, const Box& row) {
  if (to <= from) return;
  if (used_ == tabs_.size()) tabs_.push_back(scene_.addRect({}, Qt::NoPen));
  QGraphicsRectItem& shade = *tabs_[used_++];
  shade.setBrush(ChartStyle::ClosedBand(eye));
  shade.setRect(0, 0, to - from, row.height);
  shade.setPos(from, row.top);
  shade.show();
}

bool BandLabels::PlaceWords(QGraphicsSimpleTextItem& item, const char* text, const QColor& colour,
                            double from, double to, const Box& row) {
  const QFont font = style_.Font(13, true);
  const double inset = style_.Pixels(6);
  const double width = QFontMetricsF(font).horizontalAdvance(text) + 2 * inset;
  if (!WordsFit(from, to, width)) return false;
  wordsPlaced_.emplace_back(from, from + width);
  item.setFont(font);
  item.setText(text);
  item.setBrush(colour);
  item.setPos(from + inset, row.top + (row.height - QFontMetricsF(font).height()) / 2);
  item.show();
  return true;
}

QGraphicsSimpleTextItem& BandLabels::NextWords(std::size_t index) {
  if (index == words_.size()) {
    words_.push_back(scene_.addSimpleText(""));
    words_.back()->setZValue(1);  // over every shade
  }
  return *words_[index];
}

bool BandLabels::WordsFit(double from, double to, double width) const {
  if (width > to - from) return false;
  return std::none_of(wordsPlaced_.begin(), wordsPlaced_.end(), [&](const auto& placed) {
    return placed.first < from + width && from < placed.second;
  });
}
