#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <sstream>
#include <thread>

#include "Bcm.h"
#include "CRand.h"
#include "Eventually.h"
#include "LogLines.h"
#include "LogWrite.h"
#include "Probe.h"
#include "ReferenceRun.h"
#include "RunLogs.h"
#include "ScriptedHost.h"
#include "Simulation.h"
#include "TempDir.h"
#include "TextLines.h"
#include "TrainingRun.h"

namespace {
constexpr unsigned kSeed = 1234;

// The logs a run of these steps should leave, from a twin neuron on the same random stream.
ExpectedLogs Replay(unsigned seed, int steps, bool left = true, bool right = true) {
  runtime::CRand generator(seed);
  BCMNeuron twin(24, 0.005, 10.0, 1000, 0.15, generator);
  ExpectedLogs expected;
  ReplayRun(twin, generator, steps, left, right, expected);
  return expected;
}

// A session as start-up leaves it: seeded, one neuron, seven empty logs.
struct Session {
  explicit Session(unsigned seed = kSeed) : simulation(seed) {
    logs = std::make_unique<RunLogs>(dir.path().string());
  }
  void Stop() { simulation.RequestStop(); }
  void Train() { TrainingRun(simulation, host, *logs); }

  TempDir dir;
  Simulation simulation;
  ScriptedHost host;
  std::unique_ptr<RunLogs> logs;
};

class Run : public ::testing::Test, protected Session {
 protected:
  std::function<void()> StopNow() {
    return [this] { Stop(); };
  }
  ExpectedLogs Replay(int steps, bool left = true, bool right = true) {
    return ::Replay(kSeed, steps, left, right);
  }
  void ExpectLogs(ExpectedLogs expected) {
    logs->Close();
    for (const std::string& name : LogNames()) EXPECT_EQ(dir.Read(name), expected[name]) << name;
  }

  // Starts the logs again in a directory that prepare has spoilt, capturing standard error.
  void ReopenLogsAfter(const std::function<void()>& prepare) {
    logs.reset();
    for (const std::string& name : LogNames()) std::filesystem::remove(dir.path() / name);
    prepare();
    ::testing::internal::CaptureStderr();
    logs = std::make_unique<RunLogs>(dir.path().string());
  }
};
}  // namespace

TEST_F(Run, StopPressedAtOncePerformsStepZeroInFull) {
  host.At(1, StopNow());
  Train();
  EXPECT_EQ(host.stepText, "step: 0");
  EXPECT_EQ(host.redrawnAt, std::vector<std::string>{"step: 0"});
  EXPECT_EQ(simulation.neuron().HistoryLength(), 1U);
  EXPECT_TRUE(simulation.stopRequested());
  ExpectLogs(Replay(1));
  EXPECT_EQ(dir.Read("log-learn-2.txt").substr(0, 7), "     0 ");
}

TEST_F(Run, StepsFollowTheirScheduleAndTheLogsMatchAReplayByteForByte) {
  host.At(250, StopNow());
  Train();
  EXPECT_EQ(host.stepText, "step: 249");
  EXPECT_EQ(host.redrawnAt, (std::vector<std::string>{"step: 0", "step: 50", "step: 100",
                                                      "step: 150", "step: 200"}));
  EXPECT_EQ(simulation.neuron().HistoryLength(), 250U);
  const ExpectedLogs expected = Replay(250);
  EXPECT_EQ(Lines(expected.at("log.txt")), 3);
  ExpectLogs(expected);
}

TEST_F(Run, EyeBoxesChooseTheLogPairAndWhichEyeSeesThePattern) {
  for (const auto& [left, right] :
       {std::pair{true, false}, std::pair{false, true}, std::pair{false, false}}) {
    Session session;
    session.host.left = left;
    session.host.right = right;
    session.host.At(301, [&session] { session.Stop(); });
    session.Train();
    session.logs->Close();
    // The replay draws a centre on pattern steps even with both boxes unticked, and gives an
    // unticked eye noise; any other draw order would break the comparison.
    ExpectedLogs expected = Replay(301, left, right);
    for (const std::string& name : LogNames()) {
      EXPECT_EQ(session.dir.Read(name), expected[name]) << name << left << right;
    }
  }
}

TEST_F(Run, ABoxTickedDuringARunMovesTheNextLoggedStepToItsPair) {
  host.At(150, [this] { host.right = false; });
  host.At(250, StopNow());
  Train();
  logs->Close();
  EXPECT_EQ(Lines(dir.Read("log-learn-2.txt")), 2);
  EXPECT_EQ(dir.Read("log-left-2.txt").substr(0, 7), "   200 ");
  EXPECT_TRUE(dir.Read("log-right.txt").empty());
}

TEST_F(Run, StartDuringARunNestsASecondRunAndOneStopEndsBoth) {
  host.At(10, [this] { Train(); });  // Start pressed after outer step 9
  host.At(15, StopNow());            // after inner step 4
  Train();
  EXPECT_EQ(host.stepText, "step: 4");
  EXPECT_EQ(host.pumps, 15) << "the outer run must not step again after Stop";
  EXPECT_EQ(simulation.neuron().HistoryLength(), 15U);
  EXPECT_EQ(host.redrawnAt, (std::vector<std::string>{"step: 0", "step: 0"}));
  logs->Close();
  EXPECT_EQ(Lines(dir.Read("log.txt")), 2);
}

TEST_F(Run, ResetDuringARunTrainsTheNewNeuronWithTheCountUnbroken) {
  host.At(7, [this] { simulation.ResetNeuron(); });
  host.At(20, StopNow());
  Train();
  EXPECT_EQ(host.stepText, "step: 19");
  EXPECT_EQ(simulation.neuron().HistoryLength(), 13U);
}

// Steps 0 to 2 are taken, then pumps 4 to 8 only wait; the stop ends the run when the pause lifts.
TEST_F(Run, AStopDuringAPauseEndsTheRunWithoutAnotherStep) {
  host.At(3, [this] { simulation.TogglePause(); });
  host.At(5, StopNow());
  host.At(8, [this] { simulation.TogglePause(); });
  Train();
  EXPECT_EQ(host.stepText, "step: 2");
  EXPECT_EQ(simulation.neuron().HistoryLength(), 3U);
  EXPECT_EQ(host.pumps, 8);
}

TEST_F(Run, ANewRunStartsAtStepZeroWithTheTrainedNeuron) {
  host.At(120, StopNow());
  Train();
  host.At(125, StopNow());
  Train();
  EXPECT_EQ(host.stepText, "step: 4");
  EXPECT_EQ(simulation.neuron().HistoryLength(), 125U);
  logs->Close();
  const std::string summaries = dir.Read("log-learn-2.txt");
  EXPECT_EQ(summaries.substr(summaries.rfind('\n', summaries.size() - 2) + 1, 7), "     0 ");
}

TEST(TrainingInput, ABufferReusedEveryStepHoldsWhatAFreshVectorWould) {
  Parameters parameters;
  parameters.patternRate = 0.5;
  parameters.closedNoise = 0.3;
  Simulation reusing(31, parameters), fresh(31, parameters);
  std::vector<double> buffer(30, std::nan(""));  // the wrong length and stale values
  for (int step = 0; step < 400; ++step) {
    const bool left = step % 3 != 0, right = step % 4 != 0;
    DrawTrainingInput(reusing, left, right, buffer);
    ASSERT_EQ(buffer, DrawTrainingInput(fresh, left, right)) << step;
    ASSERT_EQ(reusing.generator(), fresh.generator()) << step;
  }
}

TEST(Probe, LeavesTheNeuronAsItWasAndListsTwelveLines) {
  Simulation simulation(21);
  BCMNeuron& probed = simulation.neuron();
  runtime::Random& g = simulation.generator();
  for (int i = 0; i < 50; ++i) {
    probed.Output(Join(MakePattern(12, 3, g, 0.05), MakeNoise(12, g, 0.05)), true);
  }
  const std::vector<double> weights = probed.Weights();
  const double theta = probed.Theta();
  const std::vector<std::string> lines = ListingLines(CheckItOutResponses(simulation));
  ProbeMaxima(simulation);
  ASSERT_EQ(lines.size(), 12U);
  EXPECT_EQ(lines[0].substr(0, 4), " 0. ");
  EXPECT_EQ(lines[11].substr(0, 4), "11. ");
  EXPECT_EQ(probed.Weights(), weights);
  EXPECT_EQ(probed.Theta(), theta);
  EXPECT_EQ(probed.HistoryLength(), 50U);
}

TEST(Probe, ListingDrawsTheRightEyeFirstAndFormatsLikePrintf) {
  Simulation simulation(22);
  BCMNeuron& probed = simulation.neuron();
  simulation.Reseed(runtime::GeneratorKind::kClassic, 23);
  const std::vector<std::string> lines = ListingLines(CheckItOutResponses(simulation));
  runtime::CRand g(23);
  for (int centre = 0; centre < 12; ++centre) {
    const std::vector<double> right = MakePattern(12, centre, g, 0.05);
    const std::vector<double> left = MakePattern(12, centre, g, 0.05);
    const double y = probed.Output(Join(left, right), false);
    EXPECT_EQ(lines[static_cast<std::size_t>(centre)],
              Printf("%2d. %8.5f + %8.5f  = %8.5f ", centre, probed.yLeft, probed.yRight, y));
  }
  // A line grows to fit huge responses.
  EXPECT_EQ(ListingLine(3, 1e300, -1e300, 0.5),
            Printf("%2d. %8.5f + %8.5f  = %8.5f ", 3, 1e300, -1e300, 0.5));
  EXPECT_GT(ListingLine(3, 1e300, -1e300, 0.5).size(), 600U);
}

TEST(Probe, MaximaStayAtMinusOneHundredWhenNoResponseExceedsIt) {
  Simulation simulation(24);
  // Drives every weight far below zero.
  simulation.neuron().Output(std::vector<double>(24, 100.0), true);
  const EyeMaxima maxima = ProbeMaxima(simulation);
  EXPECT_EQ(maxima.maxLeft, -100.0);
  EXPECT_EQ(maxima.maxRight, -100.0);
}

TEST(Logs, NumbersWidenTheirFieldsAndStepsPrintLikePercentSixD) {
  TempDir dir;
  runtime::CRand generator(25);
  BCMNeuron logged(24, 0.005, 10.0, 1000, 0.15, generator);
  {
    RunLogs logs(dir.path().string());
    logs.LogStep(5, 0.5, true, false, logged);
    logs.LogStep(2'147'483'648LL, 0.5, true, false, logged);
    logs.LogProbe(-100.0, 123.456789);
  }
  std::string weights;
  log_lines::AppendWeights(weights, std::vector{0.5, -0.5, 100.0, -10.0, -9.999996, 1e300});
  EXPECT_EQ(weights, Printf("%8.5f %8.5f %8.5f %8.5f %8.5f %8.5f \n", 0.5, -0.5, 100.0, -10.0,
                            -9.999996, 1e300));
  EXPECT_EQ(weights.substr(0, 18), " 0.50000 -0.50000 ");
  const std::string summaries = dir.Read("log-left-2.txt");
  EXPECT_EQ(summaries.substr(0, 7), "     5 ");
  EXPECT_EQ(summaries.substr(summaries.find('\n') + 1, 11), "2147483648 ");
  EXPECT_EQ(dir.Read("log.txt"), "-100.00000 123.45679\n");
  EXPECT_EQ(StepText(3'000'000'000LL), "step: 3000000000");
  EXPECT_EQ(StepText(-1), "step: -1");
}

// More lines than a batch holds, faster than any writer: the step thread waits for room, and
// Close() leaves every line in its order.
TEST(Logs, AFloodOfLinesWaitsForTheWriterAndLosesNone) {
  TempDir dir;
  std::string probes;
  {
    RunLogs logs(dir.path().string());
    for (int i = 0; i < 20'000; ++i) {
      logs.LogProbe(i, -i);
      logs.LogCourse({1, i, static_cast<std::uint64_t>(i), true, true, 1, 1, 0, 0, 0, 0, 0, 0});
      probes += Printf("%8.5f %8.5f\n", static_cast<double>(i), static_cast<double>(-i));
    }
    logs.Close();
  }
  EXPECT_EQ(dir.Read("log.txt"), probes);
  std::istringstream course(dir.Read("course.csv"));
  std::string row;
  std::getline(course, row);  // the header
  for (int i = 0; i < 20'000 && std::getline(course, row); ++i) {
    ASSERT_EQ(row.substr(0, row.find(',', 2) + 1), Printf("1,%d,", i));
  }
  EXPECT_FALSE(std::getline(course, row)) << "more rows than logged";
}

// Nothing closes the logs here: the writer hands each batch to the files within a fraction of a
// second, and a reader meanwhile sees whole lines of the replay, never a torn one.
TEST_F(Run, LogsReadWhileTheRunGoesOnHoldWholeLinesAndCatchUpWithoutClosing) {
  ExpectedLogs expected = Replay(20'001);
  bool caughtUp = false;
  host.At(20'001, [&] {
    caughtUp = Eventually([&] {
      bool all = true;
      for (const std::string& name : LogNames()) {
        const std::string text = dir.Read(name);
        EXPECT_EQ(text, expected[name].substr(0, text.size())) << name;
        EXPECT_TRUE(text.empty() || text.back() == '\n') << name;
        all = all && text == expected[name];
      }
      return all;
    });
    Stop();
  });
  Train();
  EXPECT_TRUE(caughtUp);
}

// A kill cuts a write short only at a page boundary of the file, so a write may cross one only
// with its first line, which has no line end before it; and each write takes all it can, for few
// system calls.
TEST(LogWrites, CrossAPageBoundaryOnlyWithALineThatMustAndTakeAllTheyCan) {
  constexpr std::uint64_t kPage = 4096;
  std::string text;
  for (int i = 0; i < 3000; ++i)
    text += std::string(static_cast<std::size_t>(i * 37 % 300), 'x') + '\n';
  text += std::string(9000, 'y') + '\n' + "z\n";  // a line longer than two pages
  for (const std::uint64_t start : std::array<std::uint64_t, 4>{0, 4000, 4095, 4096}) {
    std::uint64_t offset = start;
    std::string_view rest = text;
    for (int writes = 0; !rest.empty(); ++writes) {
      ASSERT_LT(writes, 3000) << "no progress";
      const std::size_t length = log_write::NextWrite(rest, offset);
      ASSERT_GT(length, 0U);
      ASSERT_EQ(rest[length - 1], '\n') << "a write ends inside a line";
      const std::uint64_t boundary = (offset / kPage + 1) * kPage;
      const std::uint64_t firstEnd = offset + rest.find('\n') + 1;
      if (offset + length > boundary) {
        EXPECT_GT(firstEnd, boundary) << "crosses a boundary it could have stopped at";
        EXPECT_TRUE(offset + length <= boundary + kPage || offset + length == firstEnd);
      } else if (length < rest.size()) {
        const std::uint64_t nextEnd = offset + rest.find('\n', length) + 1;
        EXPECT_GT(nextEnd, boundary) << "stops short of a line that fitted";
      }
      offset += length;
      rest.remove_prefix(length);
    }
  }
}

TEST(LogWrites, WriteEverythingAndReportTheErrorOfAFailedWrite) {
  TempDir dir;
  const std::string text = std::string(10'000, 'a') + "\n" + std::string(100, 'b') + "\n";
  const std::string path = (dir.path() / "lines").string();
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT, 0600);
  std::uint64_t offset = 0;
  EXPECT_EQ(log_write::WriteWholeLines(fd, text, offset), 0);
  ::close(fd);
  EXPECT_EQ(offset, text.size());
  EXPECT_EQ(dir.Read("lines"), text);
  const int full = ::open("/dev/full", O_WRONLY);
  EXPECT_EQ(log_write::WriteWholeLines(full, text, offset), ENOSPC);
  ::close(full);
}

// A nearly full disk takes part of a write, then nothing: the file is cut back to its last whole
// line, and a later write goes on from there.
TEST(LogWrites, AShortWriteIsCutBackToTheLastWholeLine) {
  TempDir dir;
  const std::string path = (dir.path() / "lines").string();
  for (const std::size_t taken : {3U, 7U, 8U}) {  // within a line, past one, the whole write
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    int calls = 0;
    const auto nearlyFull = [&](int file, const void* bytes, std::size_t count) -> ssize_t {
      if (calls++ > 0) return errno = ENOSPC, -1;
      return ::write(file, bytes, std::min(count, taken));
    };
    std::uint64_t offset = 0;
    const std::string text = "one\ntwo\n" + std::string(9000, 'x') + "\n";
    EXPECT_EQ(log_write::WriteWholeLines(fd, text, offset, nearlyFull), ENOSPC);
    const std::string whole = taken < 4 ? "" : taken < 8 ? "one\n" : "one\ntwo\n";
    EXPECT_EQ(offset, whole.size()) << taken;
    EXPECT_EQ(log_write::WriteWholeLines(fd, "end\n", offset), 0);
    ::close(fd);
    EXPECT_EQ(dir.Read("lines"), whole + "end\n") << taken;
  }
}

TEST_F(Run, FilesThatCannotBeCreatedAreReportedOnceAndLeftOut) {
  ReopenLogsAfter([this] {
    for (const std::string& name : LogNames()) std::filesystem::create_directory(dir.path() / name);
  });
  host.At(250, StopNow());
  Train();
  logs->Close();
  const std::string errors = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(Lines(errors), 7);
  EXPECT_NE(errors.find("orvel: cannot open log-left.txt: Is a directory\n"), std::string::npos);
  EXPECT_EQ(simulation.neuron().HistoryLength(), 250U);
}

TEST_F(Run, AFullDiskIsReportedOnceAndTheOtherFilesStayComplete) {
  ReopenLogsAfter([this] { std::filesystem::create_symlink("/dev/full", dir.path() / "log.txt"); });
  host.At(450, StopNow());
  Train();
  logs->Close();
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "orvel: cannot write log.txt: No space left on device\n");
  ExpectedLogs expected = Replay(450);
  expected["log.txt"] = "";  // /dev/full reads back as nothing
  for (const std::string& name : LogNames()) {
    if (name != "log.txt") {
      EXPECT_EQ(dir.Read(name), expected[name]) << name;
    }
  }
}

TEST(Simulations, TwoInTwoThreadsGiveEachTheLogsTheyGiveAlone) {
  auto session = [](unsigned seed, std::unique_ptr<Session>& made) {
    made = std::make_unique<Session>(seed);
    Session& s = *made;
    s.host.At(900, [&s] { s.simulation.ResetNeuron(); });
    s.host.At(1500, [&s] { s.host.right = false; });
    s.host.At(3001, [&s] { s.Stop(); });
    s.Train();
    s.logs->Close();
  };
  std::unique_ptr<Session> alone[2], together[2];
  session(5, alone[0]);
  session(6, alone[1]);
  std::thread first([&] { session(5, together[0]); });
  std::thread second([&] { session(6, together[1]); });
  first.join();
  second.join();
  for (int i = 0; i < 2; ++i) {
    for (const std::string& name : LogNames()) {
      EXPECT_EQ(together[i]->dir.Read(name), alone[i]->dir.Read(name)) << name;
    }
  }
  EXPECT_NE(alone[0]->dir.Read("log.txt"), alone[1]->dir.Read("log.txt"));
  EXPECT_FALSE(alone[0]->dir.Read("log-left-2.txt").empty());
}
