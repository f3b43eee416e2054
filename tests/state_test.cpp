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

TEST(StateRejects, TextThatIsNotJsonOrIsCutShort) {
  ExpectRejected("", "empty");
  ExpectRejected("   \n", "not JSON");
  ExpectRejected("state", "not JSON");
  ExpectRejected(GoodText() + "{}", "not JSON");
  ExpectRejected(Replaced(GoodText(), "{", "{ /* a comment */"), "not JSON");
  for (std::size_t length = 1; length < GoodText().size() - 1; length += 37) {
    ExpectRejected(std::string_view(GoodText()).substr(0, length), "not JSON");
  }
}

TEST(StateRejects, JsonOfAnotherShape) {
  ExpectRejected("[1, 2]", "the state must be a JSON object");
  ExpectRejected(Edited([](Json& s) { s.erase("neuron"); }), "neuron is missing");
  ExpectRejected(Edited([](Json& s) { s["parameters"].erase("rate"); }),
                 "parameters.rate is missing");
  ExpectRejected(Edited([](Json& s) { s["neuron"]["history"].erase("sum"); }),
                 "neuron.history.sum is missing");
  ExpectRejected(Edited([](Json& s) { s["eyes"].erase("left"); }), "eyes.left is missing");
  ExpectRejected(Edited([](Json& s) { s["parameters"] = Json::array(); }),
                 "parameters must be a JSON object");
  ExpectRejected(Edited([](Json& s) { s["neuron"]["theta"] = "0.5"; }),
                 "neuron.theta must be a number");
  ExpectRejected(Edited([](Json& s) { s["parameters"]["tau"] = "10"; }),
                 "parameters.tau must be a number");
  ExpectRejected(Edited([](Json& s) { s["neuron"]["weights"] = Json::object(); }),
                 "neuron.weights must be an array of numbers");
  ExpectRejected(Edited([](Json& s) { s["neuron"]["history"]["squares"][3] = nullptr; }),
                 "neuron.history.squares must be an array of numbers");
  ExpectRejected(Edited([](Json& s) { s["parameters"]["rate"] = nullptr; }),
                 "parameters.rate must be a number");
  ExpectRejected(Edited([](Json& s) { s["eyes"]["left"] = 1; }), "eyes.left must be true or false");
  ExpectRejected(Edited([](Json& s) { s["generator"] = 1.5; }), "generator must be a whole number");
  ExpectRejected(Edited([](Json& s) { s["neuron"]["history"]["count"] = "57"; }),
                 "neuron.history.count must be a whole number");
  // Unknown keys are refused at every level: a state that relies on them would not continue.
  ExpectRejected(Edited([](Json& s) { s["comment"] = "reared in the dark"; }),
                 "comment is not part of a state");
  ExpectRejected(Edited([](Json& s) { s["neuron"]["bias"] = 0.0; }),
                 "neuron.bias is not part of a state");
  ExpectRejected(Edited([](Json& s) { s["parameters"]["redraw-every"] = 50; }),
                 "parameters.redraw-every is not part of a state");
  ExpectRejected(Edited([](Json& s) { s["neuron"]["history"]["oldest"] = 0; }),
                 "neuron.history.oldest is not part of a state");
  ExpectRejected(Edited([](Json& s) { s["eyes"]["line\nbreak"] = true; }),
                 "eyes.line?break is not part of a state");
}

TEST(StateRejects, AnotherFormatOrVersion) {
  ExpectRejected(Edited([](Json& s) { s["format"] = "some-state"; }),
                 "its format is \"some-state\"");
  ExpectRejected(Edited([](Json& s) { s.erase("format"); }), "format is missing");
  ExpectRejected(Edited([](Json& s) { s["format"] = 1; }), "format must be a string");
  ExpectRejected(Edited([](Json& s) { s["version"] = 3; }), "version 3, which this program");
  ExpectRejected(Edited([](Json& s) { s["version"] = 0; }), "version 0, which this program");
  ExpectRejected(Edited([](Json& s) { s["version"] = "1"; }), "version must be a whole number");
  // A later version's shape is named as a later version, not as unknown keys.
  ExpectRejected(Edited([](Json& s) {
                   s["version"] = 3;
                   s["neurons"] = Json::array();
                 }),
                 "version 3");
}

TEST(StateRejects, WeightCountOtherThanTheInputs) {
  for (const std::size_t count : {0U, 23U, 25U, 48U}) {
    ExpectRejected(Edited([count](Json& s) { s["neuron"]["weights"] = std::vector(count, 0.1); }),
                   "neuron.weights holds " + std::to_string(count) + " numbers, not 24");
  }
}

TEST(StateRejects, HistoryLongerThanTauOrCountBelowItsLength) {
  ExpectRejected(Edited([](Json& s) { s["parameters"]["tau"] = 9; }),
                 "neuron.history.squares holds 10 responses, more than tau (9)");
  ExpectRejected(Edited([](Json& s) { s["neuron"]["history"]["count"] = 9; }),
                 "neuron.history.count is 9, fewer than the 10 responses kept");
}

TEST(StateRejects, InfiniteOrNotANumberValues) {
  ExpectRejected(WithFirstWeightWritten("1e999"), "number overflow");
  ExpectRejected(WithFirstWeightWritten("-1e999"), "number overflow");
  ExpectRejected(WithFirstWeightWritten("NaN"), "not JSON");
  ExpectRejected(WithFirstWeightWritten("Infinity"), "not JSON");
  ExpectRejected(Replaced(GoodText(), "\"rate\": 0.005", "\"rate\": 1e400"), "number overflow");
}

TEST(StateRejects, NumbersOutOfRange) {
  const auto parameter = [](const char* name, Json value) {
    return Edited([&](Json& s) { s["parameters"][name] = value; });
  };
  ExpectRejected(parameter("rate", 0), "parameters.rate must be finite, > 0, not 0");
  ExpectRejected(parameter("rate", -0.5), "parameters.rate must be finite, > 0, not -0.5");
  ExpectRejected(parameter("tau", 0), "parameters.tau must be whole, 1 ... 10000000, not 0");
  ExpectRejected(parameter("tau", 10.5), "parameters.tau must be whole");
  ExpectRejected(parameter("tau", 10000001), "parameters.tau must be whole");
  ExpectRejected(parameter("theta0", -1), "parameters.theta0 must be finite, > 0");
  ExpectRejected(parameter("noise", 10.5), "parameters.noise must be finite, 0 ... 10");
  ExpectRejected(parameter("closed-noise", -0.1), "parameters.closed-noise must be finite");
  ExpectRejected(parameter("pattern-rate", 1.5), "parameters.pattern-rate must be 0 ... 1");
  ExpectRejected(parameter("init-weights", -1), "parameters.init-weights must be finite, >= 0");
  ExpectRejected(parameter("log-every", 0), "parameters.log-every must be whole");
  ExpectRejected(parameter("log-every", 1e300), "parameters.log-every must be whole");

  const auto field = [](Json::json_pointer pointer, Json value) {
    return Edited([&](Json& s) { s[pointer] = value; });
  };
  ExpectRejected(field("/generator"_json_pointer, 4294967296U),
                 "generator must be 0 ... 4294967295, not 4294967296");
  ExpectRejected(field("/generator"_json_pointer, -1), "generator must be 0 ... 4294967295");
  ExpectRejected(field("/neuron/history/count"_json_pointer, -1),
                 "neuron.history.count must be 0 ... 18446744073709551615, not -1");
  ExpectRejected(field("/neuron/history/count"_json_pointer, 1e30),
                 "neuron.history.count must be a whole number");
  ExpectRejected(field("/neuron/history/sinceRefresh"_json_pointer, -1),
                 "neuron.history.sinceRefresh must be 0 ... 2147483647");
  ExpectRejected(field("/neuron/history/sinceRefresh"_json_pointer, 128),
                 "refresh phase is out of range");
  ExpectRejected(field("/neuron/history/squares/4"_json_pointer, -1.0),
                 "a squared response is negative");
}

TEST(StateRejects, HistoryWhoseRunningSumDisagrees) {
  const Json good = Json::parse(GoodText());
  const double sum = good["neuron"]["history"]["sum"].get<double>();
  ExpectRejected(Edited([sum](Json& s) { s["neuron"]["history"]["sum"] = sum * 1.01; }),
                 "running sum disagrees with the history");
  ExpectRejected(Edited([sum](Json& s) { s["neuron"]["history"]["peak"] = sum * 0.5; }),
                 "above its peak");
  // A history still filling is summed afresh, so its fields must be the fresh ones exactly.
  const std::string filling = StateText(Trained(5, 6, WithTau(10)).Save(true, true));
  ExpectRejected(Replaced(filling, "\"sinceRefresh\": 0", "\"sinceRefresh\": 3"),
                 "disagrees with the history");
  const Json state = Json::parse(filling);
  Json wrongSum = state;
  wrongSum["neuron"]["history"]["sum"] = state["neuron"]["history"]["sum"].get<double>() * 2;
  wrongSum["neuron"]["history"]["peak"] = wrongSum["neuron"]["history"]["sum"];
  ExpectRejected(wrongSum.dump(), "disagrees with the history");
}

TEST(StateRejects, DuplicatedKeysAtAnyDepth) {
  const std::string& text = GoodText();
  ExpectRejected(Replaced(text, "\"version\": 1,", "\"version\": 1, \"version\": 1,"),
                 "the key \"version\" appears twice");
  ExpectRejected(Replaced(text, "\"rate\": 0.005,", "\"rate\": 0.005, \"rate\": 0.01,"),
                 "the key \"rate\" appears twice");
  ExpectRejected(Replaced(text, "\"left\": true,", "\"left\": true, \"left\": false,"),
                 "the key \"left\" appears twice");
  ExpectRejected(Replaced(text, "\"count\": 57,", "\"count\": 57, \"count\": 57,"),
                 "the key \"count\" appears twice");
  // The same key in two different objects is no duplicate.
  EXPECT_EQ(Rejection(text), "");
}

TEST(StateRejects, NestingDeeperThanAState) {
  ExpectRejected(std::string(100000, '[') + std::string(100000, ']'), "nested deeper");
  ExpectRejected(
      Replaced(GoodText(), "\"generator\"", "\"x\": [[[[[[[[[[1]]]]]]]]]], \"generator\""),
      "nested deeper");
}

TEST(StateRejects, TextOverTheSizeLimitButNotAtIt) {
  std::string text = GoodText();
  text.resize(kMaxStateBytes, ' ');
  EXPECT_EQ(Rejection(text), "");
  text += ' ';
  ExpectRejected(text, "too large for a state");
}

TEST(StateFiles, LoadReadsWhatSaveWrote) {
  const TempDir dir;
  const std::string path = (dir.path() / "reared.json").string();
  const Simulation::Saved saved = Trained(3, 1500).Save(false, true);
  std::string error;
  ASSERT_TRUE(SaveState(path, saved, error)) << error;
  EXPECT_EQ(dir.Read("reared.json"), StateText(saved));
  EXPECT_EQ(*ReadStateFile(path), saved);
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

TEST(StateFiles, SavingOverAFileReplacesItWhole) {
  const TempDir dir;
  const std::string path = (dir.path() / "state.json").string();
  std::string error;
  ASSERT_TRUE(SaveState(path, Trained(3, 2000, WithTau(2000)).Save(true, true), error)) << error;
  const Simulation::Saved shorter = Trained(4, 10, WithTau(10)).Save(true, true);
  ASSERT_TRUE(SaveState(path, shorter, error)) << error;
  EXPECT_EQ(dir.Read("state.json"), StateText(shorter));
  EXPECT_EQ(Entries(dir.path()), std::set<std::string>{"state.json"});
}

// A state that would not read back is refused before the file is touched.
TEST(StateFiles, AStateThatWouldNotReadBackLeavesThePreviousFile) {
  const TempDir dir;
  const std::string path = (dir.path() / "state.json").string();
  const std::string previous = StateText(Trained(3, 100).Save(true, true));
  std::ofstream(path) << previous;
  Simulation::Saved overflowed = Trained(3, 200).Save(true, true);
  overflowed.neuron.weights[5] = std::numeric_limits<double>::infinity();
  std::string error;
  EXPECT_FALSE(SaveState(path, overflowed, error));
  EXPECT_NE(error.find("the state would not read back: "), std::string::npos) << error;
  EXPECT_EQ(dir.Read("state.json"), previous);
  EXPECT_EQ(Entries(dir.path()), std::set<std::string>{"state.json"});
}
