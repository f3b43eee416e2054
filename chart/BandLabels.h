#pragma once

#include <utility>
#include <vector>

#include "AxisTicks.h"
#include "ChartStyle.h"
#include "Course.h"
#include "FigureLayout.h"

class Panel;
class QGraphicsRectItem;
class QGraphicsScene;
class QGraphicsSimpleTextItem;

// Each closed-eye band rises above the top panel as a tab holding its words ("left eye closed"),
// so that the words never hide the data. A tab too narrow for its words, or whose words would
// run into another's, stays blank; the key names every band in any case.
class BandLabels {
 public:
  BandLabels(QGraphicsScene& scene, const ChartStyle& style) : scene_(scene), style_(style) {}

  // The panel must be laid out, since the tabs go where its steps are drawn.
  void Show(const SessionEvents& events, const StepAxis& steps, const Panel& panel, const Box& row);

 private:
  struct Tab {
    QGraphicsRectItem* shade;
    QGraphicsSimpleTextItem* words;
  };

  void Place(const EyeClosure& closure, const StepAxis& steps, const Panel& panel, const Box& row);
  bool WordsFit(double from, double to, double width) const;
  Tab& NextTab();

  QGraphicsScene& scene_;
  const ChartStyle& style_;
  std::vector<Tab> tabs_;
  std::size_t used_ = 0;
  std::vector<std::pair<double, double>> wordsPlaced_;  // the x ranges taken by words so far
};
