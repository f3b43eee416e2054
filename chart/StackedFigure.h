#pragma once

#include <QSizeF>
#include <QString>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "AxisTicks.h"
#include "ChartStyle.h"
#include "Course.h"
#include "FigureLayout.h"
#include "FigureLegend.h"
#include "Panel.h"

class BandLabels;
class QGraphicsScene;
class QGraphicsSimpleTextItem;

struct PanelShape {
  std::vector<QString> valueTitles;  // longest first, the shorter ones for a low panel
  double share;                      // of the figure's height
};

// Panels stacked over one step axis, with the key above them, the labels of the closed-eye bands
// and a caption: what the course and the ensemble figures have in common.
class StackedFigure {
 public:
  StackedFigure(const std::vector<PanelShape>& shapes, double scale);
  ~StackedFigure();
  StackedFigure(const StackedFigure&) = delete;
  StackedFigure& operator=(const StackedFigure&) = delete;

  void Resize(QSizeF size);
  // The plot areas' width in pixels: the columns a line is thinned to.
  int Columns() const;

  // Sets every panel's step axis, the events behind the data, the caption, and the key: the
  // data's entries, then the events'. The panels' value scales must be set first, as the bands
  // span them.
  void ShowSession(const StepAxis& steps, const SessionEvents& events, const std::string& caption,
                   std::vector<LegendEntry> key);
  // Without a logged step the scales mean nothing: the panels are empty frames, and a note says
  // why.
  void ShowLogged(bool logged);

  QGraphicsScene& Scene() const { return *scene_; }
  const ChartStyle& Style() const { return style_; }
  Panel& PanelAt(std::size_t index) const { return *panels_.at(index); }
  const Box& PlotBox(std::size_t index) const { return layout_.plots.at(index); }

 private:
  void AddEventsToKey(const SessionEvents& events, std::vector<LegendEntry>& key) const;
  // Places everything for the figure's size and key; the panels make room for a key of rows.
  void LayOut();
  void PlaceNothingLogged();
  void Settle() const;

  std::unique_ptr<QGraphicsScene> scene_;
  ChartStyle style_;
  std::vector<double> shares_;
  std::vector<std::unique_ptr<Panel>> panels_;
  std::unique_ptr<FigureLegend> legend_;
  std::vector<LegendEntry> key_;
  QSizeF size_;
  FigureLayout layout_;
  std::unique_ptr<BandLabels> bandLabels_;
  // What the band labels were last placed for, to place them again when the figure is resized.
  std::optional<std::pair<StepAxis, SessionEvents>> shown_;
  QGraphicsSimpleTextItem* caption_;
  QGraphicsSimpleTextItem* nothingLogged_;
};
