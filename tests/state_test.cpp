#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <bit>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <vector>

#include "Simulation.h"
#include "StateFile.h"
#include "TempDir.h"
#include "TrainingRun.h"

namespace {
using Json = nlohmann::ordered_json;
constexpr double kMax = std::numeric_limits<double>::max();
constexpr double kSmallestSubnormal = 4.9e-324;

std::uint64_t Bits(double value) {
  return std::bit_cast<std::uint64_t>(value);
}

// Training steps as the run takes them: a drawn input, then learning.
void Train(Simulation& simulation, int steps, bool left, bool right) {
  for (int i = 0; i < steps; ++i) {
    simulation.neuron().Output(DrawTrainingInput(simulation, left, right), true);
  }
}

Simulation Trained(std::uint32_t seed, int steps, const Parameters& parameters = {}) {
  Simulation simulation(seed, parameters);
  Train(simulation, steps, true, false);
  return simulation;
}

Parameters WithTau(int tau) {
  Parameters parameters;
  parameters.tau = tau;
  return parameters;
}

// Both take the same steps; every response, weight and theta must agree to the last bit.
void ExpectSameCourse(Simulation& original, Simulation& restored, int steps) {
  for (int step = 0; step < steps; ++step) {
    const bool left = step % 3 != 0;  // the eyes change as a deprivation experiment goes on
    const double expected = original.neuron().Output(DrawTrainingInput(original, left, true), true);
    const double actual = restored.neuron().Output(DrawTrainingInput(restored, left, true), true);
    ASSERT_EQ(Bits(actual), Bits(expected)) << "step " << step;
    ASSERT_EQ(Bits(restored.neuron().Theta()), Bits(original.neuron().Theta())) << "step " << step;
  }
  for (std::size_t i = 0; i < original.neuron().Weights().size(); ++i) {
    EXPECT_EQ(Bits(restored.neuron().Weights()[i]), Bits(original.neuron().Weights()[i])) << i;
  }
  EXPECT_EQ(restored.Save(true, true), original.Save(true, true));
}

std::string Rejection(std::string_view text) {
  return ReadState(text).Error();
}

Simulation::Saved Parsed(std::string_view text) {
  runtime::Read<Simulation::Saved> state = ReadState(text);
  if (!state) {
    ADD_FAILURE() << state.Error();
    return {};
  }
  return *std::move(state);
}

void ExpectRejected(std::string_view text, std::string_view why) {
  const std::string message = Rejection(text);
  EXPECT_NE(message.find(why), std::string::npos)
      << "expected a complaint about \"" << why << "\", got \"" << message << "\" for\n"
      << text.substr(0, 400);
  EXPECT_EQ(message.find('\n'), std::string::npos) << message;
}

// A state past its window, small enough to edit: tau 10, 57 responses.
const std::string& GoodText() {
  static const std::string text = StateText(Trained(5, 57, WithTau(10)).Save(true, false));
  return text;
}

std::string Edited(const std::function<void(Json&)>& edit) {
  Json state = Json::parse(GoodText());
  edit(state);
  return state.dump(2);
}

// The text with the JSON at pointer replaced by value, or removed if value is empty.
std::string Set(const std::string& pointer, const std::string& value) {
  return Edited([&](Json& s) {
    const Json::json_pointer at(pointer);
    if (value.empty()) {
      s[at.parent_pointer()].erase(at.back());
    } else {
      s[at] = Json::parse(value);
    }
  });
}

std::string Replaced(std::string text, std::string_view from, std::string_view to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// The text with the first weight's number replaced by literal.
std::string WithFirstWeightWritten(std::string_view literal) {
  return Replaced(Edited([](Json& s) { s["neuron"]["weights"][0] = 12345.5; }), "12345.5", literal);
}

std::set<std::string> Entries(const std::filesystem::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

}  // namespace

TEST(StateRoundTrip, EveryFieldReadsBackAsWritten) {
  Parameters parameters;
  parameters.rate = 0.0125;
  parameters.tau = 7;
  parameters.theta0 = 3.5;
  parameters.noise = 0.1;
  parameters.patternRate = 0.75;
  parameters.initWeights = 0.3;
  parameters.logEvery = 9;
  const std::vector<std::optional<double>> closedNoises = {std::nullopt, 0.0, 0.02};
  for (const std::optional<double>& closedNoise : closedNoises) {
    parameters.closedNoise = closedNoise;
    Simulation simulation = Trained(17, 40, parameters);
    Simulation::Saved saved = simulation.Save(false, true);
    saved.generator = saved.measurement = runtime::Random(runtime::CRand(4294967295U));
    const Simulation::Saved read = Parsed(StateText(saved));
    EXPECT_EQ(read.parameters, parameters);
    EXPECT_EQ(read.parameters.closedNoise, closedNoise);
    EXPECT_EQ(read.neuron, saved.neuron);
    EXPECT_EQ(read.generator, runtime::Random(runtime::CRand(4294967295U)));
    EXPECT_FALSE(read.left);
    EXPECT_TRUE(read.right);
  }
}

TEST(StateRoundTrip, ExtremeDoublesKeepEveryBitAndSign) {
  const std::vector<double> extremes = {kSmallestSubnormal,
                                        -kSmallestSubnormal,
                                        2.2e-308,
                                        2.2250738585072014e-308,
                                        0.0,
                                        -0.0,
                                        kMax,
                                        -kMax,
                                        1.0 / 3.0,
                                        0.1};
  Simulation::Saved saved = Simulation(1).Save(true, true);
  for (std::size_t i = 0; i < saved.neuron.weights.size(); ++i) {
    saved.neuron.weights[i] = extremes[i % extremes.size()];
  }
  saved.neuron.theta = -0.0;
  saved.neuron.yLeft = kSmallestSubnormal;
  saved.neuron.yRight = -kMax;
  // A history still filling is summed afresh when restored; its own restore gives the sum.
  const ResponseHistory::Saved squares{{kSmallestSubnormal, 2.2e-308, 0.0, -0.0, kMax, 0.1}, 6};
  saved.neuron.history = ResponseHistory::Restore(1000, squares).Save();

  const Simulation::Saved read = Parsed(StateText(saved));
  for (std::size_t i = 0; i < saved.neuron.weights.size(); ++i) {
    EXPECT_EQ(Bits(read.neuron.weights[i]), Bits(saved.neuron.weights[i])) << i;
  }
  EXPECT_EQ(Bits(read.neuron.theta), Bits(-0.0));
  EXPECT_EQ(Bits(read.neuron.yLeft), Bits(kSmallestSubnormal));
  EXPECT_EQ(Bits(read.neuron.yRight), Bits(-kMax));
  ASSERT_EQ(read.neuron.history.squares.size(), squares.squares.size());
  for (std::size_t i = 0; i < squares.squares.size(); ++i) {
    EXPECT_EQ(Bits(read.neuron.history.squares[i]), Bits(squares.squares[i])) << i;
  }
  EXPECT_EQ(Bits(read.neuron.history.sum), Bits(saved.neuron.history.sum));
}

TEST(StateText, IsIndentedJsonWithFormatAndVersionFirst) {
  const std::string& text = GoodText();
  EXPECT_EQ(text.rfind("{\n  \"format\": \"orvel-state\",\n  \"version\": 1,\n", 0), 0U) << text;
  EXPECT_NE(text.find("\n    \"closed-noise\": null,\n"), std::string::npos);
  EXPECT_NE(text.find("\n    \"tau\": 10,\n"), std::string::npos);
  EXPECT_EQ(text.back(), '\n');
}

TEST(StateContinuation, RestoredIntoAnotherSimulationContinuesBitForBit) {
  // Mid-history, exactly full, just past a refresh of the running sum, and long after.
  for (const int steps : {300, 1000, 1000 + 3 * 128 + 57, 5000}) {
    SCOPED_TRACE(steps);
    Simulation original = Trained(2024, steps);
    Simulation restored(99);
    restored.Restore(Parsed(StateText(original.Save(true, false))));
    ExpectSameCourse(original, restored, 800);
  }
}

// A bcm state is the file it always was; another rule is written, and restored with the neuron.
TEST(StateContinuation, AnotherRuleIsRecordedAndTheRestoredNeuronLearnsByIt) {
  EXPECT_EQ(GoodText().find("rule"), std::string::npos);
  Parameters oja;
  oja.rule = LearningRule::kOja;
  Simulation original = Trained(2024, 1500, oja);
  const std::string text = StateText(original.Save(true, false));
  EXPECT_NE(text.find("\n    \"rule\": \"oja\"\n"), std::string::npos) << text;
  Simulation restored(99);
  restored.Restore(Parsed(text));
  EXPECT_EQ(restored.neuron().Rule(), LearningRule::kOja);
  ExpectSameCourse(original, restored, 500);
}

TEST(StateContinuation, StoredVersionOneStateStillLoadsAndContinues) {
  // tests/data/state-v1.json: seed 2024, closed-noise 0.02, 3000 steps with the right eye shut.
  const Simulation::Saved saved = *ReadStateFile(ORVEL_STATE_V1);
  EXPECT_EQ(saved.neuron.history.length, 3000U);
  EXPECT_TRUE(saved.left);
  EXPECT_FALSE(saved.right);
  Parameters parameters;
  parameters.closedNoise = 0.02;
  EXPECT_EQ(saved.parameters, parameters);

  Simulation original = Trained(2024, 3000, parameters);
  Simulation restored(7);
  restored.Restore(saved);
  ExpectSameCourse(original, restored, 1000);
}

// Every kind of damage is refused in one line that names what is wrong.
TEST(StateRejects, EveryDamageInOneLineNamingWhatIsWrong) {
  const std::string& good = GoodText();
  const std::string filling = StateText(Trained(5, 6, WithTau(10)).Save(true, true));
  const double sum = Json::parse(good)["neuron"]["history"]["sum"].get<double>();
  Json wrongSum = Json::parse(filling);  // a history still filling is summed afresh
  wrongSum["neuron"]["history"]["sum"] = wrongSum["neuron"]["history"]["sum"].get<double>() * 2;
  wrongSum["neuron"]["history"]["peak"] = wrongSum["neuron"]["history"]["sum"];
  const std::pair<std::string, std::string> damaged[] = {
      // Not JSON, or JSON of another shape.
      {"", "empty"},
      {"   \n", "not JSON"},
      {"state", "not JSON"},
      {good + "{}", "not JSON"},
      {Replaced(good, "{", "{ /* a comment */"), "not JSON"},
      {"[1, 2]", "the state must be a JSON object"},
      {Set("/neuron", ""), "neuron is missing"},
      {Set("/parameters/rate", ""), "parameters.rate is missing"},
      {Set("/neuron/history/sum", ""), "neuron.history.sum is missing"},
      {Set("/eyes/left", ""), "eyes.left is missing"},
      {Set("/parameters", "[]"), "parameters must be a JSON object"},
      {Set("/neuron/theta", "\"0.5\""), "neuron.theta must be a number"},
      {Set("/parameters/tau", "\"10\""), "parameters.tau must be a number"},
      {Set("/neuron/weights", "{}"), "neuron.weights must be an array of numbers"},
      {Set("/neuron/history/squares/3", "null"),
       "neuron.history.squares must be an array of numbers"},
      {Set("/parameters/rate", "null"), "parameters.rate must be a number"},
      {Set("/eyes/left", "1"), "eyes.left must be true or false"},
      {Set("/generator", "1.5"), "generator must be a whole number"},
      {Set("/neuron/history/count", "\"57\""), "neuron.history.count must be a whole number"},
      // Unknown keys at every level: a state that relies on them would not continue.
      {Set("/comment", "\"reared in the dark\""), "comment is not part of a state"},
      {Set("/neuron/bias", "0.0"), "neuron.bias is not part of a state"},
      {Set("/parameters/redraw-every", "50"), "parameters.redraw-every is not part of a state"},
      {Set("/parameters/rule", "1"), "parameters.rule must be a word"},
      {Set("/parameters/rule", "\"hebb\""),
       "parameters.rule must be bcm, law-cooper or oja, not hebb"},
      {Set("/neuron/history/oldest", "0"), "neuron.history.oldest is not part of a state"},
      {Set("/eyes/line\nbreak", "true"), "eyes.line\\x0Abreak is not part of a state"},
      // Another format or version; a later version's shape is named as a later version.
      {Set("/format", "\"some-state\""), "its format is \"some-state\""},
      {Set("/format", ""), "format is missing"},
      {Set("/format", "1"), "format must be a string"},
      {Set("/version", "3"), "version 3, which this program"},
      {Set("/version", "0"), "version 0, which this program"},
      {Set("/version", "\"1\""), "version must be a whole number"},
      {Replaced(Set("/version", "3"), "\"version\": 3", "\"version\": 3, \"neurons\": []"),
       "version 3"},
      // Weights that are not the inputs', a history that breaks its own rules.
      {Set("/neuron/weights", "[]"), "neuron.weights holds 0 numbers, not 24"},
      {Set("/neuron/weights", Json(std::vector(23, 0.1)).dump()),
       "neuron.weights holds 23 numbers, not 24"},
      {Set("/neuron/weights", Json(std::vector(25, 0.1)).dump()),
       "neuron.weights holds 25 numbers, not 24"},
      {Set("/neuron/weights", Json(std::vector(48, 0.1)).dump()),
       "neuron.weights holds 48 numbers, not 24"},
      {Set("/parameters/tau", "9"), "neuron.history.squares holds 10 responses, more than tau (9)"},
      {Set("/neuron/history/count", "9"),
       "neuron.history.count is 9, fewer than the 10 responses kept"},
      {Set("/neuron/history/sum", Json(sum * 1.01).dump()),
       "running sum disagrees with the history"},
      {Set("/neuron/history/peak", Json(sum * 0.5).dump()), "above its peak"},
      {Replaced(filling, "\"sinceRefresh\": 0", "\"sinceRefresh\": 3"),
       "disagrees with the history"},
      {wrongSum.dump(), "disagrees with the history"},
      // Numbers that do not fit a double or the field.
      {WithFirstWeightWritten("1e999"), "number overflow"},
      {WithFirstWeightWritten("-1e999"), "number overflow"},
      {WithFirstWeightWritten("NaN"), "not JSON"},
      {WithFirstWeightWritten("Infinity"), "not JSON"},
      {Replaced(good, "\"rate\": 0.005", "\"rate\": 1e400"), "number overflow"},
      {Set("/parameters/rate", "0"), "parameters.rate must be finite, > 0, not 0"},
      {Set("/parameters/rate", "-0.5"), "parameters.rate must be finite, > 0, not -0.5"},
      {Set("/parameters/tau", "10.5"), "parameters.tau must be whole, 1 ... 10000000, not 10.5"},
      {Set("/parameters/closed-noise", "-0.1"), "parameters.closed-noise must be finite"},
      {Set("/parameters/log-every", "1e300"), "parameters.log-every must be whole"},
      {Set("/generator", "4294967296"), "generator must be 0 ... 4294967295, not 4294967296"},
      {Set("/generator", "-1"), "generator must be 0 ... 4294967295"},
      {Set("/neuron/history/count", "-1"),
       "neuron.history.count must be 0 ... 18446744073709551615, not -1"},
      {Set("/neuron/history/count", "1e30"), "neuron.history.count must be a whole number"},
      {Set("/neuron/history/sinceRefresh", "-1"),
       "neuron.history.sinceRefresh must be 0 ... 2147483647"},
      {Set("/neuron/history/sinceRefresh", "128"), "refresh phase is out of range"},
      {Set("/neuron/history/squares/4", "-1.0"), "a squared response is negative"},
      // Keys twice in one object, and nesting deeper than a state's.
      {Replaced(good, "\"version\": 1,", "\"version\": 1, \"version\": 1,"),
       "the key \"version\" appears twice"},
      {Replaced(good, "\"rate\": 0.005,", "\"rate\": 0.005, \"rate\": 0.01,"),
       "the key \"rate\" appears twice"},
      {Replaced(good, "\"left\": true,", "\"left\": true, \"left\": false,"),
       "the key \"left\" appears twice"},
      {Replaced(good, "\"count\": 57,", "\"count\": 57, \"count\": 57,"),
       "the key \"count\" appears twice"},
      {std::string(100000, '[') + std::string(100000, ']'), "nested deeper"},
      {Replaced(good, "\"generator\"", "\"x\": [[[[[[[[[[1]]]]]]]]]], \"generator\""),
       "nested deeper"},
  };
  for (const auto& [damage, why] : damaged) ExpectRejected(damage, why);
  for (std::size_t length = 1; length < good.size() - 1; length += 37) {
    ExpectRejected(std::string_view(good).substr(0, length), "not JSON");
  }
}

TEST(StateRejects, TextOverTheSizeLimitButNotAtIt) {
  std::string text = GoodText();
  text.resize(kMaxStateBytes, ' ');
  EXPECT_EQ(Rejection(text), "");
  text += ' ';
  ExpectRejected(text, "too large for a state");
}

TEST(StateFiles, RefusesWhatIsNotASmallRegularFile) {
  const TempDir dir;
  const auto refusal = [](const std::filesystem::path& path) {
    return ReadStateFile(path.string()).Error();
  };
  EXPECT_EQ(refusal(dir.path() / "missing.json"), "No such file or directory");
  EXPECT_EQ(refusal(dir.path()), "is a folder, not a file");
  EXPECT_EQ(refusal("/dev/null"), "is not a regular file");
  // A pipe without a writer would block an ordinary open for ever.
  const std::filesystem::path pipe = dir.path() / "pipe.json";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_EQ(refusal(pipe), "is not a regular file");
  // Sparse: refused by its size, without a byte read or a gigabyte written.
  for (const off_t size : {off_t{1} << 30, static_cast<off_t>(kMaxStateBytes) + 1}) {
    const std::filesystem::path huge = dir.path() / "huge.json";
    const int descriptor = ::open(huge.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(descriptor, 0);
    ASSERT_EQ(::ftruncate(descriptor, size), 0);
    ::close(descriptor);
    EXPECT_EQ(refusal(huge), "is larger than 67108864 bytes: too large for a state") << size;
  }
  std::ofstream(dir.path() / "empty.json").close();
  EXPECT_EQ(refusal(dir.path() / "empty.json"), "empty: no state in it");
}

// A save replaces the file whole with what a load reads back; a state that would not read back is
// refused before the file is touched.
TEST(StateFiles, ASaveReplacesTheFileWholeOrNotAtAll) {
  const TempDir dir;
  const std::string path = (dir.path() / "state.json").string();
  std::string error;
  ASSERT_TRUE(SaveState(path, Trained(3, 2000, WithTau(2000)).Save(true, true), error)) << error;
  const Simulation::Saved shorter = Trained(4, 10, WithTau(10)).Save(false, true);
  ASSERT_TRUE(SaveState(path, shorter, error)) << error;
  EXPECT_EQ(dir.Read("state.json"), StateText(shorter));
  EXPECT_EQ(*ReadStateFile(path), shorter);
  Simulation::Saved overflowed = Trained(3, 200).Save(true, true);
  overflowed.neuron.weights[5] = std::numeric_limits<double>::infinity();
  EXPECT_FALSE(SaveState(path, overflowed, error));
  EXPECT_NE(error.find("the state would not read back: "), std::string::npos) << error;
  EXPECT_EQ(dir.Read("state.json"), StateText(shorter));
  EXPECT_EQ(Entries(dir.path()), std::set<std::string>{"state.json"});
}
