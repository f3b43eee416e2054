#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "Bcm.h"
#include "CRand.h"
#include "Canvas.h"
#include "ExpectedPlot.h"
#include "NeuronPanels.h"
#include "Parameters.h"
#include "StatusPanels.h"
#include "WeightPlot.h"

namespace {
constexpr int kWidth = 369, kHeight = 121;

struct RecordedPanels : StatusPanels {
  void SetPanelText(int index, const std::string& text) override { texts[index] = text; }
  std::map<int, std::string> texts;
};

struct Plot {
  explicit Plot(const std::vector<double>& weights, double theta = 0.0,
                const Parameters& parameters = {})
      : bitmap(kWidth, kHeight) {
    TCanvas canvas(bitmap);
    DrawWeightPlot(weights, theta, canvas);
    NeuronPanels().Write(theta, parameters, parameters, panels);
  }
  Bitmap bitmap;
  RecordedPanels panels;
};

// Rows of column x in the given colour.
std::vector<int> RowsOf(const Bitmap& bitmap, int x, TColor color) {
  std::vector<int> rows;
  for (int y = 0; y < bitmap.Height(); ++y) {
    if (bitmap.ColorAt(x, y) == color) rows.push_back(y);
  }
  return rows;
}

std::vector<int> Range(int first, int last) {
  std::vector<int> rows;
  for (int y = first; y <= last; ++y) rows.push_back(y);
  return rows;
}
}  // namespace

TEST(WeightPlot, DrawsBarsThresholdAndDividerPixelForPixel) {
  std::vector<double> weights;
  for (int i = 0; i < 24; ++i) weights.push_back(0.01 * i - 0.05);
  EXPECT_EQ(Plot(weights, 2.5).bitmap, ExpectedPlot(weights, 55));

  runtime::CRand generator(3);
  const BCMNeuron fresh(24, 0.005, 10.0, 1000, 0.15, generator);
  Bitmap drawn(kWidth, kHeight);
  TCanvas canvas(drawn);
  DeferWeightPlot(fresh, canvas);
  canvas.Flush();
  EXPECT_EQ(drawn, ExpectedPlot(fresh.Weights(), 80));
}

TEST(WeightPlot, BarsRiseOrHangFromTheBaselineAndTruncateTowardZero) {
  auto barRows = [](double weight) {
    std::vector<double> weights(24, 0.0);
    weights[3] = weight;
    const Bitmap bitmap = Plot(weights, 100.0).bitmap;    // threshold line far above the image
    std::vector<int> rows = RowsOf(bitmap, 50, clBlack);  // left outline of bar 3
    return rows;
  };
  EXPECT_EQ(barRows(0.123), Range(67, 79));
  EXPECT_EQ(barRows(-0.123), Range(80, 91));
  EXPECT_TRUE(barRows(-0.009).empty());
  EXPECT_EQ(barRows(0.009), Range(79, 79));
  EXPECT_EQ(barRows(0.8), Range(0, 79));
  EXPECT_EQ(barRows(0.805), Range(0, 79));
  EXPECT_EQ(barRows(-0.41), Range(80, 120));
}

TEST(WeightPlot, ThresholdLineSitsTenPixelsPerUnitAboveTheBaseline) {
  const std::vector<double> none(24, 0.0);
  EXPECT_EQ(RowsOf(Plot(none, 0.0).bitmap, 2, clSilver), Range(80, 80));
  EXPECT_EQ(RowsOf(Plot(none, 2.5).bitmap, 2, clSilver), Range(55, 55));
  EXPECT_EQ(RowsOf(Plot(none, 8.0).bitmap, 368, clSilver), Range(0, 0));
  EXPECT_TRUE(RowsOf(Plot(none, 9.0).bitmap, 2, clSilver).empty());
}

TEST(WeightPlot, DividerAndBarsKeepTheirColumns) {
  const Plot plot(std::vector<double>(24, 0.5));
  EXPECT_EQ(RowsOf(plot.bitmap, 182, clRed), Range(0, 120));
  EXPECT_EQ(plot.bitmap.ColorAt(5, 60), clBlack);
  EXPECT_EQ(plot.bitmap.ColorAt(359, 60), clBlack);
  EXPECT_EQ(plot.bitmap.ColorAt(360, 60), clWhite);
  EXPECT_EQ(plot.bitmap.ColorAt(4, 60), clWhite);
  EXPECT_EQ(plot.bitmap.ColorAt(180, 60), clWhite);  // gap after bar 11 (columns 170..179)
}

TEST(WeightPlot, DrawingTwiceGivesTheSamePixelsWhateverTheCanvasHeld) {
  const std::vector<double> weights(24, 0.07);
  Bitmap bitmap(kWidth, kHeight);
  TCanvas canvas(bitmap);
  canvas.SetPenColor(0x00FFFF);
  canvas.SetBrushColor(0xFF00FF);
  canvas.Rectangle(0, 0, 300, 100);
  DrawWeightPlot(weights, 1.0, canvas);
  const Bitmap first = bitmap;
  DrawWeightPlot(weights, 1.0, canvas);
  EXPECT_EQ(bitmap, first);
  EXPECT_EQ(first, ExpectedPlot(weights, 70));
}

// Fitted, the tallest bar or the threshold line reaches row 12, the first below the scale's note,
// or the deepest bar the bottom edge, whichever comes first; with nothing to fit, the classic
// scale stays.
TEST(WeightPlot, FittedScaleBringsTheLargestWeightAndTheThresholdInside) {
  std::vector<double> weights(24, 0.0);
  weights[3] = 2.0;
  weights[5] = 1.0;
  weights[20] = -0.5;
  ASSERT_EQ(FittedPixelsPerUnit(weights, 5.0), 34);  // 68 rows / 2.0
  Bitmap bitmap(kWidth, kHeight);
  TCanvas canvas(bitmap);
  DrawWeightPlot(weights, 5.0, canvas, 34);
  EXPECT_EQ(RowsOf(bitmap, 50, clBlack), Range(12, 79));   // 80 - 2.0 * 34
  EXPECT_EQ(RowsOf(bitmap, 80, clBlack), Range(46, 79));   // 80 - 1.0 * 34
  EXPECT_EQ(RowsOf(bitmap, 305, clBlack), Range(80, 96));  // 80 + 0.5 * 34, exclusive
  EXPECT_EQ(RowsOf(bitmap, 2, clSilver), Range(63, 63));   // 80 - 5.0 * 34 / 10

  EXPECT_EQ(FittedPixelsPerUnit(weights, 400.0), 1);     // the threshold is the tallest: 68 / 40
  EXPECT_EQ(FittedPixelsPerUnit({0.1, -1.0}, 0.0), 41);  // 41 rows below the baseline
  EXPECT_EQ(FittedPixelsPerUnit(std::vector<double>(24, 0.0), 0.0), 100);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(FittedPixelsPerUnit({nan, 0.5}, nan), 136);
}

// The panels keep the constants' texts between writes: a change of any parameter, and back, must
// still reach them.
TEST(WeightPlot, PanelsShowTheThresholdAndFollowEveryChangeOfTheRunsConstants) {
  const std::map<int, std::string> classic = {{1, "th: 0.01235"},
                                              {2, "learn.: 0.0050"},
                                              {3, "tau: 1000"},
                                              {4, "theta0: 10.0"},
                                              {5, "noise: -0.050..0.050"}};
  NeuronPanels neuronPanels;
  RecordedPanels panels;
  neuronPanels.Write(0.0123456, Parameters{}, Parameters{}, panels);
  EXPECT_EQ(panels.texts, classic);
  Parameters other;
  other.rate = 0.0125;
  other.tau = 250;
  neuronPanels.Write(1.0, other, other, panels);
  EXPECT_EQ(panels.texts.at(2) + " " + panels.texts.at(3), "learn.: 0.0125 tau: 250");
  other.theta0 = 2.5;
  other.noise = 0.1;
  other.closedNoise = 0.0;
  neuronPanels.Write(1.0, other, other, panels);
  EXPECT_EQ(panels.texts, (std::map<int, std::string>{{1, "th: 1.00000"},
                                                      {2, "learn.: 0.0125"},
                                                      {3, "tau: 250"},
                                                      {4, "theta0: 2.5"},
                                                      {5, "noise: -0.100..0.100"}}));
  // Learning with the defaults while other waits for Reset Weights; noise has no wait.
  neuronPanels.Write(1.0, Parameters{}, other, panels);
  EXPECT_EQ(panels.texts.at(2) + " " + panels.texts.at(3) + " " + panels.texts.at(4) + " " +
                panels.texts.at(5),
            "learn.: 0.0050\u21920.0125 tau: 1000\u2192250 theta0: 10.0\u21922.5 noise: "
            "-0.100..0.100");
  neuronPanels.Write(0.0123456, Parameters{}, Parameters{}, panels);
  EXPECT_EQ(panels.texts, classic);
}

TEST(WeightPlot, NonFiniteAndHugeValuesDrawSafely) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  std::vector<double> weights = {nan, inf, -inf, 1e300, -1e300, 2.2e7, -2.2e7};
  weights.resize(24, 0.0);
  for (double theta : {nan, inf, -inf, 1e300}) {
    const Plot plot(weights, theta);
    EXPECT_EQ(RowsOf(plot.bitmap, 20, clBlack), Range(0, 79));  // +inf reaches the top
    EXPECT_EQ(RowsOf(plot.bitmap, 35, clBlack), Range(80, 120));
    EXPECT_TRUE(RowsOf(plot.bitmap, 5, clBlack).empty());  // NaN sits on the baseline
  }
  EXPECT_EQ(Plot(weights, nan).panels.texts.at(1), "th: nan");
  EXPECT_EQ(PlotCoordinate(1e300), 1'000'000);
  EXPECT_EQ(PlotCoordinate(-0.5), 0);
}
