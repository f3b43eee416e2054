#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

#include "BatchOptions.h"
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
