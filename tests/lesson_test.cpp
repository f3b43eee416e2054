#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "CommandLine.h"
#include "Lesson.h"
#include "LessonPlayer.h"
#include "Program.h"
#include "Session.h"
#include "TempDir.h"

// Lessons: their texts, their faults named by line, and the actions they share with orvel-batch.
namespace {
void Write(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::string FaultOf(const std::string& text, LessonUse use = LessonUse::kLesson) {
  try {
    ParseLesson(text, "l.txt", use);
  } catch (const UsageError& fault) {
    return fault.what();
  }
  return "accepted";
}
}  // namespace

TEST(Lessons, KeepPhasesQuestionsAndActionsInTheFilesOrder) {
  const Lesson lesson = ParseLesson(
      "# a comment\nlesson: Closing one eye\n\nphase: Rearing\nsay: Both eyes\nsay: see bars.\n"
      "say:\nsay: Position #5 wins.\nwatch: the bars  # grow\nrun=100 # a comment\ncheck=reared\n"
      "ask: What now?\nask: Guess.\nright=off\nclosed-noise=0\nrun=50\nend: Done\nend: here.\n",
      "l.txt");
  EXPECT_EQ(lesson.title, "Closing one eye");
  ASSERT_EQ(lesson.phases.size(), 1U);
  EXPECT_EQ(lesson.phases[0].paragraphs,
            (std::vector<std::string>{"Both eyes see bars.", "", "Position #5 wins."}));
  EXPECT_EQ(lesson.phases[0].watch, "the bars  # grow");
  using Kind = Lesson::Step::Kind;
  std::vector<Kind> kinds;
  for (const Lesson::Step& step : lesson.steps) kinds.push_back(step.kind);
  EXPECT_EQ(kinds, (std::vector<Kind>{Kind::kPhase, Kind::kAct, Kind::kAct, Kind::kAsk, Kind::kAct,
                                      Kind::kAct, Kind::kAct}));
  EXPECT_EQ(lesson.steps[3].question, "What now? Guess.");
  EXPECT_EQ(lesson.steps[5].action.kind, Action::Kind::Set);
  EXPECT_EQ(lesson.steps[5].action.name, "closed-noise");
  EXPECT_EQ(lesson.ending, std::vector<std::string>{"Done here."});
  EXPECT_EQ(lesson.Actions().size(), 5U);
}

TEST(Lessons, NameTheLineOfEachFault) {
  const std::vector<std::pair<std::string, std::string>> faults = {
      {"lesson: A\nrun=10\nrun=ten\n", "l.txt:3: run needs a whole number"},
      {"lesson: A\nsay: early\nrun=10\n", "l.txt:2: say: belongs to a phase"},
      {"run=10\nlesson: A\n", "l.txt:2: lesson: comes first"},
      {"lesson: A\nlesson: B\nrun=1\n", "l.txt:2: lesson: comes first"},
      {"lesson:\nrun=1\n", "l.txt:1: lesson: needs a title"},
      {"lesson: A\nphase:   \nrun=1\n", "l.txt:2: phase: needs its text"},
      {"lesson: A\nphase: P\nwatch:\nrun=1\n", "l.txt:3: watch: needs its text"},
      {"lesson: A\nrule=hebb\nrun=1\n", "l.txt:2: rule=hebb: --rule must be"},
      {"lesson: A\nnoise=-1\nrun=1\n", "l.txt:2: noise=-1: --noise must be"},
      {"lesson: A\ntitle: B\n", "l.txt:2: unknown action: title: B"},
      {"lesson: A\n@more.txt\n", "l.txt:2: an action file cannot name another"},
      {"lesson: A\nphase: P\n", "l.txt: a lesson needs at least one run=N"},
      {"phase: P\nrun=1\n", "l.txt: a lesson begins with lesson: TITLE"},
  };
  for (const auto& [text, fault] : faults) {
    const std::string message = FaultOf(text);
    EXPECT_EQ(message.rfind(fault, 0), 0U) << message;
    EXPECT_EQ(message.find('\n'), std::string::npos) << message;
  }
  // As an action file, texts are optional, but still read strictly.
  EXPECT_EQ(FaultOf("run=1\n", LessonUse::kActionFile), "accepted");
  EXPECT_EQ(FaultOf("say: early\nrun=1\n", LessonUse::kActionFile).rfind("l.txt:1: say:", 0), 0U);
}

TEST(Lessons, OrvelBatchSkipsTheTextsAndSetsParametersAsTheirOptionsWould) {
  TempDir lesson, plain, option;
  Write(lesson.path() / "../l.txt",
        "lesson: L\nphase: P\nsay: hello\nright=off\nclosed-noise=0\nask: ready?\nrun=300\n"
        "check\nend: bye\n");
  const Outcome a = RunBatch("--seed 3 @../l.txt", lesson.path());
  const Outcome b = RunBatch("--seed 3 right=off closed-noise=0 run=300 check", plain.path());
  const Outcome c = RunBatch("--seed 3 --closed-noise 0 right=off run=300 check", option.path());
  ASSERT_EQ(a.status, 0) << a.err;
  std::filesystem::remove(lesson.path() / "../l.txt");
  EXPECT_EQ(a.out, b.out);
  EXPECT_EQ(a.out, c.out);
  for (const char* log : {"log.txt", "log-left.txt", "log-left-2.txt", "course.csv"}) {
    EXPECT_EQ(lesson.Read(log), plain.Read(log)) << log;
    EXPECT_EQ(lesson.Read(log), option.Read(log)) << log;
  }
  // A closed eye that sees nothing has nothing to learn from: its 12 weights never move.
  std::istringstream weights(lesson.Read("log-left.txt"));
  std::string first, line, last;
  std::getline(weights, first);
  int lines = 1;
  for (; std::getline(weights, line); ++lines) {
    EXPECT_EQ(line.substr(12 * 9), first.substr(12 * 9));
    last = line;
  }
  EXPECT_EQ(lines, 3);
  EXPECT_NE(last.substr(0, 12 * 9), first.substr(0, 12 * 9)) << "the open eye learns";
}

TEST(Lessons, ASetParameterBetweenRunsIsReplayedAndOneDuringARunIsNot) {
  Session session(4, Parameters{});
  session.SetParameter("closed-noise", "0");
  EXPECT_EQ(session.simulation().parameters().ClosedNoise(), 0.0);
  const auto command = session.ReplayCommand().Command("out");
  ASSERT_TRUE(command.has_value()) << session.ReplayCommand().WhyNot();
  EXPECT_NE(command->find(" closed-noise=0"), std::string::npos) << *command;
  EXPECT_THROW(session.SetParameter("rate", "-1"), std::invalid_argument);
  EXPECT_THROW(session.SetParameter("speed", "1"), std::invalid_argument);
  EXPECT_EQ(session.simulation().parameters().rate, Parameters{}.rate);
}

TEST(Lessons, EveryShippedLessonTeachesWithChecksAndPlaysInOrvelBatch) {
  int lessons = 0;
  for (const auto& entry : std::filesystem::directory_iterator(ORVEL_SOURCE_DIR "/lessons")) {
    if (entry.path().extension() != ".txt") continue;
    ++lessons;
    const std::string file = entry.path().filename().string();
    const Lesson lesson = ReadLessonFile(entry.path().string());
    int asks = 0, checks = 0;
    for (const Lesson::Step& step : lesson.steps) {
      asks += step.kind == Lesson::Step::Kind::kAsk ? 1 : 0;
      checks += step.kind == Lesson::Step::Kind::kAct && !step.action.name.empty() &&
                step.action.kind == Action::Kind::Check;
    }
    EXPECT_GE(lesson.phases.size(), 2U) << file;
    EXPECT_GE(asks, 1) << file;
    EXPECT_GE(checks, 2) << file << ": the numbers before and after";
    EXPECT_FALSE(lesson.ending.empty()) << file;
    for (const Lesson::Phase& phase : lesson.phases) EXPECT_FALSE(phase.paragraphs.empty()) << file;
    TempDir dir;
    const Outcome played = RunBatch("--seed 1 --logs none @" + entry.path().string(), dir.path());
    EXPECT_EQ(played.status, 0) << file << ": " << played.err;
  }
  EXPECT_EQ(lessons, 6);
}

namespace {
// A window that trains by counting, and can be told to stop a run after so many steps.
class CountingHost : public LessonHost, public LessonView {
 public:
  std::int64_t RunLessonSteps(std::int64_t steps) override {
    const std::int64_t trained = stopAfter > 0 && stopAfter < steps ? stopAfter : steps;
    stopAfter = 0;
    said.push_back("run " + std::to_string(trained));
    return trained;
  }
  std::vector<ListingRow> CheckListing() override {
    said.push_back("check");
    return {{0.5, 1.5, 2.0}, {1.0, -0.5, 0.5}};
  }
  std::string Perform(const Action& action) override {
    said.push_back(action.word);
    return action.kind == Action::Kind::Load ? "no such file" : "";
  }
  bool Closing() const override { return false; }

  void ShowPhase(const Lesson::Phase& phase, std::size_t number, std::size_t phases) override {
    said.push_back("phase " + std::to_string(number) + "/" + std::to_string(phases) + " " +
                   phase.title);
  }
  void ShowRun(std::int64_t) override {}
  void Ask(const std::string& question) override { said.push_back("ask " + question); }
  void ShowStopped(std::int64_t left) override {
    said.push_back("stopped " + std::to_string(left));
  }
  void ShowFailure(const std::string& why) override { said.push_back("failed " + why); }
  void ShowEnd(const std::vector<std::string>& ending,
               const std::vector<LessonNumbers>& shown) override {
    said.push_back("end " + ending.front());
    numbers = shown;
  }

  std::int64_t stopAfter = 0;
  std::vector<std::string> said;
  std::vector<LessonNumbers> numbers;
};

std::vector<std::string> Taken(std::vector<std::string>& said) {
  return std::exchange(said, {});
}
}  // namespace

TEST(Lessons, PauseAtEachCheckpointAndAfterAStopAndTrainExactlyTheirStepsOnContinue) {
  CountingHost host;
  LessonPlayer player(ParseLesson("lesson: L\nphase: A\nsay: a\nrun=100\ncheck=before\n"
                                  "ask: Guess?\nphase: B\nsay: b\nright=off\nrun=300\ncheck\n"
                                  "end: Bye.\n",
                                  "l.txt"),
                      host, host);
  using V = std::vector<std::string>;
  player.Play();
  EXPECT_EQ(Taken(host.said), (V{"phase 1/2 A", "run 100", "check", "ask Guess?"}));
  EXPECT_EQ(player.state(), LessonPlayer::State::kAsking);
  host.stopAfter = 120;
  player.Play();
  EXPECT_EQ(Taken(host.said), (V{"phase 2/2 B", "right=off", "run 120", "stopped 180"}));
  EXPECT_EQ(player.state(), LessonPlayer::State::kStopped);
  player.Play();
  EXPECT_EQ(Taken(host.said), (V{"run 180", "check", "end Bye."}));
  EXPECT_EQ(player.state(), LessonPlayer::State::kEnded);
  player.Play();
  EXPECT_TRUE(host.said.empty()) << "an ended lesson stays ended";

  ASSERT_EQ(host.numbers.size(), 2U);
  EXPECT_EQ(host.numbers[0].check, "before");
  EXPECT_EQ(host.numbers[0].step, 100);
  EXPECT_EQ(host.numbers[1].check, "check 1");
  EXPECT_EQ(host.numbers[1].step, 400);
  EXPECT_EQ(host.numbers[1].largest.maxLeft, 1.0);
  EXPECT_EQ(host.numbers[1].largest.maxRight, 1.5);
  EXPECT_DOUBLE_EQ(host.numbers[1].dominance, (1.5 - 1.0) / (1.5 + 1.0));

  LessonPlayer failing(ParseLesson("lesson: L\nrun=5\nload=gone.json\nrun=5\n", "l.txt"), host,
                       host);
  failing.Play();
  EXPECT_EQ(Taken(host.said),
            (V{"run 5", "load=gone.json", "failed load=gone.json: no such file"}));
  failing.Play();
  EXPECT_TRUE(host.said.empty()) << "a failed lesson plays no further";
}
