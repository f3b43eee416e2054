#include "CourseChart.h"

#include "ChartApplication.h"
#include "CourseFigure.h"
#include "EnsembleFigure.h"
#include "FigureFile.h"
#include "FigureLayout.h"
#include "SummaryFigure.h"

namespace {
bool CanWrite(const std::string& path, int width, int height, std::string& error) {
  error = ChartFileProblem(path, width, height);
  return error.empty() && EnsureChartApplication(error);
}

template <class Figure, class Data>
bool Write(Figure& figure, const Data& data, const std::string& path, int width, int height,
           std::string& error) {
  figure.Resize({static_cast<double>(width), static_cast<double>(height)});
  figure.Show(data);
  return WriteFigureFile(figure.Scene(), path, width, height, error);
}
}  // namespace

bool WriteCourseChart(const Course& course, const std::string& path, int width, int height,
                      std::string& error) {
  if (!CanWrite(path, width, height, error)) return false;
  CourseFigure figure(FigureScale(width, height));
  return Write(figure, course, path, width, height, error);
}

bool WriteSummaryChart(const SummaryPlot& plot, const std::string& path, int width, int height,
                       std::string& error) {
  if (!CanWrite(path, width, height, error)) return false;
  SummaryFigure figure(width, height);
  figure.Show(plot);
  return WriteFigureFile(figure.Scene(), path, width, height, error);
}

bool WriteEnsembleChart(const EnsembleCourse& ensemble, const std::string& path, int width,
                        int height, std::string& error) {
  if (!CanWrite(path, width, height, error)) return false;
  EnsembleFigure figure(ensemble, FigureScale(width, height));
  return Write(figure, ensemble, path, width, height, error);
}
