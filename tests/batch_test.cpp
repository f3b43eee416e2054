#include <gtest/gtest.h>
#include <png.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "BatchOptions.h"
#include "Bcm.h"
#include "CRand.h"
#include "Canvas.h"
#include "Program.h"
#include "ReferenceRun.h"
#include "Refusal.h"
#include "RunLogs.h"
#include "ScriptedHost.h"
#include "Simulation.h"
#include "TempDir.h"
#include "TextLines.h"
#include "TrainingRun.h"
#include "Version.h"
#include "WeightPlot.h"

namespace {
// A window-side host that also draws what the window would draw.
struct DrawingHost : ScriptedHost {
  DrawingHost() : plot(369, 121), canvas(plot) {}
  void ShowNeuron(const BCMNeuron& shown) override {
    DrawWeightPlot(shown.Weights(), shown.Theta(), canvas);
  }
  Bitmap plot;
  TCanvas canvas;
};

// run.json without the lines that differ by design: when, where, and which logs.
std::string RecordWithoutOptions(const std::string& record) {
  std::istringstream in(record);
  std::string kept;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("  \"start_time\"", 0) == 0 || line.rfind("  \"log_folder\"", 0) == 0 ||
        line.rfind("  \"logs\"", 0) == 0) {
      continue;
    }
    kept += line + "\n";
  }
  return kept;
}

std::vector<std::uint32_t> ReadPng(const std::filesystem::path& path, int& width, int& height) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  std::vector<std::uint32_t> pixels;
  if (png_image_begin_read_from_file(&image, path.c_str()) == 0) return pixels;
  image.format = PNG_FORMAT_BGRA;
  width = static_cast<int>(image.width);
  height = static_cast<int>(image.height);
  pixels.resize(image.width * image.height);
  png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr);
  return pixels;
}
}  // namespace

TEST(Batch, ARunMatchesTheWindowsRunLoopByteForByte) {
  TempDir batch, window;
  ASSERT_EQ(RunBatch("--seed 7 run=250", batch.path()).status, 0);

  Simulation simulation(7);
  {
    RunLogs logs(window.path().string());
    ScriptedHost host;
    host.At(250, [&simulation] { simulation.RequestStop(); });
    TrainingRun(simulation, host, logs);
  }
  for (const std::string& name : LogNames()) {
    EXPECT_EQ(batch.Read(name), window.Read(name)) << name;
  }
  EXPECT_EQ(Lines(batch.Read("log.txt")), 3);
}

TEST(Batch, EveryActionKindIsReproducibleAndLogsGoToThePairTheBoxesChose) {
  const std::string script =
      "--seed 11 --quiet run=120 check left=off run=300 reset right=off run=101 left=on right=on "
      "check run=1";
  TempDir first, second;
  const Outcome a = RunBatch(script, first.path());
  const Outcome b = RunBatch(script, second.path());
  ASSERT_EQ(a.status, 0) << a.err;
  EXPECT_EQ(a.out, b.out);
  EXPECT_EQ(Lines(a.out), 24);
  for (const std::string& name : LogNames()) EXPECT_EQ(first.Read(name), second.Read(name));
  // run=120 both eyes: steps 0, 100; run=300 right only: 0, 100, 200; run=101 none: 0, 100;
  // run=1 both: 0.
  EXPECT_EQ(Lines(first.Read("log.txt")), 8);
  EXPECT_EQ(Lines(first.Read("log-learn.txt")), 3);
  EXPECT_EQ(Lines(first.Read("log-learn-2.txt")), 3);
  EXPECT_EQ(Lines(first.Read("log-right.txt")), 3);
  EXPECT_EQ(Lines(first.Read("log-right-2.txt")), 3);
  EXPECT_EQ(first.Read("log-left.txt"), "");
  EXPECT_EQ(first.Read("log-left-2.txt"), "");
}

// Seed 1 at rate 0.02 turns NaN at step 1310: the run stops there, unlogged, and nothing after
// it is played; the 1309 steps before are the very steps of a run that stops short of it.
TEST(Batch, ARunThatDivergesStopsAtThatStepAndEndsTheSessionWithStatus3) {
  TempDir diverged, sound;
  const Outcome a = RunBatch("--seed 1 --rate 0.02 --quiet run=5000 check run=10", diverged.path());
  EXPECT_EQ(a.status, 3);
  EXPECT_EQ(a.err,
            "orvel-batch: diverged at training step 1310: the response became nan: try a lower "
            "--rate\n");
  EXPECT_EQ(a.out, "") << "the check after the divergence is not played";
  ASSERT_EQ(RunBatch("--seed 1 --rate 0.02 --quiet run=1309", sound.path()).status, 0);
  for (const std::string& name : LogNames()) {
    EXPECT_EQ(diverged.Read(name), sound.Read(name)) << name;
    EXPECT_EQ(diverged.Read(name).find("nan"), std::string::npos) << name;
  }
}

TEST(Batch, BadInputIsRefusedNamingTheArgumentAndWritesNothing) {
  const std::pair<std::string, std::string> cases[] = {
      {"--seed 1 jump", "jump"},
      {"--seed 1 run=0", "run=0"},
      {"--seed 1 run=-5", "run=-5"},
      {"--seed 1 run=abc", "run=abc"},
      {"--seed 4294967296 run=1", "4294967296"},
      {"--seed -1 run=1", "-1"},
      {"run=1", "--seed"},
      {"--seed 1 @/no/such/file", "action file /no/such/file: No such file"},
      {"--seed 1 --dir /proc/no/such/dir run=1", "/proc is not writable"},
      {"--seed 1 --dir /etc/hostname run=1", "/etc/hostname is not a folder"},
      {"--seed 1 --dir /etc/hostname/logs run=1", "/etc/hostname is not a folder"},
      {"--seed 1 run=5 left=maybe", "left=maybe"},
      {"--seed 1 --frobnicate", "--frobnicate"},
      {"--seed 1 --logs some run=1", "some"},
  };
  for (const auto& [arguments, named] : cases) ExpectRefused(ParseCommandLine, arguments, named);
  TempDir dir;
  const Outcome help = RunBatch("--help", dir.path());
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("usage: orvel-batch --seed S"), std::string::npos);
  EXPECT_EQ(RunBatch("--version", dir.path()).out,
            std::string("orvel-batch ") + runtime::kVersion + "\n");
  // --dir makes the folder and its parents, as the README's examples take for granted.
  EXPECT_EQ(RunBatch("--seed 1 --dir new/logs run=1", dir.path()).status, 0);
  EXPECT_EQ(Lines(dir.Read("new/logs/log.txt")), 1);
}

TEST(Batch, PlotIsExactlyTheCanvasTheWindowLastDrew) {
  TempDir batch;
  ASSERT_EQ(RunBatch("--seed 3 run=175 --plot plot.png", batch.path()).status, 0);

  Simulation simulation(3);
  DrawingHost host;
  host.ShowNeuron(simulation.neuron());
  {
    TempDir window;
    RunLogs logs(window.path().string());
    host.At(175, [&simulation] { simulation.RequestStop(); });
    TrainingRun(simulation, host, logs);
  }
  int width = 0, height = 0;
  const std::vector<std::uint32_t> png = ReadPng(batch.path() / "plot.png", width, height);
  ASSERT_EQ(width, 369);
  ASSERT_EQ(height, 121);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      ASSERT_EQ(png[static_cast<std::size_t>(y * width + x)], host.plot.At(x, y)) << x << "," << y;
    }
  }
}

// Writing less changes no result: the probe runs at every logged step whatever --logs says, so
// the generator, the listing, the plot, a saved state and every file still written are the same.
TEST(Logs, CourseAndNoneWriteOnlyTheirFilesAndChangeNoResult) {
  const std::string script =
      "--seed 9 --quiet --dir . --plot plot.png run=450 check right=off run=300 save=state.json "
      "reset right=on run=120 check";
  TempDir all;
  const Outcome full = RunBatch(script, all.path());
  ASSERT_EQ(full.status, 0) << full.err;
  const std::map<std::string, std::string> allFiles = FilesUnder(all.path());
  ASSERT_EQ(allFiles.size(), 11U);
  const std::pair<const char*, std::vector<std::string>> cases[] = {
      {"course", {"course.csv", "plot.png", "run.json", "state.json"}},
      {"none", {"plot.png", "run.json", "state.json"}}};
  for (const auto& [choice, names] : cases) {
    TempDir less;
    const Outcome outcome = RunBatch(script + " --logs " + choice, less.path());
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, full.out) << choice;
    const std::map<std::string, std::string> files = FilesUnder(less.path());
    std::vector<std::string> written;
    for (const auto& [name, contents] : files) {
      written.push_back(name);
      if (name == "run.json") {
        EXPECT_EQ(RecordWithoutOptions(contents), RecordWithoutOptions(allFiles.at(name)));
        EXPECT_NE(contents.find(std::string("\n  \"logs\": \"") + choice + "\",\n"),
                  std::string::npos)
            << contents;
      } else {
        EXPECT_EQ(contents, allFiles.at(name)) << choice << " " << name;
      }
    }
    EXPECT_EQ(written, names) << choice;
  }
  EXPECT_EQ(allFiles.at("run.json").find("\"logs\""), std::string::npos);
}
