#include <gtest/gtest.h>
#include <malloc.h>

#include <cmath>
#include <stdexcept>
#include <vector>

#include "Bcm.h"
#include "CRand.h"
#include "LiteralNeuron.h"
#include "Stimuli.h"
#include "TrainingInput.h"

namespace {
// A one-input neuron answers exactly what we ask of it: the input is chosen as target / weight.
double Respond(BCMNeuron& neuron, double target) {
  return neuron.Output({target / neuron.Weights()[0]}, true);
}

}  // namespace

TEST(Construction, DrawsOneWeightPerInputFromTheGenerator) {
  runtime::srand(9);
  std::vector<double> expected;
  for (int i = 0; i < 24; ++i) expected.push_back(runtime::rand() * 0.15 / 32767);
  runtime::srand(9);
  const BCMNeuron neuron(24, 0.005, 10.0, 1000);
  EXPECT_EQ(neuron.Weights(), expected);
  for (double w : neuron.Weights()) {
    EXPECT_GE(w, 0.0);
    EXPECT_LE(w, 0.15);
  }
  EXPECT_EQ(neuron.HistoryLength(), 0U);
  EXPECT_EQ(neuron.Theta(), 0.0);
  EXPECT_EQ(neuron.Threshold(), 0.0);
}

TEST(Construction, RejectsImpossibleSizesBeforeDrawing) {
  runtime::srand(4);
  const int next = runtime::rand();
  runtime::srand(4);
  EXPECT_THROW(BCMNeuron(-1, 0.005, 10.0, 1000), std::invalid_argument);
  EXPECT_THROW(BCMNeuron(24, 0.005, 10.0, 0), std::invalid_argument);
  EXPECT_EQ(runtime::rand(), next);
}

TEST(Output, WithoutLearningChangesOnlyThePartialResponses) {
  runtime::srand(2);
  BCMNeuron neuron(24, 0.005, 10.0, 1000);
  neuron.Output(MakeNoise(24), true);
  const std::vector<double> weights = neuron.Weights();
  const double theta = neuron.Theta();
  const std::vector<double> input = Join(MakePattern(12, 4), MakePattern(12, 4));
  const double first = neuron.Output(input, false);
  EXPECT_EQ(neuron.Output(input, false), first);
  EXPECT_EQ(neuron.Weights(), weights);
  EXPECT_EQ(neuron.Theta(), theta);
  EXPECT_EQ(neuron.HistoryLength(), 1U);
  EXPECT_NEAR(neuron.yLeft + neuron.yRight, first, 1e-15);
}

TEST(Output, PartialSumsCoverTheTwoHalvesAndAnOddInputCountsInYOnly) {
  runtime::srand(3);
  BCMNeuron neuron(5, 0.005, 10.0, 1000);
  const std::vector<double> w = neuron.Weights();
  const std::vector<double> x = {1.0, 2.0, 3.0, 4.0, 5.0};
  const double y = neuron.Output(x, false);
  EXPECT_DOUBLE_EQ(neuron.yLeft, w[0] * 1.0 + w[1] * 2.0);
  EXPECT_DOUBLE_EQ(neuron.yRight, w[2] * 3.0 + w[3] * 4.0);
  EXPECT_DOUBLE_EQ(y, neuron.yLeft + neuron.yRight + w[4] * 5.0);
}

TEST(Output, InputOfTheWrongLengthThrowsNamingBothAndChangesNothing) {
  runtime::srand(5);
  BCMNeuron neuron(24, 0.005, 10.0, 1000);
  neuron.Output(MakeNoise(24), true);
  const double yLeft = neuron.yLeft;
  const std::vector<double> weights = neuron.Weights();
  for (std::size_t length : {0U, 23U, 25U}) {
    try {
      neuron.Output(std::vector<double>(length, 1.0), true);
      FAIL() << "no exception for length " << length;
    } catch (const std::invalid_argument& e) {
      EXPECT_NE(std::string(e.what()).find(std::to_string(length)), std::string::npos);
      EXPECT_NE(std::string(e.what()).find("24"), std::string::npos);
    }
  }
  EXPECT_EQ(neuron.yLeft, yLeft);
  EXPECT_EQ(neuron.Weights(), weights);
  EXPECT_EQ(neuron.HistoryLength(), 1U);
}

TEST(Learning, FirstCallSetsThetaToTheta0TimesYSquaredAndMovesWeightsByPhi) {
  for (const auto& [response, factor] : {std::pair{0.05, 0.00000625}, std::pair{0.2, -0.0002}}) {
    runtime::srand(6);
    BCMNeuron neuron(1, 0.005, 10.0, 1000);
    const double before = neuron.Weights()[0];
    const double x = response / before;
    neuron.Output({x}, true);
    EXPECT_NEAR(neuron.Theta(), 10.0 * response * response, 1e-15);
    EXPECT_NEAR((neuron.Weights()[0] - before) / x, factor, 1e-15);
    EXPECT_EQ(neuron.HistoryLength(), 1U);
  }
}

TEST(Learning, SecondCallWeighsTheOlderResponseByExpMinusOneHalf) {
  runtime::srand(8);
  BCMNeuron rising(1, 0.005, 10.0, 1000);
  Respond(rising, 0.5);
  Respond(rising, 1.0);
  EXPECT_NEAR(rising.Theta(), 7.16844, 5e-6);
  EXPECT_NEAR(rising.Theta(), 10 * (1.0 + std::exp(-0.5) * 0.25) / (1 + std::exp(-0.5)), 1e-14);

  BCMNeuron falling(1, 0.005, 10.0, 1000);
  Respond(falling, 1.0);
  Respond(falling, 0.5);
  EXPECT_NEAR(falling.Theta(), 5.33156, 5e-6);
}

TEST(Learning, ResponsesOlderThanTheWindowLeaveTheThreshold) {
  runtime::srand(10);
  for (int tau : {1, 4, 1000}) {
    BCMNeuron neuron(1, 0.005, 10.0, tau);
    Respond(neuron, 3.0);
    for (int i = 1; i < tau; ++i) Respond(neuron, 1.0);
    if (tau > 1) {
      EXPECT_GT(neuron.Theta(), 10.0 + 1e-3) << tau;
    }
    Respond(neuron, 1.0);  // drops the 3.0 out of the window
    EXPECT_NEAR(neuron.Theta(), 10.0, 1e-12) << tau;
  }
}

TEST(Learning, ZeroInputLeavesWeightsButStillCountsAResponse) {
  runtime::srand(12);
  BCMNeuron neuron(24, 0.005, 10.0, 1000);
  neuron.Output(MakeNoise(24), true);
  const std::vector<double> weights = neuron.Weights();
  EXPECT_EQ(neuron.Output(std::vector<double>(24, 0.0), true), 0.0);
  EXPECT_EQ(neuron.Weights(), weights);
  EXPECT_EQ(neuron.HistoryLength(), 2U);
}

// The fast threshold must follow the literal one through the filling phase (c < tau), the switch
// to a full window and well past it, on the stimulus stream of a run and on one with inputs
// doubled, whose threshold climbs past 10 within these steps.
TEST(Learning, AgreesWithTheLiteralThresholdWithin1e12AtEveryStep) {
  for (double scale : {1.0, 2.0}) {
    runtime::srand(13);
    BCMNeuron fast(24, 0.005, 10.0, 1000);
    runtime::srand(13);
    LiteralNeuron literal(24, 0.005, 10.0, 1000);
    double largest = 0.0;
    for (int step = 0; step < 3500; ++step) {
      // Scaled so that responses and threshold also reach the size they have in long runs.
      std::vector<double> input = NextTrainingInput();
      for (double& x : input) x *= scale;
      ASSERT_NEAR(fast.Output(input, true), literal.Output(input, true), 1e-12) << step;
      largest = std::max(largest, literal.Theta());
      ASSERT_NEAR(fast.Theta(), literal.Theta(), 1e-12) << "step " << step << " scale " << scale;
      const std::vector<double> w = fast.Weights();
      for (std::size_t i = 0; i < w.size(); ++i) ASSERT_NEAR(w[i], literal.Weights()[i], 1e-12);
    }
    EXPECT_GT(largest, scale > 1.0 ? 10.0 : 0.01) << "stream too quiet to test anything";
  }
}

TEST(Learning, HistoryStaysBoundedAndCountsEveryCall) {
  runtime::srand(14);
  BCMNeuron neuron(24, 0.005, 10.0, 1000);
  for (int i = 0; i < 2000; ++i) neuron.Output(MakeNoise(24), true);
  const std::size_t before = mallinfo2().uordblks;
  for (int i = 0; i < 100'000; ++i) neuron.Output(MakeNoise(24), true);
  EXPECT_EQ(neuron.HistoryLength(), 102'000U);
  EXPECT_LT(mallinfo2().uordblks, before + 1024);
}
