#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "BatchOptions.h"
#include "ParametersDialog.h"
#include "Program.h"
#include "Random.h"
#include "Refusal.h"
#include "RunRecord.h"
#include "Session.h"
#include "Simulation.h"
#include "StateFile.h"
#include "TempDir.h"
#include "WindowOptions.h"

namespace fs = std::filesystem;
using runtime::GeneratorKind;
using Json = nlohmann::json;

namespace {
template <class Generator>
std::vector<int> FirstDraws(Generator generator, int count) {
  std::vector<int> draws;
  for (int i = 0; i < count; ++i) draws.push_back(generator.rand());
  return draws;
}

Json ReadJson(const fs::path& path) {
  std::ifstream in(path);
  return Json::parse(in);
}

std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The neuron of a state orvel-batch saves at the end of the actions.
Json FinalNeuron(const std::string& options, const std::string& actions) {
  TempDir dir;
  const Outcome outcome = RunBatch(
      "--quiet --logs none --seed 5 " + options + " " + actions + " save=end.json", dir.path());
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  return ReadJson(dir.path() / "end.json")["neuron"];
}

// log-learn.txt of a run of 5000 steps logged every `every` steps.
std::vector<std::string> WeightLines(const std::string& generator, int every) {
  TempDir dir;
  const Outcome outcome = RunBatch("--quiet --seed 5 --generator " + generator + " --log-every " +
                                       std::to_string(every) + " run=5000",
                                   dir.path());
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  return LinesOf(dir.Read("log-learn.txt"));
}

double Mean(const std::vector<double>& values) {
  double sum = 0.0;
  for (const double value : values) sum += value;
  return sum / static_cast<double>(values.size());
}

double SampleSd(const std::vector<double>& values) {
  const double mean = Mean(values);
  double squares = 0.0;
  for (const double value : values) squares += (value - mean) * (value - mean);
  return std::sqrt(squares / static_cast<double>(values.size() - 1));
}

double Correlation(const std::vector<double>& x, const std::vector<double>& y) {
  const double mx = Mean(x), my = Mean(y);
  double xy = 0.0, xx = 0.0, yy = 0.0;
  for (std::size_t i = 0; i < x.size(); ++i) {
    xy += (x[i] - mx) * (y[i] - my);
    xx += (x[i] - mx) * (x[i] - mx);
    yy += (y[i] - my) * (y[i] - my);
  }
  return xy / std::sqrt(xx * yy);
}
}  // namespace

// The authors' published vector, SplitMix64's, and the two streams of seed 1, all as literals.
TEST(Pcg32, MatchesThePublishedVectorAndGivesEachSeedTwoStreams) {
  runtime::Pcg32 reference(42, 54);
  for (const std::uint32_t expected : {0xa15c02b7U, 0x7b47f409U, 0xba1d3330U, 0x83d2f293U}) {
    EXPECT_EQ(reference.Next(), expected);
  }
  EXPECT_EQ(runtime::SplitMix64(1), 0x910a2dec89025cc1ULL);
  EXPECT_EQ(FirstDraws(runtime::Random::Training(GeneratorKind::kPcg32, 1), 4),
            (std::vector<int>{7916, 29775, 14022, 1602}));
  EXPECT_EQ(FirstDraws(runtime::Random::Measurement(GeneratorKind::kPcg32, 1), 4),
            (std::vector<int>{765, 15597, 26362, 27002}));
  // Many draws at once are the single draws, and leave the generator where they would.
  for (std::size_t count = 0; count <= 9; ++count) {
    runtime::Pcg32 single(7, 8), many(7, 8);
    std::vector<int> drawn(count);
    many.DrawMany(count, [&drawn](std::size_t i, int r) { drawn[i] = r; });
    EXPECT_EQ(drawn, FirstDraws(single, static_cast<int>(count))) << count;
    for (std::size_t i = 0; i < count; ++i) single.rand();
    EXPECT_EQ(many, single) << count;
  }
  // The neuron's first weight is the training stream's first draw; classic's both streams are
  // its one stream.
  EXPECT_EQ(Simulation(1, {}, GeneratorKind::kPcg32).neuron().Weights()[0], 7916 * 0.15 / 32767);
  EXPECT_EQ(runtime::Random::Measurement(GeneratorKind::kClassic, 9),
            runtime::Random(runtime::CRand(9)));
}

// With pcg32 looking never changes what is seen: neither a check between runs nor how often the
// probe measures. With classic both shift the one stream, as they always have.
TEST(Pcg32, MeasuringDrawsFromItsOwnStreamAndClassicFromTheOneStream) {
  EXPECT_EQ(FinalNeuron("--generator pcg32", "run=50000 check run=50000")["weights"],
            FinalNeuron("--generator pcg32", "run=100000")["weights"]);
  EXPECT_NE(FinalNeuron("--generator classic", "run=50000 check run=50000")["weights"],
            FinalNeuron("--generator classic", "run=100000")["weights"]);

  for (const std::string generator : {"pcg32", "classic"}) {
    const std::vector<std::string> often = WeightLines(generator, 100);
    const std::vector<std::string> seldom = WeightLines(generator, 1000);
    ASSERT_EQ(often.size(), 50U);
    ASSERT_EQ(seldom.size(), 5U);
    int same = 0;
    for (std::size_t k = 0; k < seldom.size(); ++k) same += seldom[k] == often[10 * k];
    EXPECT_EQ(same, generator == "pcg32" ? 5 : 1) << generator << ": only step 0 agrees";
  }
}

// Consecutive seeds of the classic generator start with streams a fixed step apart, so the third
// initial weight barely varies over seeds; pcg32's seeds give weights as varied as uniform draws
// on [0, 0.15] (SD 0.15 / sqrt(12) = 0.0433) and unrelated to the seed number.
TEST(Pcg32, InitialWeightsVaryOverSeedsAsIndependentDrawsWould) {
  std::vector<double> seeds;
  std::vector<std::vector<double>> weights(24), classic(24);
  for (std::uint32_t seed = 1; seed <= 40; ++seed) {
    seeds.push_back(seed);
    const std::vector<double> pcg = Simulation(seed, {}, GeneratorKind::kPcg32).neuron().Weights();
    const std::vector<double> old = Simulation(seed).neuron().Weights();
    for (std::size_t i = 0; i < 24; ++i) {
      weights[i].push_back(pcg[i]);
      classic[i].push_back(old[i]);
    }
  }
  for (std::size_t i = 0; i < 24; ++i) {
    EXPECT_NEAR(SampleSd(weights[i]), 0.0433, 0.25 * 0.0433) << "weight " << i;
    EXPECT_LT(std::abs(Correlation(weights[i], seeds)), 0.45) << "weight " << i;
  }
  EXPECT_LT(SampleSd(classic[2]), 0.01);
  EXPECT_GT(Correlation(classic[2], seeds), 0.99);
}

// A pcg32 state holds both streams and continues bit for bit in a session of another seed and
// generator; every damaged generator field is refused in one line.
TEST(Pcg32, StatesKeepBothStreamsAndRefuseDamagedOnes) {
  Simulation original(3, {}, GeneratorKind::kPcg32);
  CheckItOutResponses(original);  // moves the measurement stream alone
  const std::string text = StateText(original.Save(true, true));
  EXPECT_NE(text.find("\"version\": 2"), std::string::npos);
  const runtime::Read<Simulation::Saved> read = ReadState(text);
  ASSERT_TRUE(read) << read.Error();
  Simulation restored(8);
  restored.Restore(*read);
  EXPECT_EQ(restored.generatorKind(), GeneratorKind::kPcg32);
  EXPECT_EQ(restored.generator(), original.generator());
  EXPECT_EQ(restored.measurement(), original.measurement());
  EXPECT_EQ(CheckItOutResponses(restored)[5].y, CheckItOutResponses(original)[5].y);

  const auto edited = [&text](const std::function<void(Json&)>& edit) {
    Json state = Json::parse(text);
    edit(state);
    return ReadState(state.dump()).Error();
  };
  const std::pair<std::function<void(Json&)>, std::string> damaged[] = {
      {[](Json& s) { s["generator"]["training"]["increment"] = 4; },
       "generator.training.increment must be odd, not 4"},
      {[](Json& s) { s["generator"]["measurement"].erase("state"); },
       "generator.measurement.state is missing"},
      {[](Json& s) { s["generator"]["measurement"]["state"] = -1; },
       "generator.measurement.state must be 0 ... 18446744073709551615"},
      {[](Json& s) { s["generator"]["name"] = "classic"; }, "generator.name must be pcg32"},
      {[](Json& s) { s["generator"]["seed"] = 1; }, "generator.seed is not part of a state"},
      {[](Json& s) { s["generator"] = 12; }, "generator must be a JSON object"},
      {[](Json& s) { s["version"] = 1; }, "generator must be a whole number"},
  };
  for (const auto& [edit, reason] : damaged) {
    const std::string error = edited(edit);
    EXPECT_NE(error.find(reason), std::string::npos) << reason << " / " << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
  }
}

// run.json names the generator at the start; a later change, or a load that brings another,
// is an event with its value, which the strict reader reads back.
TEST(GeneratorRecord, StartAndChangesAreRecordedAndReadBack) {
  TempDir dir;
  Session session(4, {});
  session.OpenFiles({dir.path().string(), "orvel", true, std::nullopt, LogChoice::kNone});
  session.SetGenerator(GeneratorKind::kPcg32);
  EXPECT_EQ(session.simulation().generator(), runtime::Random::Training(GeneratorKind::kPcg32, 4));
  CheckItOutResponses(session.simulation());
  const runtime::Random measured = session.simulation().measurement();
  session.SetGenerator(GeneratorKind::kPcg32);  // the one in use: nothing restarts, no event
  EXPECT_EQ(session.simulation().measurement(), measured);
  const Json record = ReadJson(dir.path() / "run.json");
  EXPECT_EQ(record["generator"], "classic");
  EXPECT_EQ(record["events"].back(), Json::parse(R"({"at": 0, "event": "generator",
                                                     "generator": "pcg32"})"));
  const auto events = ReadRunEvents(dir.Read("run.json"));
  ASSERT_TRUE(events) << events.Error();
  EXPECT_EQ(events->back().generator, GeneratorKind::kPcg32);

  std::string text = dir.Read("run.json");
  text.replace(text.rfind("\"pcg32\""), 7, "\"pcg64\"");
  EXPECT_NE(ReadRunEvents(text).Error().find("generator must be classic or pcg32, not \"pcg64\""),
            std::string::npos);
}

// Both programs take --generator; a list makes an ensemble, and a bad name is refused in one line.
TEST(GeneratorOption, BothProgramsTakeItAndRefuseWhatIsNotAGenerator) {
  EXPECT_EQ(ParseCommandLine({"--seed", "1", "--generator", "pcg32", "run=10"}).generator,
            GeneratorKind::kPcg32);
  EXPECT_EQ(ParseCommandLine({"--seed", "1", "run=10"}).generator, GeneratorKind::kClassic);
  EXPECT_EQ(ParseWindowOptions({"--generator=pcg32"}).generator, GeneratorKind::kPcg32);
  const auto batch = [](const std::vector<std::string>& words) { ParseCommandLine(words); };
  ExpectRefused(batch, "--seed 1 --generator pcg run=10",
                "--generator takes classic, pcg32 or a list of them, not pcg");
  ExpectRefused(batch, "--seed 1 --generator classic,pcg32 run=1",
                "a list of generators makes an ensemble, which needs --seeds");
  ExpectRefused(batch, "--seeds 1 --generator pcg32,pcg32 --dir . run=1",
                "--generator takes classic, pcg32 or a list of them, not pcg32,pcg32");
  ExpectRefused([](const std::vector<std::string>& words) { ParseWindowOptions(words); },
                "--generator PCG32", "--generator takes classic or pcg32, not PCG32");
}

// Ensembles play pcg32 unless told otherwise, a list of generators names each in the units'
// folders and the summary, and a folder recorded before there was a choice finishes as classic.
TEST(GeneratorEnsemble, DefaultsToPcg32ListsGeneratorsAndResumesOldFoldersAsClassic) {
  TempDir dir;
  const Outcome listed =
      RunBatch("--seeds 2 --generator classic,pcg32 --quiet --dir . run=300 check", dir.path());
  ASSERT_EQ(listed.status, 0) << listed.err;
  for (const std::string generator : {"classic", "pcg32"}) {
    TempDir single;
    const Outcome alone =
        RunBatch("--seed 2 --generator " + generator + " --quiet run=300 check", single.path());
    EXPECT_EQ(dir.Read("generator=" + generator + "/seed-2/checks.txt"), alone.out) << generator;
  }
  const std::vector<std::string> summary = LinesOf(dir.Read("summary.csv"));
  ASSERT_EQ(summary.size(), 3U);
  EXPECT_EQ(summary[1].substr(0, 17), "classic,2,,1,300,");
  EXPECT_EQ(summary[2].substr(0, 15), "pcg32,2,,1,300,");

  TempDir old;
  const std::string command = "--seeds 2-3 --quiet --dir . run=300 check";
  ASSERT_EQ(RunBatch(command, old.path()).status, 0);
  EXPECT_EQ(ReadJson(old.path() / "ensemble.json")["generator"], "pcg32");
  // As an ensemble made before the choice would have it: classic units, no generator recorded.
  ASSERT_EQ(RunBatch(command + " --force --generator classic", old.path()).status, 0);
  Json record = ReadJson(old.path() / "ensemble.json");
  record.erase("generator");
  std::ofstream(old.path() / "ensemble.json") << record.dump();
  fs::remove(old.path() / "seed-3" / "complete");
  const Outcome resumed = RunBatch(command, old.path());
  ASSERT_EQ(resumed.status, 0) << resumed.err;
  TempDir single;
  const Outcome classic = RunBatch("--seed 3 --quiet run=300 check", single.path());
  EXPECT_EQ(old.Read("seed-3/checks.txt"), classic.out);
  EXPECT_EQ(ReadJson(old.path() / "ensemble.json")["generator"], "classic");
  EXPECT_EQ(RunBatch(command + " --generator pcg32", old.path()).status, 2)
      << "another generator is another ensemble";
}

// The Parameters dialog offers the generator beside the seed and hands back the one chosen.
TEST(GeneratorDialog, OffersTheGeneratorAndHandsBackTheChoice) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  int argc = 1;
  char name[] = "generator_test";
  char* argv[] = {name, nullptr};
  QApplication application(argc, argv);
  ParametersDialog dialog(nullptr, Settings{{}, 9, GeneratorKind::kClassic});
  auto* generator = dialog.findChild<QComboBox*>();
  ASSERT_NE(generator, nullptr);
  EXPECT_EQ(generator->currentText(), "classic");
  generator->setCurrentText("pcg32");
  dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
  ASSERT_TRUE(dialog.Chosen());
  EXPECT_EQ(dialog.Chosen()->generator, GeneratorKind::kPcg32);
  EXPECT_EQ(dialog.Chosen()->seed, 9U);
}
