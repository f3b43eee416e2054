#include "DominanceGuides.h"

#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QLineSeries>

#include "StackedFigure.h"

namespace {
QGraphicsSimpleTextItem* Note(StackedFigure& figure, const QString& text, Eye eye) {
  auto* item = figure.Scene().addSimpleText(text, figure.Style().Font(12));
  item->setBrush(ChartStyle::EyeColour(eye).darker(120));
  item->setZValue(1);
  return item;
}
}  // namespace

DominanceGuides::DominanceGuides(StackedFigure& figure, std::size_t panel)
    : figure_(figure),
      panel_(panel),
      balance_(
          figure.PanelAt(panel).AddLine(figure.Style().Line(ChartStyle::Frame(), 1, Qt::DashLine))),
      rightDominant_(Note(figure, "right eye dominates \u2191", Eye::Right)),
      leftDominant_(Note(figure, "left eye dominates \u2193", Eye::Left)) {}

std::vector<QString> DominanceGuides::Titles() {
  return {"ocular dominance<br>(R\u2212L)/(R+L)", "ocular<br>dominance<br>(R\u2212L)/(R+L)",
          "dominance", "(R\u2212L)/<br>(R+L)"};
}

void DominanceGuides::Show(const StepAxis& steps) {
  figure_.PanelAt(panel_).SetValues({-1.0, 1.0, 0.5, 1});
  balance_->replace({{steps.scale.low, 0.0}, {steps.scale.high, 0.0}});
}

void DominanceGuides::Place() {
  const Box& plot = figure_.PlotBox(panel_);
  const double inset = figure_.Style().Pixels(5);
  const double right = plot.Right() - inset;
  rightDominant_->setPos(right - rightDominant_->boundingRect().width(), plot.top + inset);
  leftDominant_->setPos(right - leftDominant_->boundingRect().width(),
                        plot.Bottom() - inset - leftDominant_->boundingRect().height());
  // In a panel too low for both, either would cover the data and the other.
  const bool room = plot.height > 3 * rightDominant_->boundingRect().height() + 2 * inset;
  rightDominant_->setVisible(room);
  leftDominant_->setVisible(room);
}
