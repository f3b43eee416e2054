#include "StackedFigure.h"

#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <algorithm>

#include "BandLabels.h"
#include "Events.h"

StackedFigure::StackedFigure(const std::vector<PanelShape>& shapes, double scale)
    : scene_(std::make_unique<QGraphicsScene>()), style_(scale) {
  scene_->setBackgroundBrush(Qt::white);
  for (const PanelShape& shape : shapes) {
    panels_.push_back(std::make_unique<Panel>(*scene_, style_, shape.valueTitles));
    shares_.push_back(shape.share);
  }
  legend_ = std::make_unique<FigureLegend>(*scene_, style_);
  bandLabels_ = std::make_unique<BandLabels>(*scene_, style_);
  caption_ = scene_->addSimpleText("", style_.Font(13));
  caption_->setBrush(ChartStyle::QuietText());
  nothingLogged_ = scene_->addSimpleText("no logged steps", style_.Font(15));
  nothingLogged_->setBrush(ChartStyle::QuietText());
  nothingLogged_->hide();
}

StackedFigure::~StackedFigure() = default;

void StackedFigure::Resize(QSizeF size) {
  scene_->setSceneRect(0, 0, size.width(), size.height());
  size_ = size;
  LayOut();
}

void StackedFigure::LayOut() {
  layout_ = LayOutFigure(size_.width(), size_.height(), style_.Pixels(1), shares_);
  const double keyHeight = legend_->Show(key_, layout_.legend);
  if (keyHeight > layout_.legend.height) {
    layout_ = LayOutFigure(size_.width(), size_.height(), style_.Pixels(1), shares_, keyHeight);
    legend_->Show(key_, layout_.legend);
  }
  for (std::size_t i = 0; i < panels_.size(); ++i) panels_[i]->Place(layout_.plots[i]);
  caption_->setPos(layout_.caption.left, layout_.caption.top);
  PlaceNothingLogged();
  if (shown_) {
    Settle();
    bandLabels_->Show(shown_->second, shown_->first, *panels_.front(), layout_.bandLabels);
  }
}

int StackedFigure::Columns() const {
  return layout_.plots.empty() ? 1 : std::max(1, static_cast<int>(layout_.plots[0].width));
}

void StackedFigure::ShowSession(const StepAxis& steps, const SessionEvents& events,
                                const std::string& caption, std::vector<LegendEntry> key) {
  for (std::size_t i = 0; i < panels_.size(); ++i) {
    const bool lowest = i + 1 == panels_.size();
    panels_[i]->SetSteps(steps.scale, lowest ? QString::fromStdString(steps.unit.title) : "");
    panels_[i]->ShowEvents(events, steps.unit.stepsPerUnit);
  }
  AddEventsToKey(events, key);
  caption_->setText(QString::fromStdString(caption));
  shown_.emplace(steps, events);
  if (key != key_) {
    key_ = std::move(key);
    LayOut();  // the key's rows may take another height
    return;
  }
  Settle();
  bandLabels_->Show(events, steps, *panels_.front(), layout_.bandLabels);
}

void StackedFigure::ShowLogged(bool logged) {
  for (const auto& panel : panels_) panel->ShowTicks(logged);
  nothingLogged_->setVisible(!logged);
}

// In the middle of the panels.
void StackedFigure::PlaceNothingLogged() {
  if (layout_.plots.empty()) return;
  const Box& top = layout_.plots.front();
  const QRectF size = nothingLogged_->boundingRect();
  const double middle = (top.top + layout_.plots.back().Bottom()) / 2;
  nothingLogged_->setPos(top.left + (top.width - size.width()) / 2, middle - size.height() / 2);
}

void StackedFigure::AddEventsToKey(const SessionEvents& events,
                                   std::vector<LegendEntry>& key) const {
  for (const Eye eye : {Eye::Left, Eye::Right}) {
    const auto closed = [eye](const EyeClosure& closure) {
      return closure.eye == eye && closure.toSteps > closure.fromSteps;
    };
    if (std::any_of(events.closures.begin(), events.closures.end(), closed)) {
      key.push_back({eye == Eye::Left ? "left eye closed" : "right eye closed",
                     QPen(ChartStyle::ClosedBand(eye).darker(110), style_.Pixels(1)),
                     ChartStyle::ClosedBand(eye)});
    }
  }
  if (!ClosedSpans(events, true, true).empty()) {
    const QColor both = ChartStyle::BothClosedBand();
    key.push_back({"both eyes closed", QPen(both.darker(110), style_.Pixels(1)), both});
  }
  if (!events.resets.empty()) key.push_back({"weights reset", style_.ResetLine()});
  if (!events.loads.empty()) key.push_back({"state loaded", style_.LoadLine()});
}

void StackedFigure::Settle() const {
  for (const auto& panel : panels_) panel->Settle();
}
