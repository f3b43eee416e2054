#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "BatchOptions.h"
#include "EnsembleFigureFile.h"
#include "Program.h"
#include "Refusal.h"
#include "TempDir.h"
#include "TextLines.h"

// Ensembles that branch: units that save their own states, and units that go on from them.

namespace fs = std::filesystem;

namespace {
// Folder a holds every file single wrote, byte for byte; run.json but for its start and folder.
void ExpectSameSession(const fs::path& unit, const fs::path& single) {
  for (const auto& [name, contents] : FilesUnder(single)) {
    if (name == "run.json") {
      auto record = [](const fs::path& path) {
        nlohmann::json json = nlohmann::json::parse(ReadFile(path));
        json.erase("start_time");
        json.erase("log_folder");
        return json;
      };
      EXPECT_EQ(record(unit / name), record(single / name)) << unit;
    } else {
      EXPECT_EQ(ReadFile(unit / name), contents) << unit / name;
    }
  }
}

// The single session of one seed, in base's new folder; its listing is its output.
fs::path PlayAlone(const fs::path& base, const std::string& name, int seed,
                   const std::string& actions, std::string& out) {
  const fs::path folder = base / name;
  fs::create_directories(folder);
  const Outcome alone = RunBatch("--quiet --generator pcg32 --seed " + std::to_string(seed) +
                                     " --dir " + folder.string() + " " + actions,
                                 base);
  EXPECT_EQ(alone.status, 0) << alone.err;
  out = alone.out;
  return folder;
}
}  // namespace

// Rear each seed once, saving in its own folder; then go on from each seed's own state, named by
// {seed} or by {unit}: every unit is the single session that loads that seed's state.
TEST(Branch, EachUnitSavesInItsFolderAndGoesOnFromItsOwnState) {
  TempDir dir;
  const Outcome reared = RunBatch(
      "--seeds 1-2 --closed-noise 0,0.1 --quiet --dir rear run=400 save=reared.json", dir.path());
  ASSERT_EQ(reared.status, 0) << reared.err;
  std::string out;
  const fs::path alone =
      PlayAlone(dir.path(), "rear-2", 2, "--closed-noise 0.1 run=400 save=s.json", out);
  EXPECT_EQ(ReadFile(dir.path() / "rear/closed-noise=0.1/seed-2/reared.json"),
            ReadFile(dir.path() / "s.json"));
  const std::string deprive = " left=off run=300 check";
  const Outcome branched = RunBatch(
      "--seeds 1-2 --closed-noise 0,0.1 --quiet --dir md "
      "load=rear/{unit}/reared.json" +
          deprive,
      dir.path());
  ASSERT_EQ(branched.status, 0) << branched.err;
  const Outcome bySeed = RunBatch(
      "--seeds 1-2 --closed-noise 0.1 --quiet --dir md-seed "
      "load=rear/closed-noise=0.1/seed-{seed}/reared.json" +
          deprive,
      dir.path());
  ASSERT_EQ(bySeed.status, 0) << bySeed.err;
  for (const int seed : {1, 2}) {
    const std::string unit = "closed-noise=0.1/seed-" + std::to_string(seed);
    const fs::path single =
        PlayAlone(dir.path(), "md-" + std::to_string(seed), seed,
                  "--closed-noise 0.1 load=rear/" + unit + "/reared.json" + deprive, out);
    EXPECT_EQ(Lines(out), 12);
    EXPECT_EQ(ReadFile(dir.path() / "md" / unit / "checks.txt"), out);
    ExpectSameSession(dir.path() / "md" / unit, single);
    EXPECT_EQ(ReadFile(dir.path() / "md-seed" / ("seed-" + std::to_string(seed)) / "checks.txt"),
              out);
  }
  EXPECT_NE(ReadFile(dir.path() / "md/closed-noise=0.1/seed-1/checks.txt"),
            ReadFile(dir.path() / "md/closed-noise=0.1/seed-2/checks.txt"));
}

// Units that go on from one state differ once --reseed restarts each one's generator from its seed;
// each is the single session with --reseed.
TEST(Branch, ReseedMakesUnitsBranchedFromOneStateDiffer) {
  TempDir dir;
  ASSERT_EQ(RunBatch("--seed 4 --quiet run=300 save=one.json", dir.path()).status, 0);
  const std::string actions = "load=one.json left=off run=300 check";
  const Outcome branched =
      RunBatch("--seeds 1-2 --reseed --quiet --dir out " + actions, dir.path());
  ASSERT_EQ(branched.status, 0) << branched.err;
  std::string out;
  const fs::path single = PlayAlone(dir.path(), "alone", 2, "--reseed " + actions, out);
  ExpectSameSession(dir.path() / "out/seed-2", single);
  EXPECT_EQ(ReadFile(dir.path() / "out/seed-2/checks.txt"), out);
  EXPECT_NE(ReadFile(dir.path() / "out/seed-1/checks.txt"), out);
}

// A unit empties its folder as it plays, so --force over the rearing's own folder, which the
// refusal of another command suggests, would delete the states it is to load.
TEST(Branch, NoUnitLoadsAStateFromAUnitsFolderButOneItSavedItself) {
  TempDir dir;
  ASSERT_EQ(RunBatch("--seeds 1-2 --quiet --dir rear run=200 save=reared.json", dir.path()).status,
            0);
  const std::string reared = ReadFile(dir.path() / "rear/seed-2/reared.json");
  for (const std::string load :
       {"rear/seed-{seed}/reared.json", "rear/../rear/seed-2/reared.json"}) {
    ExpectRefused(ParseCommandLine,
                  "--seeds 1-2 --force --reseed --dir rear load=" + load + " run=10",
                  "is a unit's folder, emptied as the unit plays", dir.path());
  }
  EXPECT_EQ(ReadFile(dir.path() / "rear/seed-2/reared.json"), reared);
  const Outcome own = RunBatch(
      "--seeds 1-2 --quiet --dir own run=10 save=s.json load=own/seed-{seed}/s.json run=10",
      dir.path());
  EXPECT_EQ(own.status, 0) << own.err;
}

TEST(Branch, BadInputIsRefusedInOneLine) {
  const std::pair<std::string, std::string> cases[] = {
      {"--seeds 1-2 --dir . load=x/{seeds}.json run=10", "unknown placeholder {seeds}"},
      {"--seeds 1-2 --dir . load=x/{seed.json run=10", "a { that opens no placeholder"},
      {"--seeds 1-2 --dir . run=10 save=a/b.json", "save= takes a file name"},
      {"--seeds 1-2 --dir . run=10 save=run.json", "run.json is a file of the unit's own"},
      {"--seeds 1-2 --dir . load=s.json run=10",
       "load=s.json: every seed would go on from the same state; {seed} or {unit} in its path "
       "loads each unit's own, --reseed reseeds each from its seed"},
      {"--seeds 1-2 --dir . load=rear/seed-{seed}/r.json run=10", "rear/seed-1/r.json"},
      {"--seed 1 --reseed run=10", "--reseed reseeds a loaded state, and no load= follows"},
  };
  for (const auto& [arguments, named] : cases) ExpectRefused(ParseCommandLine, arguments, named);
}

namespace {
void WriteText(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

// The protocol column of summary.csv, row by row, and its header's last field.
std::vector<std::string> LastFields(const std::string& table) {
  std::vector<std::string> fields;
  std::istringstream lines(table);
  for (std::string line; std::getline(lines, line);)
    fields.push_back(line.substr(line.rfind(',') + 1));
  return fields;
}
}  // namespace

// Each protocol file is one more listed dimension: its units play the command line's actions,
// then the file's, as the single session of both would; the summary names it last; the record
// keeps it, so that another protocol is another ensemble, and --summarize needs no file.
TEST(Protocols, EachFileIsAListedDimensionPlayedAfterTheCommandLine) {
  TempDir dir;
  WriteText(dir.path() / "p/md.txt", "right=off  # close one eye\nrun=300\ncheck\n");
  WriteText(dir.path() / "p/bd", "left=off\nright=off\nrun=300\ncheck\n");
  const std::string ensemble =
      "--seeds 1-2 --closed-noise 0,0.1 --quiet --dir out --protocol p/md.txt,p/bd run=200 check";
  const Outcome made = RunBatch(ensemble, dir.path());
  ASSERT_EQ(made.status, 0) << made.err;
  std::string out;
  const fs::path single =
      PlayAlone(dir.path(), "alone", 2, "--closed-noise 0.1 run=200 check @p/bd", out);
  ExpectSameSession(dir.path() / "out/protocol=bd,closed-noise=0.1/seed-2", single);
  EXPECT_EQ(ReadFile(dir.path() / "out/protocol=bd,closed-noise=0.1/seed-2/checks.txt"), out);

  const std::string summary = ReadFile(dir.path() / "out/summary.csv");
  const std::vector<std::string> protocols = LastFields(summary);
  // Eight units of two checks, the protocol changing slowest.
  const std::vector<std::string> expected = {"protocol", "md", "md", "md", "md", "md",
                                             "md",       "md", "md", "bd", "bd", "bd",
                                             "bd",       "bd", "bd", "bd", "bd"};
  EXPECT_EQ(protocols, expected);
  EXPECT_EQ(summary.rfind("closed_noise,generator,seed,diverged_at,check,steps,", 0), 0U);

  // md closes the right eye and bd both: one line's closures would mislabel the other's.
  const BatchOptions options = ParseCommandLine({"--summarize", (dir.path() / "out").string()});
  EnsembleFigureDamage damage;
  const EnsembleCourse figure = EnsembleCourseOf(options, UnitStatesOf(options), damage);
  EXPECT_TRUE(figure.events.closures.empty());
  EXPECT_EQ(figure.caption.find("the lines close different eyes: no shading"), 30U)
      << figure.caption;

  WriteText(dir.path() / "p/md.txt", "right=off\nrun=301\ncheck\n");
  const Outcome changed = RunBatch(ensemble, dir.path());
  EXPECT_EQ(changed.status, 2);
  EXPECT_NE(changed.err.find("--protocol md,bd"), std::string::npos) << changed.err;
  fs::remove_all(dir.path() / "p");
  const Outcome summarized = RunBatch("--summarize out", dir.path());
  EXPECT_EQ(summarized.status, 0) << summarized.err;
  EXPECT_EQ(ReadFile(dir.path() / "out/summary.csv"), summary);
}

TEST(Protocols, BadProtocolsAreRefusedInOneLine) {
  TempDir dir;
  WriteText(dir.path() / "a/md.txt", "run=10\n");
  WriteText(dir.path() / "b/md.txt", "run=10\n");
  WriteText(dir.path() / "bad.txt", "run=10\nrun=x\n");
  const std::pair<std::string, std::string> cases[] = {
      {"--seeds 1-2 --dir out --protocol a/md.txt,b/md.txt run=10",
       "--protocol a/md.txt and b/md.txt both name protocol=md"},
      {"--seeds 1-2 --dir out --protocol none.txt run=10", "none.txt"},
      {"--seeds 1-2 --dir out --protocol bad.txt run=10", "bad.txt:2: run needs"},
      {"--seeds 1-2 --dir out --protocol .txt run=10", "cannot name the protocol's folder"},
      {"--seed 1 --protocol a/md.txt run=10", "--protocol needs --seeds"},
  };
  for (const auto& [arguments, named] : cases) {
    ExpectRefused(ParseCommandLine, arguments, named, dir.path());
  }
}
