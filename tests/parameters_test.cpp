#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "CommandLine.h"
#include "Eventually.h"
#include "FreeSpaceGuard.h"
#include "Parameters.h"
#include "Probe.h"
#include "RunLogs.h"
#include "ScriptedHost.h"
#include "Simulation.h"
#include "TempDir.h"
#include "TextLines.h"
#include "TrainingRun.h"

namespace {
constexpr std::size_t kSteps = 4000;

Parameters With(const std::string& name, const std::string& value) {
  Parameters parameters;
  SetParameter(parameters, *FindParameterOption(name), value);
  return parameters;
}

// The inputs a simulation draws over kSteps steps with the eye boxes given.
std::vector<std::vector<double>> Inputs(const Parameters& parameters, bool left, bool right) {
  Simulation simulation(77, parameters);
  std::vector<std::vector<double>> inputs;
  for (std::size_t step = 0; step < kSteps; ++step) {
    inputs.push_back(DrawTrainingInput(simulation, left, right));
  }
  return inputs;
}

std::vector<double> Half(const std::vector<double>& input, bool left) {
  return left ? std::vector<double>(input.begin(), input.begin() + 12)
              : std::vector<double>(input.begin() + 12, input.end());
}

bool IsPattern(const std::vector<double>& eye) {
  return std::any_of(eye.begin(), eye.end(), [](double x) { return x > 0.25; });
}
}  // namespace

TEST(Parameters, DefaultsAreTheClassicConstantsAndReadBackExactly) {
  const Parameters defaults;
  EXPECT_EQ(NonDefaultParameters(defaults), "");
  EXPECT_EQ(ParameterProblem(defaults), "");
  Parameters copy;
  for (const ParameterOption& option : ParameterOptions()) {
    SetParameter(copy, option, option.get(defaults));
  }
  copy.closedNoise.reset();  // set explicitly to the default above
  EXPECT_EQ(copy, defaults);
  EXPECT_EQ(NonDefaultParameters(With("rate", "0.01")), "--rate 0.01");
  EXPECT_EQ(With("closed-noise", "0").ClosedNoise(), 0.0);
  EXPECT_EQ(With("noise", "0.1").ClosedNoise(), 0.1) << "closed-noise follows --noise";
}

// Inactivation against lid suture: the closed eye's amplitude changes its inputs and nothing else.
TEST(ClosedEyeNoise, ZeroSilencesTheClosedEyeAndLeavesTheOpenEyesStimuliAsTheyWere) {
  const auto classic = Inputs({}, true, false);
  const auto silenced = Inputs(With("closed-noise", "0"), true, false);
  const auto strong = Inputs(With("closed-noise", "0.1"), true, false);
  int patterns = 0;
  for (std::size_t step = 0; step < kSteps; ++step) {
    EXPECT_EQ(Half(silenced[step], true), Half(classic[step], true)) << step;
    EXPECT_EQ(Half(strong[step], true), Half(classic[step], true)) << step;
    for (double x : Half(silenced[step], false)) ASSERT_EQ(x, 0.0) << step;
    for (std::size_t i = 12; i < 24; ++i) {
      // Same draws, twice the amplitude.
      ASSERT_NEAR(strong[step][i], 2 * classic[step][i], 1e-15) << step;
    }
    patterns += IsPattern(Half(classic[step], true));
  }
  EXPECT_GT(patterns, static_cast<int>(kSteps / 10))
      << "the open eye saw too few patterns to test anything";
}

TEST(ClosedEyeNoise, ReachesNeitherTheProbeNorAnOpenEye) {
  const auto both = Inputs(With("closed-noise", "0"), true, true);
  EXPECT_EQ(both, Inputs({}, true, true));
  Simulation classic(9), silenced(9, With("closed-noise", "0"));
  EXPECT_EQ(ListingLines(CheckItOutResponses(silenced)),
            ListingLines(CheckItOutResponses(classic)));
}

TEST(StimulusParameters, NoiseAndPatternRateChangeOnlyWhatTheySay) {
  for (const auto& input : Inputs(With("pattern-rate", "0"), true, true)) {
    ASSERT_FALSE(IsPattern(Half(input, true)) || IsPattern(Half(input, false)));
  }
  int patterns = 0;
  for (const auto& input : Inputs(With("pattern-rate", "1"), true, true)) {
    patterns += IsPattern(Half(input, true));
  }
  EXPECT_GE(patterns, static_cast<int>(kSteps) - 2) << "only a draw of exactly 1.0 shows noise";
  const auto classic = Inputs({}, true, true);
  const auto wide = Inputs(With("noise", "0.5"), true, true);
  for (std::size_t step = 0; step < kSteps; ++step) {
    if (IsPattern(Half(classic[step], true))) continue;
    for (std::size_t i = 0; i < 24; ++i) ASSERT_NEAR(wide[step][i], 10 * classic[step][i], 1e-14);
  }
}

TEST(NeuronParameters, RateThetaZeroTauAndInitialWeightsActAsTheirNamesSay) {
  Simulation classic(3), scaled(3, With("init-weights", "0.3"));
  for (std::size_t i = 0; i < 24; ++i) {
    EXPECT_DOUBLE_EQ(scaled.neuron().Weights()[i], 2 * classic.neuron().Weights()[i]);
  }
  Simulation fast(3, With("rate", "0.01")), high(3, With("theta0", "20"));
  const std::vector<double> input(24, 0.5);
  const std::vector<double> before = classic.neuron().Weights();
  const double y = classic.neuron().Output(input, true);
  fast.neuron().Output(input, true);
  high.neuron().Output(input, true);
  EXPECT_DOUBLE_EQ(high.neuron().Theta(), 20 * y * y);
  for (std::size_t i = 0; i < 24; ++i) {
    EXPECT_NEAR(fast.neuron().Weights()[i] - before[i],
                2 * (classic.neuron().Weights()[i] - before[i]), 1e-15);
  }
  Simulation memoryless(3, With("tau", "1"));
  for (double x : {0.1, 0.7, 0.3}) {
    const double response = memoryless.neuron().Output(std::vector<double>(24, x), true);
    EXPECT_DOUBLE_EQ(memoryless.neuron().Theta(), 10 * response * response);
  }
}

TEST(NeuronParameters, NewParametersReachTheNeuronAtTheNextReset) {
  Simulation simulation(4);
  Parameters changed = With("init-weights", "0");
  changed.rule = LearningRule::kOja;
  simulation.SetParameters(changed);
  EXPECT_NE(simulation.neuron().Weights(), std::vector<double>(24, 0.0)) << "changed mid-neuron";
  EXPECT_EQ(simulation.neuron().Rule(), LearningRule::kBcm);
  EXPECT_EQ(simulation.learning().rule, LearningRule::kBcm);
  simulation.ResetNeuron();
  EXPECT_EQ(simulation.neuron().Weights(), std::vector<double>(24, 0.0));
  EXPECT_EQ(simulation.neuron().Rule(), LearningRule::kOja);
  Parameters bad;
  bad.tau = 0;
  EXPECT_THROW(simulation.SetParameters(bad), std::invalid_argument);
  EXPECT_EQ(simulation.parameters(), changed);
}

TEST(LogEvery, LogsAndProbesEveryKthStepOfEachRun) {
  TempDir dir;
  Simulation simulation(8, With("log-every", "7"));
  ScriptedHost host;
  {
    RunLogs logs(dir.path().string());
    host.At(30, [&simulation] { simulation.RequestStop(); });
    TrainingRun(simulation, host, logs);
  }
  EXPECT_EQ(Lines(dir.Read("log.txt")), 5);
  std::istringstream summaries(dir.Read("log-learn-2.txt"));
  std::vector<int> steps;
  for (std::string line; std::getline(summaries, line);) steps.push_back(std::stoi(line));
  EXPECT_EQ(steps, (std::vector<int>{0, 7, 14, 21, 28}));
}

// A disk that runs short: the logs end whole before the next batch of logged steps, said once,
// and the run goes on.
TEST(FreeSpace, ShortDiskClosesTheLogsWholeOnceAndTheRunGoesOn) {
  TempDir dir;
  std::atomic<std::uint64_t> free = std::uint64_t{4} << 30;  // the writer thread asks
  auto probe = [&free](const std::string&) {
    return std::optional<FreeSpaceGuard::Space>({free, std::uint64_t{100} << 30});
  };
  Simulation simulation(2);
  ScriptedHost host;
  ::testing::internal::CaptureStderr();
  {
    RunLogs logs(dir.path().string(), "orvel-batch",
                 FreeSpaceGuard(dir.path().string(), probe, std::chrono::milliseconds(0)));
    // Once steps 0 and 100 are written: the writer asks before each batch, not each step.
    host.At(150, [&free, &dir] {
      EXPECT_TRUE(Eventually([&dir] { return Lines(dir.Read("log.txt")) == 2; }));
      free = std::uint64_t{1} << 29;  // 0.5 GiB of 100
    });
    host.At(2500, [&simulation] { simulation.RequestStop(); });
    TrainingRun(simulation, host, logs);
    // Seen on this thread, as the window's status bar sees it, while the logs are still open.
    EXPECT_TRUE(Eventually([&logs] { return logs.Failed(); }));
    EXPECT_EQ(logs.Notice(), "logs stopped: disk nearly full");
  }
  const std::string errors = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(Lines(errors), 1) << errors;
  EXPECT_EQ(errors.rfind("orvel-batch: the log folder's disk is nearly full (512 MiB free)", 0), 0U)
      << errors;
  EXPECT_EQ(simulation.neuron().HistoryLength(), 2500U);
  // Steps 0 and 100 were logged before the disk ran short at step 149.
  EXPECT_EQ(Lines(dir.Read("log-learn-2.txt")), 2);
  EXPECT_EQ(Lines(dir.Read("log-learn.txt")), 2);
  EXPECT_EQ(Lines(dir.Read("log.txt")), 2);
}

TEST(FreeSpace, SmallDisksNeedFivePercentAndLargeOnesOneGibibyte) {
  auto roomy = [](std::uint64_t free, std::uint64_t total) {
    return FreeSpaceGuard(".",
                          [=](const std::string&) {
                            return std::optional<FreeSpaceGuard::Space>({free, total});
                          })
        .Enough();
  };
  constexpr std::uint64_t kMiB = 1 << 20;
  EXPECT_TRUE(roomy(1024 * kMiB, 1000 * 1024 * kMiB));
  EXPECT_FALSE(roomy(1023 * kMiB, 1000 * 1024 * kMiB));
  EXPECT_TRUE(roomy(5 * kMiB, 100 * kMiB));
  EXPECT_FALSE(roomy(4 * kMiB, 100 * kMiB));
  EXPECT_TRUE(
      FreeSpaceGuard(".", [](const std::string&) { return std::optional<FreeSpaceGuard::Space>(); })
          .Enough())
      << "a folder that cannot be measured must not stop the logs";
}

// A state saved while new neuron constants wait for the next reset must still continue exactly.
TEST(NeuronParameters, AStateSavedBeforeTheResetKeepsTheConstantsTheNeuronLearnsWith) {
  Simulation simulation(5);
  for (int i = 0; i < 1200; ++i)
    simulation.neuron().Output(DrawTrainingInput(simulation, true, true), true);
  simulation.SetParameters(With("tau", "10"));
  const Simulation::Saved saved = simulation.Save(true, true);
  EXPECT_EQ(saved.parameters.tau, 1000);
  Simulation restored(9);
  restored.Restore(saved);
  for (int i = 0; i < 500; ++i) {
    const std::vector<double> input = DrawTrainingInput(simulation, true, true);
    ASSERT_EQ(restored.neuron().Output(input, true), simulation.neuron().Output(input, true)) << i;
  }
}
