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

// Each closed-eye band rises above the top panel as a tab, and the words over it name the eyes
// closed there ("left eye closed", "both eyes closed"), so that the words never hide the data. A
// tab too narrow for its words, or whose words would run into another's, stays blank; the key names
// every band in any case.
class BandLabels {
 public:
  BandLabels(QGraphicsScene& scene, const ChartStyle& style) : scene_(scene), style_(style) {}

  // The panel must be laid out, since the tabs go where its steps are drawn.
  void Show(const SessionEvents& events, const StepAxis& steps, const Panel& panel, const Box& row);

 private:
  void PlaceShade(Eye eye, double from, double to, const Box& row);
  // False, placing nothing, when the words do not fit the span or would run into others.
  bool PlaceWords(QGraphicsSimpleTextItem& item, const char* text, const QColor& colour,
                  double from, double to, const Box& row);
  QGraphicsSimpleTextItem& NextWords(std::size_t index);
  bool WordsFit(double from, double to, double width) const;

  QGraphicsScene& scene_;
  const ChartStyle& style_;
  std::vector<QGraphicsRectItem*> tabs_;
  std::vector<QGraphicsSimpleTextItem*> words_;
  std::size_t used_ = 0;
  std::vector<std::pair<double, double>> wordsPlaced_;  // the x ranges taken by words so far
};
