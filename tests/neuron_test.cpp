#include <gtest/gtest.h>
#include <malloc.h>

#include <cmath>
#include <functional>
#include <limits>
#include <stdexcept>
#include <vector>

#include "Bcm.h"
#include "CRand.h"
#include "LiteralNeuron.h"
#include "RandomDraws.h"
#include "ResponseHistory.h"
#include "Stimuli.h"
#include "TrainingInput.h"

namespace {
BCMNeuron Neuron(int n, int tau, runtime::CRand& generator) {
  return BCMNeuron(n, 0.005, 10.0, tau, 0.15, generator);
}

// A one-input neuron answers exactly what we ask of it: the input is chosen as target / weight.
double Respond(BCMNeuron& neuron, double target) {
  return neuron.Output({target / neuron.Weights()[0]}, true);
}

// The weighted mean square of the newest min(window, all) values, summed from scratch.
double LiteralMeanSquare(const std::vector<double>& all, int window) {
  const std::size_t c = std::min(all.size(), static_cast<std::size_t>(window));
  double numerator = 0.0, denominator = 0.0;
  for (std::size_t i = 0; i < c; ++i) {
    const double weight = std::exp(-static_cast<double>(i) / static_cast<double>(c));
    numerator += weight * all[all.size() - 1 - i] * all[all.size() - 1 - i];
    denominator += weight;
  }
  return numerator / denominator;
}
}  // namespace

TEST(Construction, DrawsOneWeightPerInputOnAGridUpToTheInitialWeight) {
  const std::vector<int> draws = Draws(9, 24);
  for (double largest : {0.15, 1.0, 0.0}) {
    runtime::CRand generator(9);
    const BCMNeuron neuron(24, 0.005, 10.0, 1000, largest, generator);
    ASSERT_EQ(neuron.Weights().size(), 24U);
    for (std::size_t i = 0; i < 24; ++i) {
      const double w = neuron.Weights()[i];
      EXPECT_GE(w, 0.0);
      EXPECT_LE(w, largest);
      if (largest > 0) {
        EXPECT_EQ(std::lround(w / largest * 32767), draws[i]) << i;
      }
    }
    EXPECT_EQ(neuron.HistoryLength(), 0U);
    EXPECT_EQ(neuron.Theta(), 0.0);
    EXPECT_EQ(neuron.Threshold(), 0.0);
  }
}

TEST(Construction, RejectsImpossibleSizesBeforeDrawing) {
  EXPECT_EQ(DrawsConsumedBy([](runtime::CRand& g) {
              EXPECT_THROW(Neuron(-1, 1000, g), std::invalid_argument);
              EXPECT_THROW(Neuron(24, 0, g), std::invalid_argument);
            }),
            0);
}

TEST(Output, WithoutLearningChangesOnlyThePartialResponses) {
  runtime::CRand generator(2);
  BCMNeuron neuron = Neuron(24, 1000, generator);
  neuron.Output(MakeNoise(24, generator, 0.05), true);
  const std::vector<double> weights = neuron.Weights();
  const double theta = neuron.Theta();
  const std::vector<double> input =
      Join(MakePattern(12, 4, generator, 0.05), MakePattern(12, 4, generator, 0.05));
  const double first = neuron.Output(input, false);
  EXPECT_EQ(neuron.Output(input, false), first);
  EXPECT_EQ(neuron.Weights(), weights);
  EXPECT_EQ(neuron.Theta(), theta);
  EXPECT_EQ(neuron.HistoryLength(), 1U);
  EXPECT_NEAR(neuron.yLeft + neuron.yRight, first, 1e-15);
}

TEST(Output, PartialSumsCoverTheTwoHalvesAndAnOddInputCountsInYOnly) {
  runtime::CRand generator(3);
  BCMNeuron neuron = Neuron(5, 1000, generator);
  const std::vector<double> w = neuron.Weights();
  const std::vector<double> x = {1.0, 2.0, 3.0, 4.0, 5.0};
  const double y = neuron.Output(x, false);
  EXPECT_DOUBLE_EQ(neuron.yLeft, w[0] * 1.0 + w[1] * 2.0);
  EXPECT_DOUBLE_EQ(neuron.yRight, w[2] * 3.0 + w[3] * 4.0);
  EXPECT_DOUBLE_EQ(y, neuron.yLeft + neuron.yRight + w[4] * 5.0);
}

TEST(Output, InputOfTheWrongLengthThrowsNamingBothAndChangesNothing) {
  runtime::CRand generator(5);
  BCMNeuron neuron = Neuron(24, 1000, generator);
  neuron.Output(MakeNoise(24, generator, 0.05), true);
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

// Worked by hand: theta = 10 y^2 after one response; phi = y (y - theta); dw = x phi rate.
TEST(Learning, FirstCallSetsThetaToTheta0TimesYSquaredAndMovesWeightsByPhi) {
  for (const auto& [response, factor] : {std::pair{0.05, 0.00000625}, std::pair{0.2, -0.0002}}) {
    runtime::CRand generator(6);
    BCMNeuron neuron = Neuron(1, 1000, generator);
    const double before = neuron.Weights()[0];
    const double x = response / before;
    neuron.Output({x}, true);
    EXPECT_NEAR(neuron.Theta(), 10.0 * response * response, 1e-15);
    EXPECT_NEAR((neuron.Weights()[0] - before) / x, factor, 1e-15);
    EXPECT_EQ(neuron.HistoryLength(), 1U);
  }
}

TEST(Learning, SecondCallWeighsTheOlderResponseByExpMinusOneHalf) {
  runtime::CRand generator(8);
  BCMNeuron rising = Neuron(1, 1000, generator);
  Respond(rising, 0.5);
  Respond(rising, 1.0);
  EXPECT_NEAR(rising.Theta(), 7.16844, 5e-6);
  EXPECT_NEAR(rising.Theta(), 10 * (1.0 + std::exp(-0.5) * 0.25) / (1 + std::exp(-0.5)), 1e-14);

  BCMNeuron falling = Neuron(1, 1000, generator);
  Respond(falling, 1.0);
  Respond(falling, 0.5);
  EXPECT_NEAR(falling.Theta(), 5.33156, 5e-6);
}

TEST(Learning, ResponsesOlderThanTheWindowLeaveTheThreshold) {
  runtime::CRand generator(10);
  for (int tau : {1, 4, 1000}) {
    BCMNeuron neuron = Neuron(1, tau, generator);
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
  runtime::CRand generator(12);
  BCMNeuron neuron = Neuron(24, 1000, generator);
  neuron.Output(MakeNoise(24, generator, 0.05), true);
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
    runtime::CRand fastDraws(13), literalDraws(13), inputs(99);
    BCMNeuron fast = Neuron(24, 1000, fastDraws);
    LiteralNeuron literal(24, 0.005, 10.0, 1000, 0.15, literalDraws);
    double largest = 0.0;
    for (int step = 0; step < 3500; ++step) {
      // Scaled so that responses and threshold also reach the size they have in long runs.
      std::vector<double> input = NextTrainingInput(inputs);
      for (double& x : input) x *= scale;
      ASSERT_NEAR(fast.Output(input, true), literal.Output(input, true), 1e-12) << step;
      largest = std::max(largest, literal.Theta());
      ASSERT_NEAR(fast.Theta(), literal.Theta(), 1e-12) << "step " << step << " scale " << scale;
      const std::vector<double>& w = fast.Weights();
      for (std::size_t i = 0; i < w.size(); ++i) ASSERT_NEAR(w[i], literal.Weights()[i], 1e-12);
    }
    EXPECT_GT(largest, scale > 1.0 ? 10.0 : 0.01) << "stream too quiet to test anything";
  }
}

TEST(Learning, HistoryStaysBoundedAndCountsEveryCall) {
  runtime::CRand generator(14);
  BCMNeuron neuron = Neuron(24, 1000, generator);
  for (int i = 0; i < 2000; ++i) neuron.Output(MakeNoise(24, generator, 0.05), true);
  const std::size_t before = mallinfo2().uordblks;
  for (int i = 0; i < 100'000; ++i) neuron.Output(MakeNoise(24, generator, 0.05), true);
  EXPECT_EQ(neuron.HistoryLength(), 102'000U);
  EXPECT_LT(mallinfo2().uordblks, before + 1024);
}

// A spike followed by tiny responses: once the spike has left the window, a running sum that
// merely subtracted it would be left with the spike's rounding error, many times the true sum.
TEST(ResponseHistory, StaysWithin1e12OfAFreshSumAfterSpikesOfAnySize) {
  for (double spike : {1e8, 1e-300, 0.0}) {
    for (double after : {1e-3, 0.0, 1.0}) {
      ResponseHistory history(1000);
      std::vector<double> all;
      auto append = [&](double response) {
        history.Append(response);
        all.push_back(response);
      };
      for (int i = 0; i < 1500; ++i) append(0.5);
      append(spike);
      double worst = 0.0;
      for (int i = 0; i < 2200; ++i) {
        append(after);
        const double expected = LiteralMeanSquare(all, 1000);
        const double error = std::abs(history.WeightedMeanSquare() - expected);
        worst = std::max(worst, expected > 0 ? error / expected : error);
      }
      EXPECT_LT(worst, 1e-12) << "spike " << spike << " then " << after;
    }
  }
}

TEST(ResponseHistory, RandomStreamsStayWithin1e12AtEveryStep) {
  runtime::CRand generator(31);
  for (int window : {1, 7, 128, 1000}) {
    ResponseHistory history(window);
    std::vector<double> all;
    for (int i = 0; i < 4000; ++i) {
      // Magnitudes spread over twelve decades, so that large terms come and go all the time.
      const double response = std::pow(10.0, generator.rand() % 13 - 6) * UniformRandom(generator);
      history.Append(response);
      all.push_back(response);
      const double expected = LiteralMeanSquare(all, window);
      ASSERT_NEAR(history.WeightedMeanSquare(), expected, 1e-12 * expected) << window << " " << i;
    }
    EXPECT_EQ(history.Length(), 4000U);
  }
}

TEST(ResponseHistory, SavedAndRestoredContinuesBitForBit) {
  for (int saveAfter : {0, 5, 1000, 1001, 5000}) {
    runtime::CRand generator(17);
    ResponseHistory original(1000);
    for (int i = 0; i < saveAfter; ++i) original.Append(UniformRandom(generator) * 3);
    ResponseHistory restored = ResponseHistory::Restore(1000, original.Save());
    EXPECT_EQ(restored.Length(), original.Length());
    for (int i = 0; i < 3000; ++i) {
      const double response = UniformRandom(generator) * 3;
      original.Append(response);
      restored.Append(response);
      ASSERT_EQ(restored.WeightedMeanSquare(), original.WeightedMeanSquare())
          << saveAfter << " " << i;
    }
  }
}

TEST(ResponseHistory, RestoredIntoAnotherWindowKeepsTheNewestResponses) {
  ResponseHistory wide(10);
  std::vector<double> all;
  for (int i = 1; i <= 25; ++i) {
    wide.Append(i * 0.1);
    all.push_back(i * 0.1);
  }
  const ResponseHistory narrow = ResponseHistory::Restore(4, wide.Save());
  EXPECT_NEAR(narrow.WeightedMeanSquare(), LiteralMeanSquare(all, 4), 1e-15);
  ResponseHistory wider = ResponseHistory::Restore(20, wide.Save());
  wider.Append(3.0);
  all.push_back(3.0);
  // Only ten responses were kept, so the wider window fills from those.
  const std::vector<double> kept(all.end() - 11, all.end());
  EXPECT_NEAR(wider.WeightedMeanSquare(), LiteralMeanSquare(kept, 20), 1e-15);
}

TEST(ResponseHistory, RestoreRejectsInconsistentStates) {
  ResponseHistory full(4);
  for (int i = 0; i < 9; ++i) full.Append(1.0 + i);
  const ResponseHistory::Saved good = full.Save();
  using Saved = ResponseHistory::Saved;
  const std::function<void(Saved&)> damages[] = {
      [](Saved& s) { s.length = 3; },
      [](Saved& s) { s.squares[1] = -1.0; },
      [](Saved& s) { s.squares[2] = std::numeric_limits<double>::quiet_NaN(); },
      [](Saved& s) { s.sum *= 2; },
      [](Saved& s) { s.sinceRefresh = 128; },
      [](Saved& s) { s.peak = s.sum / 2; },
  };
  for (const auto& damage : damages) {
    Saved bad = good;
    damage(bad);
    EXPECT_THROW(ResponseHistory::Restore(4, bad), std::invalid_argument);
  }
  EXPECT_EQ(ResponseHistory::Restore(4, good).WeightedMeanSquare(), full.WeightedMeanSquare());
}

TEST(SavedNeuron, ContinuesBitForBitAndRejectsNonFiniteValues) {
  runtime::CRand generator(21), inputs(5);
  BCMNeuron original = Neuron(24, 1000, generator);
  for (int i = 0; i < 1500; ++i) original.Output(NextTrainingInput(inputs), true);
  BCMNeuron restored = BCMNeuron::Restore(original.Save(), 0.005, 10.0, 1000);
  EXPECT_EQ(restored.yLeft, original.yLeft);
  for (int i = 0; i < 500; ++i) {
    const std::vector<double> input = NextTrainingInput(inputs);
    ASSERT_EQ(restored.Output(input, true), original.Output(input, true));
  }
  EXPECT_EQ(restored.Weights(), original.Weights());
  EXPECT_EQ(restored.Theta(), original.Theta());
  for (const bool weight : {true, false}) {
    BCMNeuron::Saved bad = original.Save();
    (weight ? bad.weights[3] : bad.theta) =
        weight ? std::numeric_limits<double>::infinity() : std::numeric_limits<double>::quiet_NaN();
    EXPECT_THROW(BCMNeuron::Restore(bad, 0.005, 10.0, 1000), std::invalid_argument) << weight;
  }
}

namespace {
// Two inputs with weights 0.1 and 0.2, rate 0.005, theta0 10, and no response yet.
BCMNeuron Known(LearningRule rule, std::vector<double> weights = {0.1, 0.2}) {
  BCMNeuron::Saved saved;
  saved.weights = std::move(weights);
  return BCMNeuron::Restore(saved, 0.005, 10.0, 1000, rule);
}

double Length(const std::vector<double>& w) {
  double squares = 0.0;
  for (const double wi : w) squares += wi * wi;
  return std::sqrt(squares);
}
}  // namespace

// Each rule's first step on x = (1, 0.5), worked by hand: y = 0.1 + 0.1 = 0.2, theta = 10 y² = 0.4.
TEST(RuleBcm, StepIsRateTimesXTimesYTimesYMinusTheta) {
  BCMNeuron neuron = Known(LearningRule::kBcm);
  neuron.Output({1.0, 0.5}, true);
  EXPECT_NEAR(neuron.Theta(), 0.4, 1e-15);
  // 0.005 * x * 0.2 * (0.2 - 0.4) = -0.0002 x
  EXPECT_NEAR(neuron.Weights()[0], 0.0998, 1e-15);
  EXPECT_NEAR(neuron.Weights()[1], 0.1999, 1e-15);
}

TEST(RuleLawCooper, StepIsBcmsDividedByTheta) {
  BCMNeuron neuron = Known(LearningRule::kLawCooper);
  neuron.Output({1.0, 0.5}, true);
  // 0.005 * x * 0.2 * (0.2 - 0.4) / 0.4 = -0.0005 x
  EXPECT_NEAR(neuron.Weights()[0], 0.0995, 1e-15);
  EXPECT_NEAR(neuron.Weights()[1], 0.19975, 1e-15);
}

// A silent first response makes theta 0, where the step would be 0 / 0: that step learns nothing,
// and the next one learns as usual from the history that includes it.
TEST(RuleLawCooper, TheStepThatSeesThetaZeroDoesNotLearn) {
  BCMNeuron neuron = Known(LearningRule::kLawCooper, {0.1, -0.1});
  EXPECT_EQ(neuron.Output({1.0, 1.0}, true), 0.0);
  EXPECT_EQ(neuron.Theta(), 0.0);
  EXPECT_EQ(neuron.Weights(), (std::vector<double>{0.1, -0.1}));
  neuron.Output({1.0, 0.0}, true);  // y = 0.1, after a response of 0 one step back
  const double theta = 10 * 0.01 / (1 + std::exp(-0.5));
  EXPECT_NEAR(neuron.Theta(), theta, 1e-15);
  EXPECT_NEAR(neuron.Weights()[0], 0.1 + 0.005 * 0.1 * (0.1 - theta) / theta, 1e-15);
  EXPECT_EQ(neuron.Weights()[1], -0.1);
}

TEST(RuleOja, StepIsRateTimesYTimesXMinusYW) {
  BCMNeuron neuron = Known(LearningRule::kOja);
  neuron.Output({1.0, 0.5}, true);
  EXPECT_NEAR(neuron.Theta(), 0.4, 1e-15) << "theta is kept as bcm's";
  // 0.005 * 0.2 * (1 - 0.2 * 0.1) and 0.005 * 0.2 * (0.5 - 0.2 * 0.2)
  EXPECT_NEAR(neuron.Weights()[0], 0.10098, 1e-15);
  EXPECT_NEAR(neuron.Weights()[1], 0.20046, 1e-15);
}

// Oja's normalisation: on a stationary stream the weight vector's length goes to 1 and stays
// there, from a start far below it.
TEST(RuleOja, KeepsTheWeightVectorsLengthNearOneOnAStationaryStream) {
  runtime::CRand generator(3), inputs(4);
  BCMNeuron oja(24, 0.005, 10.0, 1000, 0.15, generator, LearningRule::kOja);
  EXPECT_LT(Length(oja.Weights()), 0.5);
  for (int i = 0; i < 10000; ++i) oja.Output(NextTrainingInput(inputs), true);
  for (int i = 0; i < 5000; ++i) {
    oja.Output(NextTrainingInput(inputs), true);
    ASSERT_NEAR(Length(oja.Weights()), 1.0, 0.01) << i;
  }
}
