#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "BatchOptions.h"
#include "CheckTable.h"
#include "CoincidingLines.h"
#include "CourseSpreads.h"
#include "Ensemble.h"
#include "EnsembleFigureFile.h"
#include "EnsembleRecord.h"
#include "EnsembleUnitRun.h"
#include "Program.h"
#include "Progress.h"
#include "Refusal.h"
#include "TempDir.h"
#include "TextLines.h"

namespace fs = std::filesystem;

namespace {
std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> items;
  std::istringstream in(text);
  for (std::string item; std::getline(in, item, separator);) items.push_back(item);
  if (!text.empty() && text.back() == separator) items.emplace_back();
  return items;
}

// summary.csv as rows of named fields.
std::vector<std::map<std::string, std::string>> ReadTable(const fs::path& path) {
  const std::vector<std::string> lines = Split(ReadFile(path), '\n');
  const std::vector<std::string> header = Split(lines.at(0), ',');
  std::vector<std::map<std::string, std::string>> rows;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    if (lines[i].empty()) continue;
    const std::vector<std::string> fields = Split(lines[i], ',');
    EXPECT_EQ(fields.size(), header.size()) << lines[i];
    std::map<std::string, std::string> row;
    for (std::size_t k = 0; k < header.size() && k < fields.size(); ++k) {
      row[header[k]] = fields[k];
    }
    rows.push_back(row);
  }
  return rows;
}

// run.json without what differs by design between two runs: the start time and the folder.
nlohmann::json RecordContent(const fs::path& path) {
  nlohmann::json record = nlohmann::json::parse(ReadFile(path));
  record.erase("start_time");
  record.erase("log_folder");
  return record;
}

// Folder a holds every file of folder b as it is, run.json compared by content only.
void ExpectHeld(const fs::path& a, const fs::path& b) {
  for (const auto& [name, contents] : FilesUnder(b)) {
    if (fs::path(name).filename() == "run.json") {
      EXPECT_EQ(RecordContent(a / name), RecordContent(b / name)) << a / name;
    } else if (fs::path(name).extension() != ".png") {
      EXPECT_EQ(ReadFile(a / name), contents) << a / name;
    }
  }
}

// Two ensemble folders hold the same units' files.
void ExpectSameUnits(const fs::path& a, const fs::path& b) {
  EXPECT_EQ(FilesUnder(a).size(), FilesUnder(b).size());
  ExpectHeld(a, b);
}

const char* const kGridActions = " run=2500 check right=off run=1500 check";
const char* const kGrid = "--seeds 3,8 --closed-noise 0,0.1 --quiet";
}  // namespace

// Whatever the number of jobs, each unit's folder holds exactly what the single session of its
// seed and values writes, and its listing is that session's standard output.
TEST(Ensemble, EveryUnitIsTheSingleSessionOfItsSeedAndValuesWithOneOrTwoJobs) {
  for (const char* jobs : {"1", "2"}) {
    SCOPED_TRACE(std::string("--jobs ") + jobs);
    TempDir ensemble;
    const Outcome made = RunBatch(
        std::string(kGrid) + " --jobs " + jobs + " --dir ." + kGridActions, ensemble.path());
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_EQ(made.out, "");
    for (const char* noise : {"0", "0.1"}) {
      for (const char* seed : {"3", "8"}) {
        const fs::path unit = ensemble.path() / (std::string("closed-noise=") + noise) /
                              (std::string("seed-") + seed);
        TempDir single;
        const Outcome alone = RunBatch(std::string("--quiet --generator pcg32 --seed ") + seed +
                                           " --dir . --closed-noise " + noise + kGridActions,
                                       single.path());
        ASSERT_EQ(alone.status, 0) << alone.err;
        EXPECT_EQ(ReadFile(unit / "checks.txt"), alone.out) << unit;
        EXPECT_EQ(Lines(alone.out), 24);
        ExpectHeld(unit, single.path());
        EXPECT_TRUE(fs::exists(unit / "complete"));
      }
    }
  }
}

// A killed ensemble leaves units half done; the same command redoes them from scratch and skips
// the complete ones, so the result is the uninterrupted ensemble's.
TEST(Ensemble, ARerunAfterSigkillOrSigtermFinishesWithTheUninterruptedResult) {
  const std::string command =
      std::string(ORVEL_BATCH) + " --seeds 1-6 --jobs 1 --quiet --dir . run=200000 check";
  TempDir whole;
  ASSERT_EQ(RunProgram(command, "", whole.path()).status, 0);
  for (const int signal : {SIGKILL, SIGTERM}) {
    TempDir interrupted;
    const pid_t child = ::fork();
    if (child == 0) {
      if (::chdir(interrupted.path().c_str()) != 0) ::_exit(127);
      ::execl("/bin/sh", "sh", "-c", ("exec " + command + " 2>/dev/null").c_str(), nullptr);
      ::_exit(127);
    }
    // Once the first unit is complete, the second is under way.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!fs::exists(interrupted.path() / "seed-1" / "complete") &&
           std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ::kill(child, signal);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (signal == SIGTERM) {
      ASSERT_TRUE(WIFEXITED(status));
      EXPECT_EQ(WEXITSTATUS(status), 143);
      const std::string log = ReadFile(interrupted.path() / "seed-2" / "log.txt");
      EXPECT_TRUE(log.empty() || log.back() == '\n') << "a log ended mid-line";
      // The summary of the units complete when it ended, one check each.
      std::size_t complete = 0;
      for (int seed = 1; seed <= 6; ++seed) {
        const fs::path unit = interrupted.path() / ("seed-" + std::to_string(seed));
        complete += fs::exists(unit / "complete") ? 1U : 0U;
      }
      EXPECT_EQ(ReadTable(interrupted.path() / "summary.csv").size(), complete);
    } else {
      ASSERT_TRUE(WIFSIGNALED(status));
    }
    EXPECT_FALSE(fs::exists(interrupted.path() / "seed-6" / "complete")) << "killed too late";
    const Outcome rerun = RunProgram(command, "", interrupted.path());
    ASSERT_EQ(rerun.status, 0) << rerun.err;
    ExpectSameUnits(whole.path(), interrupted.path());
  }
}

// Two machines' shards, here two GNU parallel jobs, fill one folder; --summarize then gives the
// summary of the whole ensemble played at once.
TEST(Ensemble, ShardsRunByGnuParallelAddUpToTheWholeEnsemble) {
  const std::string ensemble =
      std::string(" --seeds 1-3 --rate 0.005,0.01 --quiet --dir . run=2000 check");
  TempDir whole, sharded;
  ASSERT_EQ(RunBatch(ensemble, whole.path()).status, 0);
  const Outcome shards = RunProgram(
      "parallel --will-cite --halt now,fail=1 " ORVEL_BATCH " --shard {}/2" + ensemble + " ::: 1 2",
      "", sharded.path());
  ASSERT_EQ(shards.status, 0) << shards.err;
  const Outcome summarized = RunBatch("--summarize .", sharded.path());
  ASSERT_EQ(summarized.status, 0) << summarized.err;
  EXPECT_EQ(summarized.err, "");
  ExpectSameUnits(whole.path(), sharded.path());
  EXPECT_EQ(Lines(ReadFile(sharded.path() / "summary.csv")), 1 + 6);
}

// An exception in one unit's job ends that unit alone: it is named in one line and left without
// its marker, even one an earlier run left (--force replays complete units), and the others play.
TEST(Ensemble, AUnitThatThrowsEndsAloneAndTheOthersComplete) {
  TempDir dir;
  ASSERT_EQ(RunBatch("--seeds 1-3 --quiet --dir . run=300 check", dir.path()).status, 0);
  fs::remove_all(dir.path() / "seed-1");
  fs::remove_all(dir.path() / "seed-3");
  const BatchOptions options =
      ParseCommandLine({"--seeds", "1-3", "--jobs", "2", "--quiet", "--force", "--dir",
                        dir.path().string(), "run=300", "check"});
  const UnitPlayer failSecond = [](const BatchOptions& ensemble, const BatchOptions& single,
                                   std::size_t index, UnitsShared& shared) {
    if (index == 1) throw std::runtime_error("out of threads");
    return PlayUnit(ensemble, single, index, shared);
  };
  ::testing::internal::CaptureStderr();
  const int status = RunEnsemble(options, nullptr, failSecond);
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(status, 1);
  EXPECT_NE(err.find("/seed-2: out of threads; the unit is not complete\n"), std::string::npos)
      << err;
  EXPECT_EQ(Lines(err), 2) << "and the summary's note of one unit missing: " << err;
  EXPECT_FALSE(fs::exists(dir.path() / "seed-2" / "complete"));
  for (const char* unit : {"seed-1", "seed-3"}) {
    EXPECT_TRUE(fs::exists(dir.path() / unit / "complete")) << unit;
    EXPECT_EQ(Lines(ReadFile(dir.path() / unit / "checks.txt")), 12) << unit;
  }
  EXPECT_EQ(Lines(ReadFile(dir.path() / "summary.csv")), 1 + 2);
}

// Summarizing plays nothing: a state the ensemble loaded may since have moved away.
TEST(Ensemble, SummarizingNeedsNoneOfTheStatesTheUnitsLoaded) {
  TempDir dir;
  ASSERT_EQ(RunBatch("--seed 4 --quiet run=50 save=start.json", dir.path()).status, 0);
  ASSERT_EQ(
      RunBatch("--seeds 1-2 --quiet --reseed --dir . load=start.json run=100 check", dir.path())
          .status,
      0);
  fs::remove(dir.path() / "start.json");
  const Outcome summarized = RunBatch("--summarize .", dir.path());
  EXPECT_EQ(summarized.status, 0) << summarized.err;
  EXPECT_EQ(Lines(ReadFile(dir.path() / "summary.csv")), 1 + 2);
}

namespace {
std::string Fixed5(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%8.5f", value);
  return text;
}
}  // namespace

// Every number of the summary is one the unit's own files show to five decimals: the listing's
// 24 responses from checks.txt, the maxima from log.txt's line before the check; the largest of
// the listing's responses; the threshold and mean weights the state saved at the check holds;
// every parameter that is not listed.
TEST(Ensemble, SummaryRowsHoldTheNumbersOfEachUnitsListingLogAndState) {
  const char* const actions = " run=2500 check=before right=off run=1500 check";
  TempDir dir;
  ASSERT_EQ(RunBatch(std::string(kGrid) + " --rate 0.004 --dir ." + actions, dir.path()).status, 0);
  const auto rows = ReadTable(dir.path() / "summary.csv");
  ASSERT_EQ(rows.size(), 2U * 2U * 2U);
  EXPECT_EQ(ReadFile(dir.path() / "summary.csv").substr(0, 50),
            "closed_noise,generator,seed,diverged_at,check,step");
  for (const auto& row : rows) {
    const fs::path unit =
        dir.path() / ("closed-noise=" + row.at("closed_noise")) / ("seed-" + row.at("seed"));
    const int check = row.at("check") == "before" ? 1 : std::stoi(row.at("check"));
    EXPECT_EQ(row.at("check"), check == 1 ? "before" : "2");
    EXPECT_EQ(row.at("rate"), "0.004");
    EXPECT_EQ(row.at("noise"), "0.05");
    EXPECT_EQ(row.count("generator"), 1U);

    double largest[2] = {-1e300, -1e300};
    for (int position = 0; position < 12; ++position) {
      largest[0] = std::max(largest[0], std::stod(row.at("left_" + std::to_string(position))));
      largest[1] = std::max(largest[1], std::stod(row.at("right_" + std::to_string(position))));
    }
    EXPECT_EQ(std::stod(row.at("listing_max_left")), largest[0]);
    EXPECT_EQ(std::stod(row.at("listing_max_right")), largest[1]);
    EXPECT_NEAR(std::stod(row.at("listing_odi")),
                (largest[1] - largest[0]) / (largest[1] + largest[0]), 1e-12);

    // The same session, saving its state at each check.
    TempDir single;
    const std::string saving =
        std::string(" run=2500 check save=1.json right=off run=1500") + " check save=2.json";
    ASSERT_EQ(RunBatch("--quiet --generator pcg32 --rate 0.004 --seed " + row.at("seed") +
                           " --closed-noise " + row.at("closed_noise") + " --dir ." + saving,
                       single.path())
                  .status,
              0);
    const nlohmann::json neuron = nlohmann::json::parse(
        ReadFile(single.path() / (std::to_string(check) + ".json")))["neuron"];
    const std::vector<double> weights = neuron["weights"];
    const std::size_t half = weights.size() / 2;
    double sums[2] = {0.0, 0.0};
    for (std::size_t i = 0; i < weights.size(); ++i) sums[i < half ? 0 : 1] += weights[i];
    EXPECT_EQ(std::stod(row.at("theta")), neuron["theta"].get<double>());
    EXPECT_DOUBLE_EQ(std::stod(row.at("mean_weight_left")), sums[0] / static_cast<double>(half));
    EXPECT_DOUBLE_EQ(std::stod(row.at("mean_weight_right")), sums[1] / static_cast<double>(half));
    const std::vector<std::string> listing = Split(ReadFile(unit / "checks.txt"), '\n');
    for (int position = 0; position < 12; ++position) {
      const std::string& line = listing.at(static_cast<std::size_t>((check - 1) * 12 + position));
      EXPECT_EQ(line.substr(4, 8), Fixed5(std::stod(row.at("left_" + std::to_string(position)))))
          << unit << " " << line;
      EXPECT_EQ(line.substr(15, 8), Fixed5(std::stod(row.at("right_" + std::to_string(position)))))
          << unit << " " << line;
    }
    // run=2500 logs steps 0 ... 2400, run=1500 steps 0 ... 1400: 25 and 15 lines.
    EXPECT_EQ(row.at("steps"), check == 1 ? "2500" : "4000");
    const std::vector<std::string> log = Split(ReadFile(unit / "log.txt"), '\n');
    const std::string& logged = log.at(check == 1 ? 24 : 39);
    const double left = std::stod(row.at("max_left")), right = std::stod(row.at("max_right"));
    EXPECT_EQ(logged, Fixed5(left) + " " + Fixed5(right)) << unit;
    EXPECT_NEAR(std::stod(row.at("odi")), (right - left) / (right + left), 1e-12);
  }
}

// checks.csv reads back as the rows its writer wrote; anything else is refused in one line naming
// the line and its fault, so that the summary never copies a damaged row. A table of an earlier
// version, without theta and the mean weights, reads with those empty.
TEST(CheckTable, ReadsBackItsRowsAndRefusesEveryDamageInOneLine) {
  const std::string header = CheckTableHeader();
  const std::string earlierHeader = header.substr(0, header.find(",theta")) + '\n';
  std::string listing = "1,2500,1,3,0.5", second = "pre-2_b,4000,,,";
  for (int position = 0; position < 24; ++position) {
    listing += position == 7    ? ",0.75"
               : position == 15 ? ",-0.125"
               : position < 12  ? ",0.25"
                                : ",-0.5";
    second += ",1e-300";
  }
  const std::string first = listing + ",0.125,2,-3\n";
  second += ",0,0,0\n";
  const runtime::Read<std::vector<CheckRow>> rows = ReadCheckRows(header + first + second);
  ASSERT_TRUE(rows) << rows.Error();
  ASSERT_EQ(rows->size(), 2U);
  EXPECT_EQ((*rows)[0].text, first);
  EXPECT_EQ((*rows)[1].text, second);
  EXPECT_EQ((*rows)[0].listingMaxLeft, 0.75);
  EXPECT_EQ((*rows)[0].listingMaxRight, -0.125);
  const auto earlier = ReadCheckRows(earlierHeader + listing + '\n');
  ASSERT_TRUE(earlier) << earlier.Error();
  EXPECT_EQ(earlier->at(0).text, listing + ",,,\n");

  const auto edited = [&](std::string_view from, std::string_view to) {
    std::string line = first;
    return header + line.replace(line.find(from), from.size(), to);
  };
  const std::vector<std::pair<std::string, std::string>> damaged = {
      {"", "line 1 is not the header of a check table"},
      {header.substr(1) + first, "line 1 is not the header of a check table"},
      {header + "garbage,,\n", "line 2: 3 fields, not 32"},
      {earlierHeader + first, "line 2: 32 fields, not 29"},
      {header + first.substr(0, 40), "line 2 is cut short"},
      {header + "_pre" + second.substr(second.find(',')), "line 2: check is neither 1 nor a"},
      {header + "2" + first.substr(1), "line 2: check is neither 1 nor a check's name"},
      {edited("1,3,", ",3,"), "line 2: max_left and max_right must be numbers, or both empty"},
      {edited("2500", "2500x"), "line 2: steps, the responses, theta and the mean weights"},
      {edited(",0.25", ",nothing"), "line 2: steps, the responses, theta and the mean weights"},
      {edited(",-3", ",x"), "line 2: steps, the responses, theta and the mean weights"},
      {edited(",2,", ",2.0,"), "line 2: not check 1 as its numbers are written"},
      {edited(",0.5,", ",0.4,"), "line 2: not check 1 as its numbers are written"},
      {edited(",0.25", ",0.250"), "line 2: not check 1 as its numbers are written"},
  };
  ExpectEachRefused(ReadCheckRows, damaged);
}

namespace {
// Every row of spread.csv is what the units' course.csv rows at its step give: the count, mean,
// sample SD and SEM of the values there, -100 (no response) and empty fields left out.
void ExpectSpreadOfCourses(const fs::path& dir, const std::vector<std::string>& groups,
                           std::size_t steps) {
  const auto spread = ReadTable(dir / "spread.csv");
  ASSERT_EQ(spread.size(), groups.size() * steps * 6);
  for (const auto& row : spread) {
    const std::string group = "closed-noise=" + row.at("closed_noise");
    std::vector<double> values;
    for (const fs::path& unit : fs::directory_iterator(dir / group)) {
      const std::vector<std::string> lines = Split(ReadFile(unit / "course.csv"), '\n');
      const std::vector<std::string> names = Split(lines.at(0), ',');
      const auto column = std::find(names.begin(), names.end(), row.at("quantity")) - names.begin();
      for (const std::string& line : lines) {
        const std::vector<std::string> fields = Split(line, ',');
        if (fields.size() < 3 || fields[2] != row.at("trained_steps")) continue;
        const std::string& field = fields.at(static_cast<std::size_t>(column));
        if (!field.empty() && field != "-100") values.push_back(std::stod(field));
      }
    }
    SCOPED_TRACE(group + " " + row.at("trained_steps") + " " + row.at("quantity"));
    ASSERT_EQ(std::stoul(row.at("n")), values.size());
    ASSERT_GT(values.size(), 1U);
    double mean = 0.0, squares = 0.0;
    for (const double value : values) mean += value / static_cast<double>(values.size());
    for (const double value : values) squares += (value - mean) * (value - mean);
    const double sd = std::sqrt(squares / static_cast<double>(values.size() - 1));
    const double tolerance = 1e-12 * (1.0 + std::abs(mean));
    EXPECT_NEAR(std::stod(row.at("mean")), mean, tolerance);
    EXPECT_NEAR(std::stod(row.at("sd")), sd, tolerance);
    EXPECT_NEAR(std::stod(row.at("sem")), sd / std::sqrt(static_cast<double>(values.size())),
                tolerance);
  }
}
}  // namespace

// The figure's lines are each group's mean over its seeds, row by row of the units' course.csv,
// and its bands one sample standard deviation; spread.csv holds those numbers.
TEST(Ensemble, FigureShowsEachGroupsMeanAndSpreadOverItsSeeds) {
  TempDir dir;
  ASSERT_EQ(RunBatch("--seeds 1-3 --closed-noise 0,0.1 --quiet --dir . run=900 right=off run=600",
                     dir.path())
                .status,
            0);
  EXPECT_EQ(ReadFile(dir.path() / "course.png").substr(1, 3), "PNG");
  const BatchOptions options = ParseCommandLine({"--summarize", dir.path().string()});
  EnsembleFigureDamage damage;
  const EnsembleCourse course = EnsembleCourseOf(options, UnitStatesOf(options), damage);
  EXPECT_EQ(damage.events, "");
  // The closed eye's noise changes nothing before the eye is closed.
  EXPECT_EQ(course.caption,
            "3 seeds per line, mean \u00b1 SD; closed-noise=0 and 0.1 coincide before step 901");
  ASSERT_EQ(course.groups.size(), 2U);
  EXPECT_EQ(course.groups[1].label, "closed-noise=0.1");
  for (std::size_t group = 0; group < 2; ++group) {
    std::vector<double> last;
    for (const char* seed : {"1", "2", "3"}) {
      const fs::path unit = dir.path() / (group == 0 ? "closed-noise=0" : "closed-noise=0.1") /
                            (std::string("seed-") + seed);
      const std::vector<std::string> lines = Split(ReadFile(unit / "course.csv"), '\n');
      last.push_back(std::stod(Split(lines.at(lines.size() - 2), ',').at(6)));  // max_right
    }
    const double mean = (last[0] + last[1] + last[2]) / 3;
    const double variance =
        ((last[0] - mean) * (last[0] - mean) + (last[1] - mean) * (last[1] - mean) +
         (last[2] - mean) * (last[2] - mean)) /
        2;
    const EnsemblePoint& point = course.groups[group].points.back();
    EXPECT_EQ(course.groups[group].points.size(), 15U);
    EXPECT_EQ(point.totalSteps, 1401);
    EXPECT_NEAR(point.maxRight.mean, mean, 1e-12);
    EXPECT_NEAR(point.maxRight.deviation, std::sqrt(variance), 1e-12);
  }
  ASSERT_EQ(course.events.closures.size(), 1U);
  EXPECT_EQ(course.events.closures[0].fromSteps, 900);
  ExpectSpreadOfCourses(dir.path(), {"closed-noise=0", "closed-noise=0.1"}, 15);
  // courses.csv: every unit's rows, after its values and seed.
  ASSERT_EQ(RunBatch("--summarize . --courses", dir.path()).status, 0);
  const auto courses = ReadTable(dir.path() / "courses.csv");
  EXPECT_EQ(courses.size(), 2U * 3U * 15U);
  EXPECT_EQ(courses.back().at("closed_noise") + courses.back().at("seed"), "0.13");
  EXPECT_EQ(courses.back().at("trained_steps"), "1401");
  // A unit left out shows in the caption; the other group keeps its colour.
  for (const char* seed : {"seed-1", "seed-2", "seed-3"}) {
    fs::remove(dir.path() / "closed-noise=0" / seed / "course.csv");
  }
  fs::remove(dir.path() / "closed-noise=0.1" / "seed-2" / "course.csv");
  const EnsembleCourse fewer = EnsembleCourseOf(options, UnitStatesOf(options), damage);
  EXPECT_EQ(fewer.caption, "2 seeds per line (4 left out), mean \u00b1 SD");
  ASSERT_EQ(fewer.groups.size(), 1U);
  EXPECT_EQ(fewer.groups[0].colour, 1U);
}

// Units of a group may differ in length (a shard still writing) and in which values exist (the
// dominance of a neuron silent to both eyes); the spreads must use what is there and no more.
// Seed 1 at rate 0.02 diverges at step 1310 (as a single session does): its unit is complete,
// named in the summary and left out of the figure, and a rerun does not play it again.
TEST(Ensemble, ADivergedUnitIsCompleteNamedInTheSummaryAndLeftOutOfTheFigure) {
  TempDir dir;
  const std::string command =
      "--seeds 1-2 --generator classic --rate 0.02 --quiet --dir . run=1500 check";
  const Outcome first = RunBatch(command, dir.path());
  EXPECT_EQ(first.status, 3);
  EXPECT_NE(first.err.find("./seed-1: diverged at training step 1310"), std::string::npos)
      << first.err;
  const auto rows = ReadTable(dir.path() / "summary.csv");
  ASSERT_EQ(rows.size(), 2U);
  EXPECT_EQ(rows[0].at("diverged_at") + "|" + rows[0].at("steps"), "1310|");
  EXPECT_EQ(rows[1].at("diverged_at") + "|" + rows[1].at("steps"), "|1500");
  const Outcome rerun = RunBatch(command, dir.path());
  EXPECT_EQ(rerun.status, 3);
  EXPECT_EQ(rerun.err.find("seed-1: diverged"), std::string::npos) << "played again";
  const BatchOptions options = ParseCommandLine({"--summarize", dir.path().string()});
  EnsembleFigureDamage damage;
  EXPECT_EQ(EnsembleCourseOf(options, UnitStatesOf(options), damage).caption,
            "1 seed per line (1 left out, diverged), mean \u00b1 SD  --rate 0.02");
  EXPECT_TRUE(damage.courses.empty());
}

namespace {
// A shape of an SVG as drawn: its kind, its stroke colour and its points on the page.
struct Shape {
  std::string kind;  // "circle" (its centre) or "polyline"
  std::string stroke;
  std::vector<std::pair<double, double>> points;
};

std::string Attribute(const std::string& tag, const std::string& name) {
  const std::size_t at = tag.find(" " + name + "=\"");
  if (at == std::string::npos) return "";
  const std::size_t start = at + name.size() + 3;
  return tag.substr(start, tag.find('"', start) - start);
}

std::vector<double> NumbersIn(const std::string& text) {
  std::vector<double> numbers;
  std::string cleaned = text;
  for (char& c : cleaned)
    c = (std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == 'e') ? c : ' ';
  std::istringstream in(cleaned);
  for (double number; in >> number;) numbers.push_back(number);
  return numbers;
}

// The circles and polylines of an SVG, each with the transform of its group applied.
std::vector<Shape> ShapesOf(const std::string& svg) {
  std::vector<Shape> shapes;
  std::string stroke;
  std::vector<double> matrix = {1, 0, 0, 1, 0, 0};
  for (std::size_t at = svg.find('<'); at != std::string::npos; at = svg.find('<', at + 1)) {
    const std::string tag = svg.substr(at, svg.find('>', at) - at);
    const auto place = [&](double x, double y) {
      return std::pair{matrix[0] * x + matrix[2] * y + matrix[4],
                       matrix[1] * x + matrix[3] * y + matrix[5]};
    };
    if (tag.starts_with("<g ")) {
      stroke = Attribute(tag, "stroke");
      const std::string transform = Attribute(tag, "transform");
      matrix = transform.empty() ? std::vector<double>{1, 0, 0, 1, 0, 0} : NumbersIn(transform);
    } else if (tag.starts_with("<circle ")) {
      shapes.push_back({"circle",
                        stroke,
                        {place(std::stod(Attribute(tag, "cx")), std::stod(Attribute(tag, "cy")))}});
    } else if (tag.starts_with("<polyline ")) {
      const std::vector<double> xy = NumbersIn(Attribute(tag, "points"));
      shapes.push_back({"polyline", stroke, {}});
      for (std::size_t i = 0; i + 1 < xy.size(); i += 2)
        shapes.back().points.push_back(place(xy[i], xy[i + 1]));
    }
  }
  return shapes;
}
}  // namespace

// The summary figure's points and error bars are the means and sample SDs of summary.csv's
// listing_odi over the rows of each check, line and x: read back from the SVG, they sit where
// one linear scale puts those numbers.
TEST(Ensemble, SummaryFigureDrawsTheMeanAndSdOfEachChecksRowsFromSummaryCsv) {
  TempDir dir;
  ASSERT_EQ(RunBatch("--seeds 1-3 --noise 0.04,0.06 --closed-noise 0,0.1 --course-format svg "
                     "--quiet --dir . run=900 check=open right=off run=600 check=closed",
                     dir.path())
                .status,
            0);
  // The expected points in the order the figure draws each line's: panel by panel, x rising.
  std::map<std::string, std::vector<std::pair<double, double>>> expected;  // by line: mean, sd
  const auto rows = ReadTable(dir.path() / "summary.csv");
  for (const char* check : {"open", "closed"}) {
    for (const char* line : {"0", "0.1"}) {
      for (const char* noise : {"0.04", "0.06"}) {
        std::vector<double> values;
        for (const auto& row : rows) {
          if (row.at("check") == check && row.at("closed_noise") == line &&
              row.at("noise") == noise) {
            values.push_back(std::stod(row.at("listing_odi")));
          }
        }
        ASSERT_EQ(values.size(), 3U);
        const double mean = (values[0] + values[1] + values[2]) / 3;
        const double sd = std::sqrt(((values[0] - mean) * (values[0] - mean) +
                                     (values[1] - mean) * (values[1] - mean) +
                                     (values[2] - mean) * (values[2] - mean)) /
                                    2);
        expected[line].emplace_back(mean, sd);
      }
    }
  }
  const std::vector<Shape> shapes = ShapesOf(ReadFile(dir.path() / "summary.svg"));
  // Okabe and Ito's blue and vermillion for the two lines.
  const std::map<std::string, std::string> colours = {{"0", "#0072b2"}, {"0.1", "#d55e00"}};
  std::vector<std::pair<double, double>> drawn, meant;  // y on the page, value
  std::vector<std::array<double, 3>> bars;              // the ends' y and the value of half a bar
  for (const auto& [line, points] : expected) {
    std::vector<std::pair<double, double>> centres;
    for (const Shape& shape : shapes) {
      if (shape.kind == "circle" && shape.stroke == colours.at(line))
        centres.push_back(shape.points[0]);
    }
    std::sort(centres.begin(), centres.end());
    ASSERT_EQ(centres.size(), points.size()) << line;
    for (std::size_t i = 0; i < points.size(); ++i) {
      drawn.emplace_back(centres[i].second, points[i].first);
      const auto bar = std::find_if(shapes.begin(), shapes.end(), [&](const Shape& shape) {
        return shape.kind == "polyline" && shape.stroke == colours.at(line) &&
               shape.points.size() == 2 &&
               std::abs(shape.points[0].first - centres[i].first) < 0.01 &&
               std::abs(shape.points[1].first - centres[i].first) < 0.01;
      });
      ASSERT_NE(bar, shapes.end()) << line << " " << i;
      bars.push_back({bar->points[0].second, bar->points[1].second, points[i].second});
    }
  }
  // The page's y of a value from the two points furthest apart, then every point and bar end.
  const auto [low, high] = std::minmax_element(
      drawn.begin(), drawn.end(), [](auto& a, auto& b) { return a.second < b.second; });
  const double perValue = (high->first - low->first) / (high->second - low->second);
  const auto pageY = [&](double value) { return low->first + (value - low->second) * perValue; };
  for (std::size_t i = 0; i < drawn.size(); ++i) {
    EXPECT_NEAR(drawn[i].first, pageY(drawn[i].second), 0.05) << i;
    const double mean = drawn[i].second, half = bars[i][2];
    EXPECT_NEAR(std::max(bars[i][0], bars[i][1]), pageY(mean - half), 0.05) << i;
    EXPECT_NEAR(std::min(bars[i][0], bars[i][1]), pageY(mean + half), 0.05) << i;
  }
}

TEST(Ensemble, SpreadsCutToTheShortestCourseAndLeaveMissingValuesOut) {
  // Rows of trained steps and the two eyes' maxima; -100 is a silent eye.
  const auto course = [](const std::vector<std::array<double, 3>>& rows) {
    std::vector<CourseRow> made;
    for (const auto& [steps, left, right] : rows) {
      made.push_back(
          {1, 0, static_cast<std::uint64_t>(steps), true, true, left, right, 0, 0, 0, 0, 0, 0});
    }
    return made;
  };
  CourseSpreads spreads;
  EXPECT_TRUE(spreads.Empty());
  spreads.Add(course({{1, 1, 2}, {101, -100, -100}, {201, 5, 6}}));
  spreads.Add(course({{1, 3, 2}, {101, -100, -100}}));
  spreads.Add(course({{1, 5, 2}, {101, 7, 0}, {201, 1, 1}}));
  const std::vector<EnsemblePoint> points = spreads.Points();
  ASSERT_EQ(points.size(), 2U);
  EXPECT_EQ(points[1].totalSteps, 101);
  EXPECT_DOUBLE_EQ(points[0].maxLeft.mean, 3.0);
  EXPECT_DOUBLE_EQ(points[0].maxLeft.deviation, 2.0);
  EXPECT_DOUBLE_EQ(points[0].maxRight.deviation, 0.0);
  EXPECT_DOUBLE_EQ(points[0].odi.mean, (1.0 / 3 - 1.0 / 5 - 3.0 / 7) / 3);
  EXPECT_DOUBLE_EQ(points[1].odi.mean, -1.0);  // the only unit with a dominance there
  EXPECT_DOUBLE_EQ(points[1].odi.deviation, 0.0);
  EXPECT_DOUBLE_EQ(points[1].maxRight.mean, 0.0);  // the silent eyes' -100 left out
  EXPECT_DOUBLE_EQ(points[1].maxLeft.mean, 7.0);
}

// Groups whose rows are the same number for number are drawn one over the other, so the caption
// names them, by where they part; a lone shared row (a point, not a line) hides nothing.
TEST(Ensemble, CaptionNamesTheGroupsWhoseLinesCoincide) {
  const double none = std::numeric_limits<double>::quiet_NaN();
  const auto group = [&](const char* label, std::vector<double> lefts) {
    EnsembleGroup made{label, {}, 0};
    for (std::size_t row = 0; row < lefts.size(); ++row) {
      made.points.push_back({static_cast<std::int64_t>(row) * 100000 + 1,
                             {lefts[row], 0.1},
                             {1.0, 0.2},
                             {none, none}});
    }
    return made;
  };
  EXPECT_EQ(CoincidingLinesNote({group("closed-noise=0", {1, 2, 3}),
                                 group("closed-noise=0.05", {1, 2, 4}), group("rate=1", {1, 3, 3}),
                                 group("closed-noise=0.1", {1, 2, 5}), group("rate=2", {7, 7, 7}),
                                 group("rate=3", {7, 7, 7})}),
            "closed-noise=0, 0.05 and 0.1 coincide before step 200,001; "
            "rate=2 and 3 coincide throughout");
  EXPECT_EQ(CoincidingLinesNote({group("a=1", {1, 2}), group("a=2", {1, 3})}), "");
}

// A listed rule is a dimension like a number's list: a folder per rule, a column of its words,
// each unit the single session with that rule.
TEST(Ensemble, RulesAreListedLikeNumbers) {
  TempDir dir;
  const std::string actions = " run=1200 check right=off run=800 check";
  const Outcome made = RunBatch("--seeds 4 --rule bcm,oja --quiet --dir ." + actions, dir.path());
  ASSERT_EQ(made.status, 0) << made.err;
  const auto rows = ReadTable(dir.path() / "summary.csv");
  ASSERT_EQ(rows.size(), 2U * 2U);
  EXPECT_EQ(ReadFile(dir.path() / "summary.csv").substr(0, 15), "rule,generator,");
  EXPECT_EQ(rows[0].at("rule"), "bcm");
  EXPECT_EQ(rows[3].at("rule"), "oja");
  EXPECT_NE(rows[1].at("max_left"), rows[3].at("max_left"));
  TempDir single;
  ASSERT_EQ(
      RunBatch("--quiet --generator pcg32 --seed 4 --rule oja --dir ." + actions, single.path())
          .status,
      0);
  ExpectHeld(dir.path() / "rule=oja" / "seed-4", single.path());
}

TEST(Ensemble, BadInputIsRefusedInOneLineBeforeAFileIsWritten) {
  const std::pair<std::string, std::string> cases[] = {
      {"--seeds 5-1 --dir . run=10", "5-1 runs backwards"},
      {"--seeds 1-1000001 --dir . run=10", "more than 1000000 units"},
      {"--seeds 1-10000 --rate 1,2,3,4,5,6,7,8,9,10 --tau 1,2,3,4,5,6,7,8,9,10,11 --dir . run=10",
       "more than 1000000 units"},
      {"--seeds 1-2 --seed 3 --dir . run=10", "--seeds and --seed"},
      {"--seeds 1,,2 --dir . run=10", "1,,2"},
      {"--seeds 1-x --dir . run=10", "1-x"},
      {"--seeds 1-3,2 --dir . run=10", "a seed twice"},
      {"--seeds 1-2 --shard 3/2 --dir . run=10", "3/2"},
      {"--seeds 1-2 --shard 0/2 --dir . run=10", "0/2"},
      {"--seeds 1-2 --jobs 0 --dir . run=10", "--jobs takes"},
      {"--seeds 1-2 --jobs 257 --dir . run=10",
       "--jobs takes a whole number from 1 to 256, not 257"},
      {"--seed 1 --rate 0.01,0.02 run=10", "needs --seeds"},
      {"--seed 1 --jobs 2 run=10", "--jobs needs --seeds"},
      {"--seeds 1-2 --rate 0.01,0 --dir . run=10", "--rate must be finite, > 0, not 0"},
      {"--seeds 1-2 --rate 0.01,0.010 --dir . run=10", "lists 0.010 twice"},
      {"--seeds 1-2 --noise -0,0 --dir . run=10", "lists 0 twice"},
      {"--seeds 1-2 --rule bcm,hebb --dir . run=10",
       "--rule must be bcm, law-cooper or oja, not hebb"},
      {"--seeds 1-2 --rule oja,bcm,oja --dir . run=10", "lists oja twice"},
      {"--seeds 1-2 run=10", "needs --dir"},
      {"--seeds 1-2 --dir . --plot p.png run=10", "--plot"},
      {"--seeds 1-2 --dir . --course-format gif run=10", "png or svg"},
      {"--seeds 1-2 --dir . --error se run=10", "--error takes sd, sem or ci95, not se"},
      {"--seed 1 --error sem run=10", "--error needs --seeds"},
      {"--seeds 1-2 --dir . --courses run=10", "unknown option: --courses"},
      {"--seeds 1-2 --dir . run=10 check=", "check=NAME takes a letter, then letters"},
      {"--seeds 1-2 --dir . run=10 check=2nd", "check=NAME takes a letter, then letters"},
      {"--seeds 1-2 --dir . run=10 check=a,b", "check=NAME takes a letter, then letters"},
      {"--seeds 1-2 --closed-noise 0,0.1 --dir . run=10 closed-noise=0.05 run=10",
       "closed-noise=0.05: --closed-noise is listed"},
      {"--summarize .", "holds no ensemble.json"},
      // A second option would silently replace the first one's list.
      {"--seeds 1-2 --seeds 3 --dir . run=10", "--seeds is given twice"},
      {"--seeds 1-2 --rate 0.01,0.02 --rate=0.03 --dir . run=10", "--rate is given twice"},
      {"--seeds 1-2 --shard 1/2 --shard 2/2 --dir . run=10", "--shard is given twice"},
      {"--seeds 1-2 --rate --closed-noise 0 --dir . run=10", "--rate needs a value"},
  };
  for (const auto& [arguments, named] : cases) ExpectRefused(ParseCommandLine, arguments, named);
}

TEST(Ensemble, ARerunWithAnotherCommandIsRefusedUnlessForced) {
  TempDir dir;
  ASSERT_EQ(RunBatch("--seeds 1-2 --quiet --dir . run=300 check", dir.path()).status, 0);
  const std::string before = ReadFile(dir.path() / "summary.csv");
  for (const char* other :
       {"--seeds 1-2 --quiet --dir . run=301 check", "--seeds 1-3 --quiet --dir . run=300 check",
        "--seeds 1-2 --rate 0.01 --quiet --dir . run=300 check"}) {
    const Outcome refused = RunBatch(other, dir.path());
    EXPECT_EQ(refused.status, 2) << other;
    EXPECT_NE(refused.err.find("--force"), std::string::npos) << refused.err;
  }
  EXPECT_EQ(ReadFile(dir.path() / "summary.csv"), before);
  const Outcome forced = RunBatch("--seeds 1-2 --quiet --force --dir . run=301 check", dir.path());
  ASSERT_EQ(forced.status, 0) << forced.err;
  EXPECT_NE(ReadFile(dir.path() / "summary.csv"), before);
  EXPECT_NE(ReadFile(dir.path() / "ensemble.json").find("run=301"), std::string::npos);
}

// ensemble.json reads back as the command its writer wrote, protocols included; anything else is
// refused in one line.
TEST(EnsembleRecord, ReadsBackItsCommandAndRefusesEveryDamageInOneLine) {
  const std::vector<std::string> command = {"--seeds", "1-2", "--dir", "caf\u00e9", "run=10"};
  const std::vector<RecordedProtocol> protocols = {{"md", {"right=off", "run=10"}}, {"none", {}}};
  const runtime::Read<EnsembleRecord> read =
      ReadEnsembleRecord(EnsembleRecordText({command, "pcg32", protocols}));
  ASSERT_TRUE(read) << read.Error();
  EXPECT_EQ(read->command, command);
  EXPECT_EQ(read->protocols, protocols);
  const std::vector<std::pair<std::string, std::string>> damaged = {
      {"", "not JSON"},
      {"[]", "the ensemble record must be a JSON object"},
      {R"({"command": []})", "program is missing"},
      {R"({"program": "orvel-batch"})", "command is missing"},
      {R"({"program": "orvel", "command": []})", "program must be \"orvel-batch\", not \"orvel\""},
      {R"({"program": "orvel-batch", "command": [1]})", "command must be an array of strings"},
      {R"({"program": "orvel-batch", "command": "run=10"})", "command must be an array of strings"},
      {R"({"program": "orvel-batch", "command": [], "seed": 1})",
       "seed is not part of an ensemble record"},
      {R"({"program": "orvel-batch", "command": [[[["run=10"]]]]})",
       "nested deeper than an ensemble record ever is"},
      {R"({"program": "orvel-batch", "command": [], "protocols": [{"name": "md"}]})",
       "protocols[0].actions is missing"},
      {R"({"program": "orvel-batch", "command": [], "command": []})",
       "the key \"command\" appears twice"},
  };
  ExpectEachRefused(ReadEnsembleRecord, damaged);
}

TEST(Ensemble, ADamagedRecordIsRefusedInOneLineAndForceReplacesIt) {
  TempDir dir;
  const char* command = "--seeds 1-2 --quiet --dir . run=300 check";
  ASSERT_EQ(RunBatch(command, dir.path()).status, 0);
  const fs::path record = dir.path() / "ensemble.json";
  const nlohmann::json made = RecordContent(record);
  for (const bool folder : {true, false}) {
    fs::remove(record);
    if (folder) {
      fs::create_directory(record);
    } else {
      std::ofstream(record) << "{\"command\": [";
    }
    for (const std::string& arguments : {std::string(command), std::string("--summarize .")}) {
      const Outcome refused = RunBatch(arguments, dir.path());
      EXPECT_EQ(refused.status, 2) << arguments << ": " << refused.err;
      EXPECT_EQ(Lines(refused.err), 1) << refused.err;
      EXPECT_NE(refused.err.find("ensemble.json"), std::string::npos) << refused.err;
    }
  }
  const std::string forced = std::string(command) + " --force";
  const Outcome replaced = RunBatch(forced, dir.path());
  ASSERT_EQ(replaced.status, 0) << replaced.err;
  EXPECT_EQ(RecordContent(record), made);
  fs::remove(record);
  fs::create_directory(record);
  const Outcome folder = RunBatch(forced, dir.path());
  EXPECT_EQ(folder.status, 2);
  EXPECT_NE(folder.err.find("is a folder"), std::string::npos) << folder.err;
}

// A damaged file of a complete unit costs only what is built from it, in one line naming the file
// and its fault, with exit status 1: never an abort, never the other units.
TEST(Ensemble, AUnitWhoseFilesAreDamagedIsNamedInOneLineAndLeftOut) {
  TempDir dir;
  ASSERT_EQ(RunBatch("--seeds 1-3 --quiet --dir . run=300 check", dir.path()).status, 0);
  const std::map<std::string, std::string> made = FilesUnder(dir.path());
  const std::string checks = made.at("seed-1/checks.csv");
  const std::string header = checks.substr(0, checks.find('\n') + 1);
  // Where the nth line of seed-2's course.csv ends.
  const auto lineEnd = [&made](int n) {
    std::size_t end = 0;
    for (int line = 0; line < n; ++line) end = made.at("seed-2/course.csv").find('\n', end) + 1;
    return end;
  };
  const auto record = [&made](const std::string& events) {
    nlohmann::json json = nlohmann::json::parse(made.at("seed-3/run.json"));
    json["events"] = nlohmann::json::parse(events);
    return json.dump();
  };
  struct Damage {
    std::map<std::string, std::string> files;  // "" makes a folder of that name
    std::vector<std::string> named;            // in the one line of standard error
    std::size_t summaryRows;
  };
  const Damage damages[] = {
      {{{"seed-2/checks.csv", "garbage,,\n"}, {"seed-3/checks.csv", header + "1,300,0.5"}},
       {"seed-2/checks.csv: line 1 is not the header", "1 more whose checks.csv is damaged"},
       1},
      {{{"seed-3/run.json", record("[1]")}},
       {"seed-3/run.json: events[0] must be a JSON object", "without its event markers"},
       3},
      {{{"seed-3/run.json", record(R"([{"at": "x", "event": "reset"}])")}},
       {"seed-3/run.json: events[0].at must be a whole number"},
       3},
      {{{"seed-3/run.json", ""}}, {"seed-3/run.json: is a folder"}, 3},
      {{{"seed-1/course.csv", "run,step\n"}},
       {"seed-1/course.csv: line 1 is not the header", "course.png leaves out that unit"},
       3},
      {{{"seed-2/course.csv", made.at("seed-2/course.csv").substr(0, lineEnd(3))}},
       {"seed-2/course.csv: 2 rows, where run.json records 3 logged steps"},
       3},
  };
  for (const Damage& damage : damages) {
    for (const auto& [name, contents] : damage.files) {
      fs::remove(dir.path() / name);
      if (contents.empty()) {
        fs::create_directory(dir.path() / name);
      } else {
        std::ofstream(dir.path() / name, std::ios::binary) << contents;
      }
    }
    fs::remove(dir.path() / "course.png");
    const Outcome outcome = RunBatch("--summarize .", dir.path());
    EXPECT_EQ(outcome.status, 1) << outcome.err;
    EXPECT_EQ(Lines(outcome.err), 1) << outcome.err;
    for (const std::string& named : damage.named) {
      EXPECT_NE(outcome.err.find(named), std::string::npos) << outcome.err;
    }
    EXPECT_EQ(ReadTable(dir.path() / "summary.csv").size(), damage.summaryRows) << outcome.err;
    EXPECT_TRUE(fs::exists(dir.path() / "course.png")) << "drawn all the same";
    for (const auto& [name, contents] : damage.files) {
      fs::remove_all(dir.path() / name);
      std::ofstream(dir.path() / name, std::ios::binary) << made.at(name);
    }
  }
  EXPECT_EQ(RunBatch("--summarize .", dir.path()).status, 0);
  EXPECT_EQ(FilesUnder(dir.path()), made) << "the repaired folder summarizes as it was made";
}

// A bar that wraps scrolls the terminal at every redraw: each line stays within the width.
TEST(ProgressBar, FitsEveryTerminalWidth) {
  const std::string text = "units 12/40  3.21M steps/s  42 s left";
  for (int columns = 1; columns <= 200; ++columns) {
    for (const double fraction : {0.0, 0.5, 1.0}) {
      const std::string line = ProgressLine(columns, fraction, text);
      EXPECT_LT(static_cast<int>(line.size()), std::max(columns, 1)) << columns;
    }
  }
  EXPECT_EQ(ProgressLine(80, 0.5, text).find(text), 33U) << ProgressLine(80, 0.5, text);
  EXPECT_EQ(ProgressLine(80, 0.5, text).substr(0, 4), "[###");
}

// --logs is part of what makes the ensemble: recorded, kept by a resume, and the summary is
// that of all logs; without course.csv the figure is skipped in one line.
TEST(Ensemble, LogsCourseAndNoneKeepTheSummaryAndCourseKeepsTheFigure) {
  const std::string actions = " --seeds 3,8 --quiet --dir . run=2500 check right=off run=500 check";
  TempDir all;
  ASSERT_EQ(RunBatch(actions, all.path()).status, 0);
  TempDir course;
  const std::string courseCommand = actions + " --logs course";
  ASSERT_EQ(RunBatch(courseCommand, course.path()).status, 0);
  const std::string record = ReadFile(course.path() / "ensemble.json");
  EXPECT_NE(record.find("\"--logs\",\n    \"course\""), std::string::npos) << record;
  EXPECT_EQ(ReadFile(course.path() / "summary.csv"), ReadFile(all.path() / "summary.csv"));
  EXPECT_EQ(ReadFile(course.path() / "course.png"), ReadFile(all.path() / "course.png"));
  const std::map<std::string, std::string> before = FilesUnder(course.path() / "seed-8");
  EXPECT_EQ(before.size(), 5U) << "course.csv, run.json, checks.txt, checks.csv, complete";
  EXPECT_EQ(before.at("course.csv"), ReadFile(all.path() / "seed-8" / "course.csv"));

  fs::remove(course.path() / "seed-8" / "complete");
  const Outcome resumed = RunBatch(courseCommand, course.path());
  ASSERT_EQ(resumed.status, 0) << resumed.err;
  const std::map<std::string, std::string> after = FilesUnder(course.path() / "seed-8");
  ASSERT_EQ(after.size(), before.size());
  EXPECT_EQ(after.at("course.csv"), before.at("course.csv"));
  EXPECT_EQ(after.at("checks.csv"), before.at("checks.csv"));
  EXPECT_NE(after.at("run.json").find("\"logs\": \"course\""), std::string::npos);

  TempDir none;
  const Outcome noLogs = RunBatch(actions + " --logs none", none.path());
  ASSERT_EQ(noLogs.status, 0) << noLogs.err;
  EXPECT_EQ(noLogs.err,
            "orvel-batch: no course.png: --logs none writes no course.csv to draw it "
            "from\n");
  EXPECT_FALSE(fs::exists(none.path() / "course.png"));
  EXPECT_EQ(ReadFile(none.path() / "summary.csv"), ReadFile(all.path() / "summary.csv"));
  EXPECT_EQ(FilesUnder(none.path() / "seed-3").size(), 4U)
      << "run.json, checks.txt, checks.csv, complete";
}

// The estimate the progress bars show, against what a 10^5-step run wrote.
TEST(ProgressBar, EstimatesTheLogsWithinAFifth) {
  for (const char* logs : {"all", "course"}) {
    TempDir dir;
    const std::string command = std::string("--seed 1 --quiet --logs ") + logs + " run=100000";
    ASSERT_EQ(RunBatch(command, dir.path()).status, 0);
    std::uintmax_t written = 0;
    for (const auto& entry : fs::directory_iterator(dir.path())) {
      if (entry.path().filename() != "run.json") written += entry.file_size();
    }
    const BatchOptions options = ParseCommandLine(Split(command, ' '));
    const double estimate = static_cast<double>(ScriptLogBytes(options, options.parameters));
    EXPECT_NEAR(estimate, static_cast<double>(written), 0.2 * static_cast<double>(written)) << logs;
  }
  const BatchOptions none = ParseCommandLine({"--seed", "1", "--logs", "none", "run=100000"});
  EXPECT_EQ(ScriptLogBytes(none, none.parameters), 0U);
  EXPECT_EQ(LogBytesText(4'787'105), "logs about 4.8 MB");
}
