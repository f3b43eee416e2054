#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <thread>

#include "BatchOptions.h"
#include "Program.h"
#include "Refusal.h"
#include "Simulation.h"
#include "TempDir.h"
#include "TextLines.h"
#include "Version.h"
#include "WholeFile.h"
#include "WindowOptions.h"

namespace {
// The window, told never to look for a screen, and stopped should it ever open.
Outcome RunWindow(const std::string& arguments, const std::filesystem::path& directory,
                  int seconds = 10) {
  return RunProgram(
      "QT_QPA_PLATFORM=offscreen timeout -s TERM " + std::to_string(seconds) + " " ORVEL, arguments,
      directory);
}

void Write(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

}  // namespace

// What the parsers refuse, the programs print as one line and exit with status 2, writing nothing.
TEST(BothPrograms, PrintBadInputInOneLineAndExitTwoWritingNothing) {
  TempDir batch, window;
  const Outcome refused = RunBatch("--seed 1 run=10 --rate 0", batch.path());
  EXPECT_EQ(refused.status, 2);
  EXPECT_EQ(refused.err,
            "orvel-batch: --rate must be finite, > 0, not 0 (see orvel-batch --help)\n");
  EXPECT_TRUE(std::filesystem::is_empty(batch.path()));
  const Outcome unopened = RunWindow("--tau 0", window.path());
  EXPECT_EQ(unopened.status, 2);
  EXPECT_EQ(unopened.err, "orvel: --tau must be whole, 1 ... 10000000, not 0 (see orvel --help)\n");
  EXPECT_TRUE(std::filesystem::is_empty(window.path()));
}

// Every way in refuses a value outside the option's range, naming both, and changes nothing:
// SetParameter (the settings dialog's way) and the two command lines.
TEST(Parameters, EveryOptionRefusesValuesOutsideItsRangeNamingIt) {
  struct Case {
    std::string name, range;
    std::vector<std::string> values;
  };
  const Case cases[] = {
      {"rate", "finite, > 0", {"0", "-0.1", "nan", "inf", "1e999", "abc", "", "0.1x", "+1"}},
      {"tau", "whole, 1 ... 10000000", {"0", "10000001", "1.5", "-3", "1e3"}},
      {"theta0", "finite, > 0", {"0", "-1", "inf"}},
      {"noise", "finite, 0 ... 10", {"-0.01", "10.5", "nan"}},
      {"closed-noise", "finite, 0 ... 10", {"-1", "11", "inf"}},
      {"pattern-rate", "0 ... 1", {"-0.1", "1.01", "nan"}},
      {"init-weights", "finite, >= 0", {"-0.1", "inf"}},
      {"log-every", "whole, 1 ... 1000000000", {"0", "1000000001", "2.5"}},
      {"rule", "bcm, law-cooper or oja", {"hebb", "BCM", "law_cooper"}},
  };
  for (const auto& [name, range, values] : cases) {
    for (const std::string& value : values) {
      const std::string message = "--" + name + " must be " + range + ", not " + value;
      Parameters parameters;
      try {
        SetParameter(parameters, *FindParameterOption(name), value);
        ADD_FAILURE() << message;
      } catch (const UsageError& error) {
        EXPECT_EQ(error.what(), message);
      }
      EXPECT_EQ(parameters, Parameters()) << "a rejected value changed the parameters";
      ExpectRefused(ParseCommandLine, "--seed 1 run=10 --" + name + "=" + value, message);
      ExpectRefused(ParseWindowOptions, "--" + name + "=" + value, message);
    }
  }
  ExpectRefused(ParseCommandLine, "--seed 1 run=10 --rate", "--rate needs a value");
  ExpectRefused(ParseWindowOptions, "--rate", "--rate needs a value");
  for (const auto& [name, value] : {std::pair{"tau", "10000000"}, std::pair{"pattern-rate", "1"},
                                    std::pair{"noise", "10"}, std::pair{"init-weights", "0"}}) {
    Parameters parameters;
    EXPECT_NO_THROW(SetParameter(parameters, *FindParameterOption(name), value)) << name;
  }
  Parameters negative;
  negative.rate = -1;
  EXPECT_THROW(Simulation(1, negative), std::invalid_argument);
}

TEST(BothPrograms, ExplicitDefaultsChangeNoByte) {
  TempDir plain, explicit_;
  const std::string actions = " run=450 right=off run=350 check";
  const Outcome a = RunBatch("--seed 11" + actions, plain.path());
  const Outcome b = RunBatch(
      "--seed 11 --logs all --rate 0.005 --tau=1000 --theta0 10 --noise 0.05 "
      "--closed-noise 0.05 --pattern-rate 0.2 --init-weights 0.15 "
      "--log-every 100" +
          actions,
      explicit_.path());
  ASSERT_EQ(a.status, 0) << a.err;
  ASSERT_EQ(b.status, 0) << b.err;
  EXPECT_EQ(a.out, b.out);
  for (const auto& entry : std::filesystem::directory_iterator(plain.path())) {
    const std::string name = entry.path().filename().string();
    if (name != "run.json") {
      EXPECT_EQ(plain.Read(name), explicit_.Read(name)) << name;
    }
  }
}

TEST(Window, PrintsItsSeedListsItsOptionsAndUsesTheFolderItIsGiven) {
  TempDir dir;
  const Outcome started = RunWindow("--seed 1796640711 --dir a/logs --rate 0.01", dir.path(), 4);
  EXPECT_EQ(started.out, "seed 1796640711\n");
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "a" / "logs" / "log.txt"));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "log.txt"));
  const Outcome help = RunWindow("--help", dir.path());
  EXPECT_EQ(help.status, 0);
  for (const char* option : {"--seed", "--dir", "--rate", "--closed-noise", "--log-every"}) {
    EXPECT_NE(help.out.find(option), std::string::npos) << option;
  }
  ExpectRefused(ParseWindowOptions, "--seed 1 --seed 2", "--seed is given twice");
  ExpectRefused(ParseWindowOptions, "--rate 0.01 --rate=0.02", "--rate is given twice");
  ExpectRefused(ParseWindowOptions, "--dir --seed 1", "--dir needs a value");
  ExpectRefused(ParseWindowOptions, "--dir /proc/no/such", "/proc is not writable");
  ExpectRefused(ParseWindowOptions, "--lesson " ORVEL_SOURCE_DIR "/README.md",
                "README.md:3: unknown action: ```sh");
  EXPECT_EQ(RunWindow("--version", dir.path()).out,
            std::string("orvel ") + runtime::kVersion + "\n");
}

// Whatever the plot target, nothing that was there is ever lost, and a bad one is refused
// before a long run rather than after it.
TEST(Plot, BadTargetsAreRefusedBeforeTheRunAndNoExistingFileIsLost) {
  TempDir dir;
  const std::filesystem::path pipe = dir.path() / ".." / (dir.path().filename().string() + ".png");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  std::filesystem::create_directory(dir.path() / ".." / "orvel-plot-folder.png");
  const std::pair<std::string, std::string> cases[] = {
      {pipe.string(), "is not a regular file"}, {"../orvel-plot-folder.png", "is a folder"},
      {"/proc/plot.png", "not writable"},       {"/no/such/folder/plot.png", "does not exist"},
      {"plot.jpg", "--plot takes a .png file"}, {"plot", "--plot takes a .png file"},
  };
  for (const auto& [target, message] : cases) {
    ExpectRefused(ParseCommandLine, "--seed 1 --plot " + target + " run=100000000", message,
                  dir.path());
  }
  struct stat status {};
  EXPECT_EQ(::stat(pipe.c_str(), &status), 0);
  EXPECT_TRUE(S_ISFIFO(status.st_mode)) << "the pipe was replaced";
  std::filesystem::remove(pipe);
  std::filesystem::remove(dir.path() / ".." / "orvel-plot-folder.png");

  Write(dir.path() / "plot.png", "the old plot");
  ASSERT_EQ(RunBatch("--seed 1 --plot plot.png run=10", dir.path()).status, 0);
  EXPECT_EQ(dir.Read("plot.png").substr(1, 3), "PNG");
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    EXPECT_EQ(entry.path().filename().string().find(".partial"), std::string::npos);
  }
}

// Ensemble units write whole files while other units create their logs: a whole file must get the
// usual permissions without touching the process's umask, which every thread's new files share.
TEST(WholeFiles, TakeTheUmaskWithoutChangingItUnderOtherThreads) {
  TempDir dir;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  const auto usual = static_cast<mode_t>(0666 & ~mask);
  std::atomic<bool> writing = true;
  std::thread writer([&] {
    std::string error;
    for (int i = 0; i < 2000; ++i)
      runtime::WriteWholeFile((dir.path() / "whole").string(), "x", error);
    writing = false;
  });
  int created = 0, unusual = 0;
  while (writing) {
    const std::string log = (dir.path() / ("log-" + std::to_string(created++ % 50))).string();
    const int descriptor = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    struct stat status {};
    ::fstat(descriptor, &status);
    ::close(descriptor);
    ::unlink(log.c_str());
    if ((status.st_mode & 0777) != usual) ++unusual;
  }
  writer.join();
  EXPECT_EQ(unusual, 0) << "of " << created << " files";
  struct stat status {};
  ASSERT_EQ(::stat((dir.path() / "whole").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, usual);
}

TEST(WholeFiles, SyncingAFolderFlushesItsFilesOrNamesWhatFailed) {
  TempDir dir;
  Write(dir.path() / "log.txt", "line\n");
  std::filesystem::create_directory(dir.path() / "inner");
  std::string error;
  EXPECT_TRUE(runtime::SyncFolder(dir.path().string(), error)) << error;
  const std::string missing = (dir.path() / "gone").string();
  EXPECT_FALSE(runtime::SyncFolder(missing, error));
  EXPECT_NE(error.find(missing), std::string::npos) << error;
}

TEST(ActionFiles, AcceptByteOrderMarksCommentsAndCrlfAndNameFileAndLineOfAFault) {
  TempDir dir, inline_;
  const std::filesystem::path script = dir.path() / ".." / "orvel-script.txt";
  Write(script,
        "\xEF\xBB\xBF# deprivation\r\nright=off   # close it\r\n\r\nrun=150\r\n  check  \r\n");
  const Outcome a = RunBatch("--seed 5 @" + script.string(), dir.path());
  const Outcome b = RunBatch("--seed 5 right=off run=150 check", inline_.path());
  ASSERT_EQ(a.status, 0) << a.err;
  EXPECT_EQ(a.out, b.out);
  EXPECT_EQ(dir.Read("log-left-2.txt"), inline_.Read("log-left-2.txt"));

  Write(script, "run=10\ncheck\nrun=ten\n");
  ExpectRefused(ParseCommandLine, "--seed 5 @" + script.string(), "orvel-script.txt:3: run");
  // Raw bytes must not reach the terminal.
  Write(script, "run=10\nrun=\xFF\xFE\n");
  ExpectRefused(ParseCommandLine, "--seed 5 @" + script.string(),
                "orvel-script.txt:2: not UTF-8 text: run=\\xFF\\xFE");
  std::filesystem::remove(script);
  ExpectRefused(ParseCommandLine, "--seed 5 @.", "is a folder");
  // Read to the end, a device would never end.
  ExpectRefused(ParseCommandLine, "--seed 5 @/dev/zero", "is not a regular file");
}

TEST(ExitStatus, TellsSuccessLostLinesAndBadInputApart) {
  TempDir fine, unwritable;
  EXPECT_EQ(RunBatch("--seed 1 run=300", fine.path()).status, 0);
  std::filesystem::create_directory(unwritable.path() / "log-learn.txt");
  const Outcome lost = RunBatch("--seed 1 run=300", unwritable.path());
  EXPECT_EQ(lost.status, 1);
  EXPECT_EQ(lost.err.rfind("orvel-batch: cannot open log-learn.txt", 0), 0U) << lost.err;
  EXPECT_EQ(Lines(unwritable.Read("log-learn-2.txt")), 3) << "the run went on";
  ExpectRefused(ParseCommandLine, "--seed 1 --seed 2 run=3", "--seed is given twice");
  ExpectRefused(ParseCommandLine, "--seed 1 --rate 0.01 --rate=0.02 run=3",
                "--rate is given twice");
  ExpectRefused(ParseCommandLine, "--seed 1 --course-size 600x400 run=3",
                "--course-size sizes the figure");
  ExpectRefused(ParseCommandLine, "--seed 1", "no actions");
  ExpectRefused(ParseCommandLine, "--seed 1 --quiet", "no actions");
}

// The README's deprivation example, run as printed: which files fill tells which eye was closed.
TEST(Readme, DeprivationExampleFillsTheFilesItSaysItDoes) {
  const std::string readme = ReadFile(ORVEL_SOURCE_DIR "/README.md");
  const std::smatch found = [&readme] {
    std::smatch match;
    std::regex_search(readme, match,
                      std::regex("cat > deprivation.txt <<'ACTIONS'\n([^]*?)\nACTIONS\n([^\n]*)"));
    return match;
  }();
  ASSERT_EQ(found.size(), 3U) << "the README lost its example";
  TempDir dir;
  Write(dir.path() / "deprivation.txt", found[1].str() + "\n");
  std::string command = found[2].str();
  command = std::regex_replace(command, std::regex("build/ci/app/orvel-batch"), ORVEL_BATCH);
  ASSERT_NE(command.find(ORVEL_BATCH), std::string::npos) << command;
  ASSERT_EQ(RunProgram("", command + " >/dev/null", dir.path()).status, 0) << command;
  for (const char* name : {"log-left-2.txt", "log-left.txt", "log-learn-2.txt", "log.txt"}) {
    EXPECT_FALSE(dir.Read(std::string("out/") + name).empty()) << name;
  }
  for (const char* name : {"log-right-2.txt", "log-right.txt"}) {
    EXPECT_TRUE(dir.Read(std::string("out/") + name).empty()) << name;
  }
  EXPECT_NE(readme.find("`out/log-left-2.txt` then holds the deprivation phase"),
            std::string::npos);
}

namespace {
std::vector<std::string> LastLines(const std::string& text, std::size_t count) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  if (lines.size() > count) lines.erase(lines.begin(), lines.end() - static_cast<long>(count));
  return lines;
}
}  // namespace

// Rear once, save, and continue in another process with any seed: the continuation is the very
// run the first process made, byte for byte, wherever the history stood.
TEST(SavedStates, ContinueExactlyInAnotherProcess) {
  for (const int rearing : {500, 1000, 5000}) {
    TempDir first, second;
    const std::string state = (first.path() / "s.json").string();
    const std::string rear = "--seed 3 right=off run=" + std::to_string(rearing);
    ASSERT_EQ(RunBatch(rear + " save=" + state + " run=3000 check", first.path()).status, 0);
    const Outcome continued =
        RunBatch("--seed 99 load=" + state + " run=3000 check", second.path());
    ASSERT_EQ(continued.status, 0) << continued.err;
    for (const char* name : {"log.txt", "log-left.txt", "log-left-2.txt"}) {
      EXPECT_EQ(LastLines(first.Read(name), 30), LastLines(second.Read(name), 30))
          << name << " after " << rearing;
    }
    EXPECT_EQ(Lines(second.Read("log-left-2.txt")), 30) << "the eye boxes come with the state";
    EXPECT_EQ(LastLines(RunBatch(rear + " run=3000 check", first.path()).out, 12),
              LastLines(continued.out, 12));
  }
}

TEST(SavedStates, ParametersMustAgreeUnlessOverriddenAndBadFilesAreRefusedFirst) {
  TempDir dir, empty;
  const std::string state = (dir.path() / "s.json").string();
  ASSERT_EQ(RunBatch("--seed 1 --rate 0.01 run=200 save=" + state, dir.path()).status, 0);
  EXPECT_EQ(RunBatch("--seed 2 load=" + state + " run=10", empty.path()).status, 0)
      << "the state's own parameters need no repeating";
  ExpectRefused(ParseCommandLine, "--seed 2 --rate 0.02 load=" + state + " run=10",
                "s.json: --rate 0.02 differs from the state's 0.01");
  TempDir overridden;
  EXPECT_EQ(RunBatch("--seed 2 --rate 0.02 --override-parameters load=" + state + " run=10",
                     overridden.path())
                .status,
            0);
  const std::string run = overridden.Read("run.json");
  EXPECT_NE(run.find("\"rate\": 0.02"), std::string::npos) << run;
  Write(dir.path() / "bad.json", "{\"format\": \"orvel-state\", \"version\": 1}");
  ExpectRefused(ParseCommandLine,
                "--seed 2 run=100000000 load=" + (dir.path() / "bad.json").string(), "bad.json: ");
  ExpectRefused(ParseCommandLine, "--seed 2 run=10 save=/proc/s.json", "not writable");
}

TEST(CourseFigure, IsRefusedBeforeTheRunWhenItCouldNotBeWrittenAndDrawnAfterIt) {
  TempDir dir;
  for (const auto& [arguments, message] :
       {std::pair{"--course c.gif", "c.gif"}, std::pair{"--course /proc/c.png", "not writable"},
        std::pair{"--course c.png --course-size 100x100", "200x150"},
        std::pair{"--course c.svg --course-size 9000x900", "8000x8000"},
        std::pair{"--course c.png --course-size big", "--course-size takes WIDTHxHEIGHT"}}) {
    ExpectRefused(ParseCommandLine, std::string("--seed 1 run=100000000 ") + arguments, message,
                  dir.path());
  }
  ASSERT_EQ(RunBatch("--seed 1 run=3000 right=off run=3000 --course c.svg --course-size 800x600",
                     dir.path())
                .status,
            0);
  const std::string svg = dir.Read("c.svg");
  EXPECT_NE(svg.find("<svg"), std::string::npos);
  EXPECT_NE(svg.find("right eye closed"), std::string::npos);
  EXPECT_NE(svg.find("seed 1"), std::string::npos);
}
