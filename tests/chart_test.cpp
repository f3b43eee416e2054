#include <gtest/gtest.h>

#include <QChart>
#include <QCoreApplication>
#include <QGraphicsTextItem>
#include <QImage>
#include <QLineSeries>
#include <QMouseEvent>
#include <QSvgRenderer>
#include <QValueAxis>
#include <QWheelEvent>
#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "AxisTicks.h"
#include "ChartApplication.h"
#include "ChartStyle.h"
#include "ColumnDecimation.h"
#include "CourseChart.h"
#include "CourseChartView.h"
#include "Events.h"
#include "FigureLayout.h"
#include "PanelShares.h"
#include "SessionCourse.h"
#include "TempDir.h"

namespace {
std::vector<PlotPoint> Decimated(const std::vector<double>& values, int columns) {
  return DecimateByColumn(
      values.size(),
      [&](std::size_t i) {
        return PlotPoint{static_cast<double>(i), values[i]};
      },
      0.0, static_cast<double>(values.size()), columns);
}

// The points as (x, y) pairs, to compare with a literal list.
using Pairs = std::vector<std::pair<double, double>>;
Pairs XY(const std::vector<PlotPoint>& points) {
  Pairs pairs;
  for (const PlotPoint& point : points) pairs.emplace_back(point.x, point.y);
  return pairs;
}

TEST(ColumnDecimation, KeepsASpikeAndADipThatAStrideWouldStepOver) {
  std::vector<double> values(100000, 0.5);
  values[50037] = 7.0;
  values[81013] = -3.0;
  const std::vector<PlotPoint> kept = Decimated(values, 1000);
  ASSERT_LE(kept.size(), 4000u);
  const auto [low, high] = std::minmax_element(
      kept.begin(), kept.end(), [](const PlotPoint& a, const PlotPoint& b) { return a.y < b.y; });
  EXPECT_EQ(high->y, 7.0);
  EXPECT_EQ(high->x, 50037.0);
  EXPECT_EQ(low->y, -3.0);
  EXPECT_EQ(low->x, 81013.0);
  EXPECT_EQ(kept.front().x, 0.0);
  EXPECT_EQ(kept.back().x, 99999.0);
}

TEST(ColumnDecimation, KeepsFirstLowestHighestAndLastOfEachColumnInTheirOrder) {
  // Two columns of five points each; the second column's highest comes before its lowest.
  const std::vector<double> values = {1, 5, -1, 2, 3, /**/ 0, 9, 4, -6, 8};
  EXPECT_EQ(XY(Decimated(values, 2)),
            (Pairs{{0, 1}, {1, 5}, {2, -1}, {4, 3}, {5, 0}, {6, 9}, {8, -6}, {9, 8}}));
  // Four points that are each the first, lowest, highest or last are all kept; a point that is
  // more than one of these is kept once.
  EXPECT_EQ(Decimated({3, 1, 4, 2}, 1).size(), 4u);
  EXPECT_EQ(Decimated({2, 2, 2, 2, 2}, 1).size(), 2u);
}

TEST(ColumnDecimation, PassesOverValuesThatCannotBeDrawn) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(XY(Decimated({nan, 1, inf, 2, -inf, nan}, 1)), (Pairs{{1, 1}, {3, 2}}));
}

TEST(ColumnDecimation, ABandsEdgesKeepEachColumnsOutermostPointOnly) {
  // Two columns of five points each, with a value that cannot be drawn.
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const std::vector<double> values = {1, 5, -1, nan, 3, /**/ 0, 9, 4, -6, 8};
  const auto edge = [&](BandEdge which) {
    return EnvelopeByColumn(
        values.size(),
        [&](std::size_t i) {
          return PlotPoint{static_cast<double>(i), values[i]};
        },
        0.0, static_cast<double>(values.size()), 2, which);
  };
  EXPECT_EQ(XY(edge(BandEdge::Upper)), (Pairs{{1, 5}, {6, 9}}));
  EXPECT_EQ(XY(edge(BandEdge::Lower)), (Pairs{{2, -1}, {8, -6}}));
}

TEST(ChartAxes, StepsAreCountedInAUnitThatKeepsTickLabelsShort) {
  EXPECT_EQ(StepUnitFor(9000).title, "training steps");
  EXPECT_EQ(StepUnitFor(30000).stepsPerUnit, 1e3);
  EXPECT_EQ(StepUnitFor(2.2e6).title, "training steps (millions)");
  EXPECT_EQ(StepUnitFor(5e9).stepsPerUnit, 1e9);
  // The axis starts at the session's start, and has a length even with nothing or step 0 only.
  Extent later;
  later.Include(5000);
  later.Include(8000);
  EXPECT_EQ(StepAxisFor(later).scale.low, 0.0);
  EXPECT_EQ(StepAxisFor(later).scale.high, 8000.0);
  Extent start;
  start.Include(0);
  for (const Extent& steps : {Extent{}, start}) {
    EXPECT_EQ(StepAxisFor(steps).scale.low, 0.0);
    EXPECT_EQ(StepAxisFor(steps).scale.high, 1.0);
  }
}

// A tick's label as Qt prints it in the scale's format.
std::string LabelOf(const AxisScale& scale, double value) {
  char text[64];
  std::snprintf(text, sizeof text, scale.scientific ? "%.*e" : "%.*f", scale.decimals, value);
  return text;
}

TEST(ChartAxes, TickStepsAreRoundAboutAsManyAsAskedAndLabelledShortAndApart) {
  const std::vector<std::pair<double, double>> ranges = {
      {0, 1.13}, {0, 30},    {-0.3, 7.9}, {0, 2.2},        {1e-6, 3e-5},
      {4, 4},    {-4e-8, 0}, {0, 2.6e9},  {-1e308, 1e308}, {1e-300, 1e-300}};
  for (const auto& [low, high] : ranges) {
    const AxisScale scale = ExactScale(low, high, 6);
    const double power = std::pow(10.0, std::floor(std::log10(scale.tickInterval) + 1e-9));
    const double mantissa = scale.tickInterval / power;
    EXPECT_TRUE(std::abs(mantissa - 1) < 1e-9 || std::abs(mantissa - 2) < 1e-9 ||
                std::abs(mantissa - 5) < 1e-9)
        << low << ".." << high << ": " << scale.tickInterval;
    const double intervals = (scale.high - scale.low) / scale.tickInterval;
    EXPECT_GE(intervals, 3) << low << ".." << high;
    EXPECT_LE(intervals, 12) << low << ".." << high;
    // Labels short enough to leave the axis title its room, and enough digits to tell
    // neighbouring ticks apart.
    for (double tick = std::ceil(scale.low / scale.tickInterval) * scale.tickInterval;
         tick <= scale.high; tick += scale.tickInterval) {
      const std::string label = LabelOf(scale, tick);
      EXPECT_LE(label.size(), 9u) << label;
      EXPECT_NE(label, LabelOf(scale, tick + scale.tickInterval)) << low << ".." << high;
    }
  }
}

TEST(ChartAxes, ValueScalesStartAtZeroAndHoldEveryValue) {
  Extent positive;
  for (const double v : {0.3, 1.2, 0.7}) positive.Include(v);
  const AxisScale up = ValueScale(positive);
  EXPECT_EQ(up.low, 0.0);
  EXPECT_GT(up.high, 1.2);
  Extent mixed;
  for (const double v : {-0.02, 1.0, std::numeric_limits<double>::quiet_NaN()}) mixed.Include(v);
  const AxisScale across = ValueScale(mixed);
  EXPECT_LT(across.low, -0.02);
  EXPECT_GT(across.low, -0.2);  // room beyond the values, not a whole tick step of it
  EXPECT_GT(across.high, 1.0);
  // Nothing to scale, or values that all read as 0.
  Extent tiny;
  tiny.Include(1e-300);
  for (const Extent& none : {Extent{}, tiny}) {
    EXPECT_EQ(ValueScale(none).low, 0.0);
    EXPECT_EQ(ValueScale(none).high, 1.0);
  }
}

TEST(ChartEvents, ClosuresOfOneEyeAreJoinedWhereTheyTouchOrOverlap) {
  const std::vector<EyeClosure> closures = {{500, 700, Eye::Left},  {100, 200, Eye::Left},
                                            {200, 300, Eye::Left},  {250, 260, Eye::Left},
                                            {150, 400, Eye::Right}, {800, 800, Eye::Left}};
  const std::vector<EyeClosure> left = JoinedClosures(closures, Eye::Left);
  ASSERT_EQ(left.size(), 2u);
  EXPECT_EQ(left[0].fromSteps, 100);
  EXPECT_EQ(left[0].toSteps, 300);
  EXPECT_EQ(left[1].fromSteps, 500);
  EXPECT_EQ(left[1].toSteps, 700);
  ASSERT_EQ(JoinedClosures(closures, Eye::Right).size(), 1u);
}

// A zoomed chart draws and labels nothing beyond its frame.
TEST(ChartEvents, AZoomedRangeCutsClosuresAtItsEdgesAndLeavesOutMarksBeyond) {
  SessionEvents events;
  events.closures = {{100, 500, Eye::Left}, {600, 900, Eye::Right}, {50, 150, Eye::Right}};
  events.resets = {250, 700};
  events.loads = {299, 301};
  Extent steps;
  steps.Include(200.5);
  steps.Include(700.0);
  const SessionEvents within = EventsWithin(events, steps);
  ASSERT_EQ(within.closures.size(), 2u);
  EXPECT_EQ(std::pair(within.closures[0].fromSteps, within.closures[0].toSteps),
            std::pair(201L, 500L));
  EXPECT_EQ(std::pair(within.closures[1].fromSteps, within.closures[1].toSteps),
            std::pair(600L, 700L));
  EXPECT_EQ(within.resets, (std::vector<std::int64_t>{250, 700}));
  EXPECT_EQ(within.loads, (std::vector<std::int64_t>{299, 301}));
  steps.Include(0.0);
  EXPECT_EQ(EventsWithin(events, steps).closures.size(), 3u);
}

TEST(ChartFile, RejectsWhatItCannotWriteBeforeAnyRun) {
  TempDir dir;
  std::filesystem::create_directory(dir.path() / "folder.png");
  std::filesystem::create_symlink("/dev/null", dir.path() / "device.png");
  struct Case {
    std::string name;
    int width, height;
    std::string problem;  // "" for none
  };
  const Case cases[] = {
      {"course.png", 1200, 900, ""},
      {"course.SVG", 200, 150, ""},
      {"course.png", 8000, 8000, ""},
      {"course.jpg", 1200, 900, ".png or .svg"},
      {"course", 1200, 900, ".png or .svg"},
      {"course.png.txt", 1200, 900, ".png or .svg"},
      {"course.png", 199, 900, "outside 200x150 to 8000x8000"},
      {"course.png", 1200, 149, "outside 200x150 to 8000x8000"},
      {"course.png", 8001, 900, "outside 200x150 to 8000x8000"},
      {"course.png", 1200, 8001, "outside 200x150 to 8000x8000"},
      {"folder.png", 1200, 900, "is a folder"},
      {"missing/c.png", 1200, 900, "does not exist"},
      {"/proc/self/c.svg", 1200, 900, "not writable"},  // even for root
      {"device.png", 1200, 900, "is not a regular file"},
  };
  for (const auto& [name, width, height, problem] : cases) {
    const std::string found = ChartFileProblem((dir.path() / name).string(), width, height);
    EXPECT_TRUE(problem.empty() ? found.empty() : found.find(problem) != std::string::npos)
        << name << " " << width << "x" << height << ": " << found;
  }
}

// A course of three phases: both eyes see (left 0.6, right 0.4), the right eye is closed (left
// 1.0, right 0.2), both see again (left 0.4, right 0.6); logged every 100 steps; weights reset at
// step 26000.
constexpr std::int64_t kLast = 30000;

Course ThreePhases() {
  Course course;
  for (std::int64_t steps = 0; steps <= kLast; steps += 100) {
    const double left = steps < 10000 ? 0.6 : steps < 20000 ? 1.0 : 0.4;
    const double right = steps < 10000 ? 0.4 : steps < 20000 ? 0.2 : 0.6;
    course.points.push_back({steps, left, right, 0.5, OcularDominance(left, right)});
  }
  course.events.closures = {{10000, 20000, Eye::Right}};
  course.events.resets = {26000};
  course.caption = "seed 42  --closed-noise 0.1";
  return course;
}

// The file that write (WriteCourseChart or WriteEnsembleChart) makes of chart, read back.
template <class Chart, class Write>
std::string Drawn(Write write, const Chart& chart, const std::string& extension, int width = 1200,
                  int height = 900) {
  TempDir dir;
  const std::string path = (dir.path() / ("chart" + extension)).string();
  std::string error;
  EXPECT_TRUE(write(chart, path, width, height, error)) << error;
  return dir.Read("chart" + extension);
}

QImage Image(const std::string& png) {
  return QImage::fromData(QByteArray::fromStdString(png), "PNG");
}

QImage Written(const Course& course) {
  return Image(Drawn(WriteCourseChart, course, ".png"));
}

// The panels' plot areas in a 1200 x 900 course chart: responses, threshold, dominance.
std::vector<Box> CoursePlots() {
  return LayOutFigure(1200, 900, FigureScale(1200, 900), kCoursePanelShares).plots;
}

double XOf(const Box& plot, std::int64_t steps, std::int64_t last = kLast) {
  return plot.left + static_cast<double>(steps) / static_cast<double>(last) * plot.width;
}

QColor At(const QImage& image, double x, double y) {
  return image.pixelColor(static_cast<int>(x), static_cast<int>(y));
}

bool White(const QColor& c) {
  return c.red() >= 250 && c.green() >= 250 && c.blue() >= 250;
}
// The pale wash of red over white that marks the right eye closed.
bool RightClosedTint(const QColor& c) {
  return c.red() >= 240 && c.green() >= 205 && c.green() <= 238 && c.blue() >= 205 &&
         c.blue() <= 238;
}
bool Blue(const QColor& c) {
  return c.blue() > c.red() + 80 && c.blue() > c.green() + 40;
}
bool Red(const QColor& c) {
  return c.red() > c.green() + 80 && c.red() > c.blue() + 80;
}
bool Purple(const QColor& c) {
  return c.blue() > c.green() + 50 && c.red() > c.green() + 20;
}
bool Grey(const QColor& c) {
  return c.red() < 150 && std::abs(c.red() - c.green()) < 12 && std::abs(c.red() - c.blue()) < 12;
}

// The middle row of the pixels of column x inside the plot that pass the test; -1 if none.
template <class Test>
double MiddleRowOf(const QImage& image, const Box& plot, double x, Test test) {
  double sum = 0;
  int count = 0;
  for (int y = static_cast<int>(plot.top); y < static_cast<int>(plot.Bottom()); ++y) {
    if (test(At(image, x, y))) {
      sum += y;
      ++count;
    }
  }
  return count == 0 ? -1 : sum / count;
}

TEST(CourseChart, ShadesABandExactlyWhereTheRightEyeWasClosed) {
  const QImage image = Written(ThreePhases());
  ASSERT_EQ(image.size(), QSize(1200, 900));
  // Rows clear of lines, grid and notes in each panel.
  const std::vector<Box> plots = CoursePlots();
  const double clearRow[] = {0.9, 0.52, 0.12};
  for (std::size_t panel = 0; panel < plots.size(); ++panel) {
    const Box& plot = plots[panel];
    const double y = plot.top + clearRow[panel] * plot.height;
    for (const double x : {XOf(plot, 10000) + 3, XOf(plot, 13000), XOf(plot, 20000) - 3}) {
      EXPECT_TRUE(RightClosedTint(At(image, x, y)))
          << "panel " << panel << " x " << x << ": " << At(image, x, y).name().toStdString();
    }
    for (const double x :
         {XOf(plot, 7000), XOf(plot, 10000) - 3, XOf(plot, 20000) + 3, XOf(plot, 23000)}) {
      EXPECT_TRUE(White(At(image, x, y)))
          << "panel " << panel << " x " << x << ": " << At(image, x, y).name().toStdString();
    }
  }
}

TEST(CourseChart, DrawsTheResetAsAVerticalLineAtItsStep) {
  const QImage image = Written(ThreePhases());
  for (const Box& plot : CoursePlots()) {
    const auto greyRows = [&](double x) {
      int rows = 0;
      for (int y = static_cast<int>(plot.top); y < static_cast<int>(plot.Bottom()); ++y) {
        const bool grey = Grey(At(image, x - 1, y)) || Grey(At(image, x, y));
        rows += grey ? 1 : 0;
      }
      return rows / plot.height;
    };
    EXPECT_GT(greyRows(XOf(plot, 26000)), 0.3);  // dashed
    EXPECT_LT(greyRows(XOf(plot, 26000) - 8), 0.05);
    EXPECT_LT(greyRows(XOf(plot, 26000) + 8), 0.05);
  }
}

TEST(CourseChart, DrawsTheLeftEyeBlueAndTheRightEyeRedAtTheirValues) {
  const QImage image = Written(ThreePhases());
  const Box plot = CoursePlots()[0];
  // Responses are drawn from 0 at the bottom of the panel, so heights above it keep the ratio
  // of the values.
  const std::vector<std::pair<std::int64_t, double>> phases = {
      {6000, 0.6 / 0.4}, {13000, 1.0 / 0.2}, {28000, 0.4 / 0.6}};
  for (const auto& [steps, ratio] : phases) {
    const double x = XOf(plot, steps);
    const double blue = MiddleRowOf(image, plot, x, Blue);
    const double red = MiddleRowOf(image, plot, x, Red);
    ASSERT_GT(blue, 0) << steps;
    ASSERT_GT(red, 0) << steps;
    EXPECT_NEAR((plot.Bottom() - blue) / (plot.Bottom() - red), ratio, 0.06 * ratio) << steps;
  }
}

TEST(CourseChart, PlotsDominanceOnAScaleFromMinusOneToOne) {
  const QImage image = Written(ThreePhases());
  const Box plot = CoursePlots()[2];
  const std::vector<std::pair<std::int64_t, double>> dominance = {
      {6000, -0.2}, {13000, -0.8 / 1.2}, {28000, 0.2}};
  for (const auto& [steps, value] : dominance) {
    const double row = MiddleRowOf(image, plot, XOf(plot, steps), Purple);
    EXPECT_NEAR(row, plot.top + (1 - value) / 2 * plot.height, 2.0) << steps;
  }
}

TEST(CourseChart, KeepsASpikeAmongAMillionPoints) {
  constexpr std::int64_t kPoints = 1000000, kSpike = 612345;
  Course course;
  course.points.reserve(kPoints);
  for (std::int64_t i = 0; i < kPoints; ++i) {
    course.points.push_back({i * 100, i == kSpike ? 2.0 : 0.5, 0.25, 0.3, 0.0});
  }
  const QImage image = Written(course);
  const Box plot = CoursePlots()[0];
  const double x = XOf(plot, kSpike * 100, (kPoints - 1) * 100);
  const double flat = MiddleRowOf(image, plot, x - 30, Blue);
  double top = plot.Bottom();
  for (const double column : {x - 1, x, x + 1}) {
    for (int y = static_cast<int>(plot.top); y < static_cast<int>(plot.Bottom()); ++y) {
      if (Blue(At(image, column, y))) top = std::min(top, static_cast<double>(y));
    }
  }
  EXPECT_NEAR((plot.Bottom() - top) / (plot.Bottom() - flat), 2.0 / 0.5, 0.2);
}

TEST(CourseChart, WritesAnSvgWithItsLabelsAndCaption) {
  const std::string svg = Drawn(WriteCourseChart, ThreePhases(), ".svg");
  EXPECT_NE(svg.find("viewBox=\"0 0 1200 900\""), std::string::npos);
  EXPECT_NE(svg.find(">right eye closed<"), std::string::npos);
  EXPECT_EQ(svg.find("left eye closed"), std::string::npos);  // no such band, no such label
  EXPECT_NE(svg.find(">weights reset<"), std::string::npos);
  EXPECT_NE(svg.find(">seed 42  --closed-noise 0.1<"), std::string::npos);
  EXPECT_NE(svg.find(">training steps (thousands)<"), std::string::npos);
  EXPECT_EQ(svg.find("no logged steps"), std::string::npos);
  EXPECT_TRUE(QSvgRenderer(QByteArray::fromStdString(svg)).isValid());
}

// Binocular deprivation, then the right eye alone, then a loaded state: each eye's band, their
// overlap named as such, and the load marked as what it is, in the key and the caption.
Course Binocular() {
  Course course = ThreePhases();
  course.events.closures = {{5000, 15000, Eye::Left}, {5000, 20000, Eye::Right}};
  course.events.resets.clear();
  course.events.loads = {26000};
  return course;
}

TEST(CourseChart, NamesBothEyesClosedAndAStateLoaded) {
  const Course course = Binocular();
  TempDir dir;
  const std::string path = (dir.path() / "course.svg").string();
  std::string error;
  ASSERT_TRUE(WriteCourseChart(course, path, 1200, 900, error)) << error;
  const std::string svg = dir.Read("course.svg");
  for (const char* text : {">both eyes closed<", ">right eye closed<", ">state loaded<"}) {
    EXPECT_NE(svg.find(text), std::string::npos) << text;
  }
  EXPECT_EQ(svg.find("weights reset"), std::string::npos);
  const auto load = [](std::uint64_t at) {
    return RunRecord::Event{at, "load", 0, true, true, "reared.json"};
  };
  EXPECT_EQ(CaptionOf(7, Parameters{}, {load(0)}), "state reared.json");
  EXPECT_EQ(CaptionOf(7, Parameters{}, {load(100), load(200)}),
            "seed 7, then state reared.json, state reared.json");
  EXPECT_EQ(EventsOf({load(100)}, 300).loads, std::vector<std::int64_t>{100});
}

// As orvel-batch --course c.svg check writes it. Its scales would mean nothing: no tick labels
// are drawn, and the axis titles keep their room.
TEST(CourseChart, ACourseWithoutALoggedStepIsAnEmptyFrameThatSaysSo) {
  Course course;
  course.caption = "seed 1";
  const std::string svg = Drawn(WriteCourseChart, course, ".svg");
  EXPECT_NE(svg.find(">no logged steps<"), std::string::npos);
  EXPECT_NE(svg.find(">largest response<"), std::string::npos);
  EXPECT_NE(svg.find(">training steps<"), std::string::npos);
  // Where the value labels go, left of each plot.
  const QImage image = Written(course);
  int inked = 0;
  for (const Box& plot : CoursePlots()) {
    for (double y = plot.top - 6; y < plot.Bottom() + 6; ++y) {
      for (double x = plot.left - 30; x < plot.left - 7; ++x)
        inked += White(At(image, x, y)) ? 0 : 1;
    }
  }
  EXPECT_EQ(inked, 0);
}

TEST(CourseChart, DrawsWithoutADisplayAndLeavesNumbersWithAFullStop) {
  if (QCoreApplication::instance() != nullptr) GTEST_SKIP() << "needs a process of its own";
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "no German locale";
  std::setlocale(LC_ALL, "C");
  ::unsetenv("DISPLAY");
  ::unsetenv("WAYLAND_DISPLAY");
  ::unsetenv("QT_QPA_PLATFORM");
  ::setenv("LC_ALL", "de_DE.UTF-8", 1);
  EXPECT_FALSE(Written(ThreePhases()).isNull());
  char text[16];
  std::snprintf(text, sizeof text, "%.1f", 0.5);
  EXPECT_STREQ(text, "0.5");
}

TEST(CourseChart, RefusesToDrawOffTheMainThread) {
  TempDir dir;
  Written(ThreePhases());  // the application now exists, on this thread
  bool written = true;
  std::string error;
  const std::string path = (dir.path() / "other.png").string();
  std::thread([&] { written = WriteCourseChart(ThreePhases(), path, 1200, 900, error); }).join();
  EXPECT_FALSE(written);
  EXPECT_NE(error.find("main thread"), std::string::npos) << error;
  EXPECT_FALSE(std::filesystem::exists(path));
}

// Two groups whose dominance is 0.5 +- 0.1 and -0.5 +- 0.1 throughout.
EnsembleCourse TwoGroups() {
  EnsembleCourse ensemble;
  for (const double dominance : {0.5, -0.5}) {
    EnsembleGroup group;
    group.label = dominance > 0 ? "right favoured" : "left favoured";
    group.colour = ensemble.groups.size();
    for (std::int64_t steps = 0; steps <= 10000; steps += 100) {
      group.points.push_back({steps, {0.8, 0.05}, {0.3, 0.05}, {dominance, 0.1}});
    }
    ensemble.groups.push_back(group);
  }
  ensemble.caption = "2 groups";
  return ensemble;
}

TEST(EnsembleChart, DrawsEachGroupInItsOwnColourWithABandOfOneDeviation) {
  const QImage image = Image(Drawn(WriteEnsembleChart, TwoGroups(), ".png"));
  const Box plot =
      LayOutFigure(1200, 900, FigureScale(1200, 900), kEnsemblePanelShares).plots.at(2);
  const double x = XOf(plot, 5500, 10000);
  const auto y = [&](double value) { return plot.top + (1 - value) / 2 * plot.height; };
  const QColor first = At(image, x, y(0.5)), second = At(image, x, y(-0.5));
  for (const QColor& line : {first, second}) {
    EXPECT_GT(std::max({line.red(), line.green(), line.blue()}) -
                  std::min({line.red(), line.green(), line.blue()}),
              60)
        << line.name().toStdString();
  }
  EXPECT_GT(std::abs(first.red() - second.red()) + std::abs(first.green() - second.green()) +
                std::abs(first.blue() - second.blue()),
            90);
  for (const double inside : {0.56, 0.44, -0.56, -0.44}) {
    EXPECT_FALSE(White(At(image, x, y(inside)))) << inside;
  }
  for (const double outside : {0.7, 0.3, -0.7, -0.3}) {
    EXPECT_TRUE(White(At(image, x, y(outside)))) << outside;
  }
}

// Responses of a few units have tick labels of one digit, which Qt gives less room than a
// two-line axis title needs.
TEST(EnsembleChart, KeepsBothLinesOfAnAxisTitleBesideLabelsOfOneDigit) {
  EnsembleCourse ensemble = TwoGroups();
  for (EnsembleGroup& group : ensemble.groups) {
    for (EnsemblePoint& point : group.points) {
      point.maxLeft = {2.6, 0.2};
      point.maxRight = {0.3, 0.6};  // a band reaching below zero
    }
  }
  const std::string svg = Drawn(WriteEnsembleChart, ensemble, ".svg");
  EXPECT_NE(svg.find(">3<"), std::string::npos) << "labels of one digit";
  EXPECT_NE(svg.find(">largest response<"), std::string::npos);
  EXPECT_NE(svg.find(">left eye<"), std::string::npos);
}

// The stroke of each path element, from the group that holds it, in the order drawn.
std::vector<std::string> PathStrokes(const std::string& svg) {
  std::vector<std::string> strokes;
  std::string stroke;
  for (std::size_t at = svg.find('<'); at != std::string::npos; at = svg.find('<', at + 1)) {
    if (svg.compare(at, 3, "<g ") == 0) {
      const std::size_t attribute = svg.find(" stroke=\"", at);
      stroke = attribute < svg.find('>', at) ? svg.substr(attribute + 9, 7) : "";
    } else if (svg.compare(at, 6, "<path ") == 0) {
      strokes.push_back(stroke);
    }
  }
  return strokes;
}

// Each line and each band is one path, however many rows it has: drawn a segment at a time, the
// README's ensemble was a file of megabytes. The groups take the colour-blind-safe colours in
// their order.
TEST(EnsembleChart, DrawsEachLineAndBandAsOnePathInThePalettesColours) {
  EnsembleCourse ensemble;
  for (std::size_t index = 0; index < 3; ++index) {
    EnsembleGroup group{"group " + std::to_string(index), {}, index};
    for (std::int64_t row = 0; row < 20000; ++row) {
      const double wobble =
          0.2 * std::sin(7.0 * static_cast<double>(row) + static_cast<double>(index));
      group.points.push_back({row * 100, {1 + wobble, 0.1}, {0.5 - wobble, 0.2}, {wobble, 0.1}});
    }
    ensemble.groups.push_back(group);
  }
  const std::string svg = Drawn(WriteEnsembleChart, ensemble, ".svg");
  const std::vector<std::string> strokes = PathStrokes(svg);
  std::vector<std::ptrdiff_t> firsts;
  for (const std::string colour : {"#0072b2", "#d55e00", "#009e73"}) {
    EXPECT_EQ(std::count(strokes.begin(), strokes.end(), colour), 6) << colour;  // 3 panels
    firsts.push_back(std::find(strokes.begin(), strokes.end(), colour) - strokes.begin());
  }
  EXPECT_TRUE(std::is_sorted(firsts.begin(), firsts.end()));
  EXPECT_LT(svg.size(), 300000U);
}

TEST(EnsembleChart, LeavesOutRowsWhereNoUnitHadAResponse) {
  EnsembleCourse ensemble = TwoGroups();
  for (std::size_t i = 0; i < 20; ++i) {
    EnsemblePoint& point = ensemble.groups[0].points[i];
    point.maxLeft = point.maxRight = {kNoResponse, 0};
    point.odi = {std::numeric_limits<double>::quiet_NaN(), 0};
  }
  // The response scale holds 0.25 to 0.85 from 0, as if those rows were not there.
  const std::string svg = Drawn(WriteEnsembleChart, ensemble, ".svg");
  EXPECT_NE(svg.find(">0.8<"), std::string::npos);
  EXPECT_EQ(svg.find(">-100<"), std::string::npos);
}

TEST(CourseChartView, ShowsTheCourseAndFollowsItAsItGrows) {
  std::string error;
  ASSERT_TRUE(EnsureChartApplication(error)) << error;  // a window program has one already
  CourseChartView view;
  view.resize(900, 600);
  view.show();
  QCoreApplication::processEvents();
  const Box plot = LayOutFigure(900, 600, 1.0, kCoursePanelShares).plots.at(0);
  const double clearRow = plot.top + 0.9 * plot.height;
  Course course = ThreePhases();
  course.points.resize(200);  // up to step 19900, the right eye still closed
  course.events.resets.clear();
  view.Show(course);
  QImage image = view.grab().toImage();
  const double x = XOf(plot, 15000, 20000);
  EXPECT_TRUE(RightClosedTint(At(image, x, clearRow)));
  EXPECT_GT(MiddleRowOf(image, plot, x, Blue), 0);

  view.Show(ThreePhases());
  image = view.grab().toImage();
  EXPECT_TRUE(RightClosedTint(At(image, XOf(plot, 13000), clearRow)));
  EXPECT_TRUE(White(At(image, XOf(plot, 23000), clearRow)));
  EXPECT_GT(MiddleRowOf(image, plot, XOf(plot, 28000), Blue), 0);
}

// The wheel zooms about the pointer, a drag pans, the last steps follow the course's end and a
// double-click shows every step again; no range goes beyond the course.
TEST(CourseChartView, ZoomsPansAndFollowsTheLastSteps) {
  std::string error;
  ASSERT_TRUE(EnsureChartApplication(error)) << error;
  CourseChartView view;
  view.resize(900, 600);
  view.show();
  QCoreApplication::processEvents();
  const Box plot = LayOutFigure(900, 600, 1.0, kCoursePanelShares).plots.at(0);
  Course course;
  for (std::int64_t steps = 0; steps <= 1'000'000; steps += 1000) {
    course.points.push_back({steps, 0.5, 0.4, 0.3, OcularDominance(0.5, 0.4)});
  }
  view.Show(course);
  using Range = std::pair<double, double>;
  const auto shown = [&view] {
    return Range(std::round(view.ShownSteps().low), std::round(view.ShownSteps().high));
  };
  const double y = plot.top + 10, middle = plot.left + plot.width / 2;
  const auto send = [&view](QEvent&& event) {
    QCoreApplication::sendEvent(view.viewport(), &event);
  };
  const auto wheel = [&](double x, int degrees) {
    send(QWheelEvent({x, y}, view.mapToGlobal(QPointF(x, y)), {}, {0, degrees}, Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false));
  };
  const auto mouse = [&](QEvent::Type type, double x, Qt::MouseButtons buttons) {
    send(QMouseEvent(type, {x, y}, view.mapToGlobal(QPointF(x, y)), Qt::LeftButton, buttons,
                     Qt::NoModifier));
  };
  EXPECT_EQ(shown(), Range(0, 1'000'000));
  wheel(middle, 120);  // a notch in: four fifths of the steps, about the middle
  EXPECT_EQ(shown(), Range(100'000, 900'000));
  wheel(plot.left, 120);  // about the left edge, which stays put
  EXPECT_EQ(shown(), Range(100'000, 740'000));
  mouse(QEvent::MouseButtonPress, middle, Qt::LeftButton);
  mouse(QEvent::MouseMove, middle + plot.width / 4, Qt::LeftButton);  // 160,000 steps earlier
  mouse(QEvent::MouseButtonRelease, middle + plot.width / 4, Qt::NoButton);
  EXPECT_EQ(shown(), Range(0, 640'000)) << "panned past the start";
  wheel(plot.left + plot.width, -360);  // out beyond the whole course
  EXPECT_EQ(shown(), Range(0, 1'000'000));
  EXPECT_TRUE(view.ShowsAll());

  view.ShowLast(100'000);
  EXPECT_EQ(shown(), Range(900'000, 1'000'000));
  course.points.push_back({1'500'000, 0.5, 0.4, 0.3, OcularDominance(0.5, 0.4)});
  view.Show(course);
  EXPECT_EQ(shown(), Range(1'400'000, 1'500'000));
  mouse(QEvent::MouseButtonDblClick, middle, Qt::LeftButton);
  EXPECT_EQ(shown(), Range(0, 1'500'000));
}

// The step and value axes of every panel.
std::vector<QValueAxis*> AxesOf(const QGraphicsScene& scene) {
  std::vector<QValueAxis*> axes;
  for (QGraphicsItem* item : scene.items()) {
    if (auto* chart = dynamic_cast<QChart*>(item)) {
      for (QAbstractAxis* axis : chart->axes()) axes.push_back(qobject_cast<QValueAxis*>(axis));
    }
  }
  return axes;
}

// The ticks Qt lays out on an axis: every multiple of the interval from its minimum to its
// maximum, or a fixed count.
double TicksOn(const QValueAxis& axis) {
  if (axis.tickType() == QValueAxis::TicksFixed) return axis.tickCount();
  const double interval = axis.tickInterval();
  return std::floor(axis.max() / interval) - std::ceil(axis.min() / interval) + 1;
}

// The most ticks of any axis of a scene at any change of its range. Qt lays them out right after
// that change, so a watch told of too many spares a failing test the hours Qt would take to count
// them: it widens the interval first.
class TickWatch {
 public:
  explicit TickWatch(const QGraphicsScene& scene) {
    for (QValueAxis* axis : AxesOf(scene)) {
      for (const auto changed : {&QValueAxis::minChanged, &QValueAxis::maxChanged}) {
        QObject::connect(axis, changed, &lifetime_, [this, axis] { See(*axis); });
      }
    }
  }
  double Most() const { return most_; }

 private:
  void See(QValueAxis& axis) {
    most_ = std::max(most_, TicksOn(axis));
    if (TicksOn(axis) > 1000) axis.setTickInterval(axis.max() - axis.min());
  }

  QObject lifetime_;
  double most_ = 0;
};

// A course whose first points carry one value each (in both eyes' responses and the threshold),
// then a point as a session's second logged step has it.
std::vector<Course> FirstValuesThenANormalPoint(const std::vector<double>& firsts) {
  std::vector<Course> shown(1);
  for (const double value : firsts) {
    shown.push_back(shown.back());
    const std::int64_t steps = 100 * static_cast<std::int64_t>(shown.size() - 1);
    shown.back().points.push_back({steps, value, value, value, OcularDominance(value, value)});
  }
  shown.push_back(shown.back());
  shown.back().points.push_back({100 * static_cast<std::int64_t>(shown.size() - 1), 0.39, 0.37,
                                 0.38, OcularDominance(0.39, 0.37)});
  return shown;
}

// An interval left from an earlier range once made Qt count billions of ticks.
TEST(CourseChartView, EveryRefreshLaysOutAFewTicksWhateverTheFirstValues) {
  std::string error;
  ASSERT_TRUE(EnsureChartApplication(error)) << error;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const std::vector<std::vector<double>> cases = {
      {}, {1e-300}, {8.6e-5}, {0}, {0.5, 0.5, 0.5}, {1e-4, 1e6}, {1e6, 1e-4}, {nan}, {inf, -inf}};
  for (const std::vector<double>& firsts : cases) {
    CourseChartView view;
    view.resize(640, 480);
    view.show();
    const TickWatch watch(*view.scene());
    for (const Course& course : FirstValuesThenANormalPoint(firsts)) {
      view.Show(course);
      const std::string shown = ::testing::PrintToString(firsts) + " then " +
                                std::to_string(course.points.size()) + " points";
      EXPECT_LE(watch.Most(), 12) << shown;
      for (const QValueAxis* axis : AxesOf(*view.scene())) EXPECT_LE(TicksOn(*axis), 12) << shown;
    }
  }
}

CourseRow LoggedRow(std::uint64_t steps, double maxLeft, double maxRight, double theta) {
  return {0, 0, steps, true, true, maxLeft, maxRight, theta, 0, 0, 0, 0, 0};
}

// The steps at which a line of the colour is drawn, in the order drawn.
std::vector<double> StepsDrawn(const QGraphicsScene& scene, const QColor& colour) {
  std::vector<double> steps;
  for (QGraphicsItem* item : scene.items()) {
    auto* chart = dynamic_cast<QChart*>(item);
    for (QAbstractSeries* series : chart ? chart->series() : QList<QAbstractSeries*>{}) {
      auto* line = qobject_cast<QLineSeries*>(series);
      if (line == nullptr || line->pen().color() != colour) continue;
      for (const QPointF& point : line->points()) steps.push_back(point.x());
    }
  }
  return steps;
}

// A neuron gone NaN logs -100 for both eyes' largest responses and NaN for its threshold;
// drawn, the -100 would stretch the response panel of the whole session down to -105.
TEST(CourseChartView, LeavesOutResponsesThatWereNoneAndValuesThatAreNotFinite) {
  std::string error;
  ASSERT_TRUE(EnsureChartApplication(error)) << error;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  Course course;
  for (const CourseRow& row : {LoggedRow(100, 0.3, 0.2, 0.1), LoggedRow(200, kNoResponse, 0.4, 0.2),
                               LoggedRow(300, kNoResponse, kNoResponse, nan),
                               LoggedRow(400, inf, nan, -inf), LoggedRow(500, 0.35, 0.25, 0.15)}) {
    course.points.push_back(PointOf(row));
  }
  CourseChartView view;
  view.resize(640, 480);
  view.Show(course);
  const QGraphicsScene& scene = *view.scene();
  EXPECT_EQ(StepsDrawn(scene, ChartStyle::EyeColour(Eye::Left)), (std::vector<double>{100, 500}));
  EXPECT_EQ(StepsDrawn(scene, ChartStyle::EyeColour(Eye::Right)),
            (std::vector<double>{100, 200, 500}));
  EXPECT_EQ(StepsDrawn(scene, ChartStyle::Threshold()), (std::vector<double>{100, 200, 500}));
  EXPECT_EQ(StepsDrawn(scene, ChartStyle::Dominance()), (std::vector<double>{100, 500}));
  for (const QValueAxis* axis : AxesOf(scene)) EXPECT_GE(axis->min(), -1.0);
  // An eye without a response gives no dominance, however strong the other eye's.
  EXPECT_TRUE(std::isnan(PointOf(LoggedRow(200, kNoResponse, 150, 0.2)).odi));
}

// The axis titles and tick labels on show that Qt cut to "..." for want of room.
std::vector<std::string> CutTexts(const QGraphicsScene& scene) {
  std::vector<std::string> cut;
  for (QGraphicsItem* item : scene.items()) {
    const auto* text = qgraphicsitem_cast<QGraphicsTextItem*>(item);
    if (text != nullptr && text->isVisible() && text->toPlainText().contains("...")) {
      cut.push_back(text->toPlainText().toStdString());
    }
  }
  return cut;
}

TEST(CourseChartView, CutsNoAxisTitleFromItsOpeningSizeDownToItsSmallest) {
  std::string error;
  ASSERT_TRUE(EnsureChartApplication(error)) << error;
  CourseChartView view;
  view.show();
  for (const QSize size : {QSize(640, 480), QSize(900, 600), QSize(520, 400), QSize(480, 360)}) {
    view.resize(size);
    QCoreApplication::processEvents();
    ASSERT_EQ(view.size(), size);
    for (const Course& course : {ThreePhases(), Course{}}) {
      view.Show(course);
      EXPECT_EQ(CutTexts(*view.scene()), std::vector<std::string>{})
          << size.width() << "x" << size.height();
    }
  }
}

// From the smallest size to the largest, every name of the key is there whole, and no axis title
// or tick label is cut.
TEST(ChartFile, EveryTextIsWholeAtEverySize) {
  TempDir dir;
  const std::string course = (dir.path() / "course.svg").string();
  const std::string ensemble = (dir.path() / "ensemble.svg").string();
  std::string error;
  for (const auto& [width, height] :
       std::vector<std::pair<int, int>>{{200, 150}, {400, 300}, {640, 480}, {8000, 6000}}) {
    ASSERT_TRUE(WriteCourseChart(Binocular(), course, width, height, error)) << error;
    ASSERT_TRUE(WriteEnsembleChart(TwoGroups(), ensemble, width, height, error)) << error;
    const std::string size = std::to_string(width) + "x" + std::to_string(height);
    for (const char* name : {"course.svg", "ensemble.svg"}) {
      EXPECT_EQ(dir.Read(name).find("..."), std::string::npos) << name << " " << size;
    }
    for (const char* key : {"left eye", "right eye", "left eye closed", "right eye closed",
                            "both eyes closed", "state loaded"}) {
      EXPECT_NE(dir.Read("course.svg").find(">" + std::string(key) + "<"), std::string::npos)
          << key << " " << size;
    }
    for (const char* key : {"right favoured", "left favoured"}) {
      EXPECT_NE(dir.Read("ensemble.svg").find(">" + std::string(key) + "<"), std::string::npos)
          << key << " " << size;
    }
  }
}
}  // namespace
