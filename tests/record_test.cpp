#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <nlohmann/json.hpp>
#include <sstream>

#include "CourseCsv.h"
#include "NumberText.h"
#include "Refusal.h"
#include "RunLogs.h"
#include "RunRecord.h"
#include "ScriptedHost.h"
#include "Simulation.h"
#include "TempDir.h"
#include "TextLines.h"
#include "TrainingRun.h"

namespace {
std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> Fields(const std::string& line, char separator) {
  std::vector<std::string> fields;
  std::istringstream in(line);
  for (std::string field; std::getline(in, field, separator);) {
    if (!field.empty() || separator == ',') fields.push_back(field);
  }
  if (separator == ',' && !line.empty() && line.back() == ',') fields.emplace_back();
  return fields;
}

// A number of the course as the logs print it: "%8.5f" without the padding.
std::string AsLogged(double value) {
  std::string text;
  runtime::AppendFixed(text, value, 0, 5);
  return text;
}
std::string AsLogged(const std::string& exact) {
  return AsLogged(std::stod(exact));
}
}  // namespace

// Every course row must tell the same numbers as the seven logs, through nested runs, a reset and
// every eye combination.
TEST(CourseRecord, AgreesWithTheSevenLogsThroughEveryKindOfAction) {
  TempDir dir;
  Simulation simulation(12);
  ScriptedHost host;
  {
    RunLogs logs(dir.path().string());
    host.At(250, [&] { host.right = false; });
    host.At(420, [&] { TrainingRun(simulation, host, logs); });  // a nested run
    host.At(650, [&] { host.left = false; });                    // neither eye: no summaries
    host.At(760, [&] { host.right = true; });
    host.At(900, [&] { host.left = host.right = true; });
    host.At(1000, [&] { simulation.ResetNeuron(); });
    host.At(1301, [&] { simulation.RequestStop(); });
    TrainingRun(simulation, host, logs);
    host.At(1400, [&] { simulation.RequestStop(); });
    TrainingRun(simulation, host, logs);
  }
  const std::vector<std::string> rows = LinesOf(dir.Read("course.csv"));
  ASSERT_EQ(rows.front(),
            "run,step,trained_steps,left_ticked,right_ticked,max_left,max_right,ocular_dominance,"
            "theta,response,response_left,response_right,mean_weight_left,mean_weight_right");
  const auto probes = LinesOf(dir.Read("log.txt"));
  ASSERT_EQ(rows.size(), probes.size() + 1);
  std::map<std::string, std::vector<std::string>> summaries, weights;
  for (const char* eyes : {"learn", "left", "right"}) {
    summaries[eyes] = LinesOf(dir.Read(std::string("log-") + eyes + "-2.txt"));
    weights[eyes] = LinesOf(dir.Read(std::string("log-") + eyes + ".txt"));
  }
  std::map<std::string, std::size_t> used;
  std::vector<int> runs;
  std::uint64_t lastTrained = 0;
  for (std::size_t i = 1; i < rows.size(); ++i) {
    const std::vector<std::string> row = Fields(rows[i], ',');
    ASSERT_EQ(row.size(), 14U) << rows[i];
    if (runs.empty() || runs.back() != std::stoi(row[0])) runs.push_back(std::stoi(row[0]));
    const auto trained = std::stoull(row[2]);
    EXPECT_GT(trained, lastTrained) << "rows out of order";
    lastTrained = trained;
    const std::vector<std::string> probe = Fields(probes[i - 1], ' ');
    EXPECT_EQ(AsLogged(row[5]), probe[0]);
    EXPECT_EQ(AsLogged(row[6]), probe[1]);
    const double left = std::stod(row[5]), right = std::stod(row[6]);
    if (left + right > 0) {
      EXPECT_DOUBLE_EQ(std::stod(row[7]), (right - left) / (right + left));
    } else {
      EXPECT_EQ(row[7], "");
    }
    const bool leftTicked = row[3] == "1", rightTicked = row[4] == "1";
    if (!leftTicked && !rightTicked) continue;
    const std::string eyes = leftTicked && rightTicked ? "learn" : leftTicked ? "left" : "right";
    const std::size_t k = used[eyes]++;
    const std::vector<std::string> summary = Fields(summaries[eyes].at(k), ' ');
    EXPECT_EQ(std::to_string(std::stoll(row[1])), summary[0]);
    // The both-eyes log shows the left part negated; the record never does.
    const double yLeft = std::stod(row[10]);
    EXPECT_EQ(AsLogged(eyes == "learn" ? -yLeft : yLeft), summary[1]) << i;
    EXPECT_EQ(AsLogged(row[11]), summary[2]);
    EXPECT_EQ(AsLogged(row[9]), summary[3]);
    EXPECT_EQ(AsLogged(row[8]), summary[4]);
    const std::vector<std::string> w = Fields(weights[eyes].at(k), ' ');
    double sumLeft = 0, sumRight = 0;
    for (std::size_t j = 0; j < 12; ++j) {
      sumLeft += std::stod(w[j]);
      sumRight += std::stod(w[12 + j]);
    }
    EXPECT_NEAR(std::stod(row[12]), sumLeft / 12, 1e-5);
    EXPECT_NEAR(std::stod(row[13]), sumRight / 12, 1e-5);
  }
  // The nested run takes the next number; its Stop ends the outer run too.
  EXPECT_EQ(runs, (std::vector<int>{1, 2, 3}));
  for (const char* eyes : {"learn", "left", "right"}) {
    EXPECT_EQ(used[eyes], summaries[eyes].size()) << eyes;
  }
  EXPECT_GT(used["right"], 0U);
  EXPECT_GT(used["left"], 0U);
}

// course.csv reads back as the rows its writer wrote, every number to the bit; anything else is
// refused in one line naming the line and its fault.
TEST(CourseRecord, ReadsBackItsRowsAndRefusesEveryDamageInOneLine) {
  const std::string header = course_csv::Header();
  const std::string row = "1,0,1,1,1,1,3,0.5,10,0.25,0.5,-0.25,0.15,0.125\n";
  std::string written = header + row;
  course_csv::AppendRow(written, {2, 9223372036854775807, 18446744073709551615U, false, true, -100,
                                  -100, -0.0, 5e-324, 1e308, -1e-300, 0, 1});
  const runtime::Read<std::vector<CourseRow>> rows = course_csv::ReadRows(written);
  ASSERT_TRUE(rows) << rows.Error();
  ASSERT_EQ(rows->size(), 2U);
  EXPECT_EQ((*rows)[0].maxRight, 3.0);
  EXPECT_EQ((*rows)[0].meanRightWeight, 0.125);
  EXPECT_EQ((*rows)[1].trainedSteps, 18446744073709551615U);
  EXPECT_TRUE(std::signbit((*rows)[1].theta));
  EXPECT_EQ((*rows)[1].y, 5e-324);
  EXPECT_EQ(course_csv::ReadRows(header)->size(), 0U);

  const auto edited = [&](std::string_view from, std::string_view to) {
    std::string line = row;
    return header + line.replace(line.find(from), from.size(), to);
  };
  const std::vector<std::pair<std::string, std::string>> damaged = {
      {"", "line 1 is not the header of a course record"},
      {"run,step\n" + row, "line 1 is not the header of a course record"},
      {header + row.substr(0, 20), "line 2 is cut short"},
      {header + row + "1,0\n", "line 3: 2 fields, not 14"},
      {edited("0.125", "0.125,7"), "line 2: 15 fields, not 14"},
      {edited(",1,3,", ",abc,3,"), "line 2: max_left cannot be \"abc\""},
      {edited("1,0,1,1,1", "1,0,1,2,1"), "line 2: left_ticked cannot be \"2\""},
      {edited("1,0,1,", "+1,0,1,"), "line 2: run cannot be \"+1\""},
      {edited("1,0,1,", "1,0,18446744073709551616,"), "trained_steps cannot be"},
      {edited("1,0,1,", "1,0,-1,"), "trained_steps cannot be \"-1\""},
      {edited("0.125\n", "0.125\r\n"), "mean_weight_right cannot be \"0.125\\x0D\""},
      {edited(",0.5,10", ",0.75,10"), "line 2: not as its numbers are written"},
      {edited(",0.5,10", ",,10"), "line 2: not as its numbers are written"},
      {edited(",10,", ",10.0,"), "line 2: not as its numbers are written"},
  };
  ExpectEachRefused(course_csv::ReadRows, damaged);
}

TEST(RunRecord, IsJsonWithEveryParameterTheSeedAndTheEvents) {
  TempDir dir;
  Parameters parameters;
  parameters.rate = 0.0125;
  parameters.closedNoise = 0.0;
  RunRecord record(dir.path().string(), "orvel-batch", 4294967295U, parameters);
  record.SetActions({"run=10", "right=off"});
  record.NoteRun(0, 1);
  record.NoteEyes(10, true, false);
  record.NoteEyes(10, true, false);
  record.NoteReset(10);
  std::string error;
  ASSERT_TRUE(record.Save(error)) << error;
  const auto json = nlohmann::json::parse(dir.Read("run.json"));
  EXPECT_EQ(json["program"], "orvel-batch");
  EXPECT_EQ(json["seed"], 4294967295U);
  EXPECT_EQ(json["parameters"].size(), ParameterOptions().size());
  EXPECT_EQ(json["parameters"]["rate"], 0.0125);
  EXPECT_EQ(json["parameters"]["closed-noise"], 0.0);
  EXPECT_EQ(json["parameters"]["tau"], 1000);
  EXPECT_EQ(json["log_folder"], dir.path().string());
  EXPECT_EQ(json["actions"], nlohmann::json::array({"run=10", "right=off"}));
  EXPECT_EQ(json["events"].size(), 4U) << "an unchanged eye box is not an event";
  EXPECT_EQ(json["events"][2]["right"], false);
  const std::string start = json["start_time"];
  EXPECT_EQ(start.size(), 20U);
  EXPECT_EQ(start[10], 'T');
  EXPECT_EQ(start.back(), 'Z');
}

// Whatever a run.json holds, its reader gives back the events its writer noted or says in one
// line what is wrong; a type mismatch anywhere must never escape as an exception.
TEST(RunRecord, ReadsBackItsEventsAndRefusesEveryDamageInOneLine) {
  RunRecord record("folder", "orvel", 7, Parameters{});
  record.NoteRun(0, 1);
  record.NoteEyes(300, true, false);
  record.NoteLoad(300, "reared.json");
  record.NoteReset(9223372036854775807U);
  const runtime::Read<std::vector<RunRecord::Event>> events = ReadRunEvents(record.Text());
  ASSERT_TRUE(events) << events.Error();
  ASSERT_EQ(events->size(), 5U);
  EXPECT_EQ((*events)[1].kind, "run");
  EXPECT_EQ((*events)[1].run, 1);
  EXPECT_EQ((*events)[2].at, 300U);
  EXPECT_FALSE((*events)[2].right);
  EXPECT_EQ((*events)[3].file, "reared.json");
  EXPECT_EQ((*events)[4].at, 9223372036854775807U);

  using Json = nlohmann::json;
  const std::string text = record.Text();
  const auto edited = [&text](const std::function<void(Json&)>& edit) {
    Json json = Json::parse(text);
    edit(json);
    return json.dump();
  };
  const std::vector<std::pair<std::string, std::string>> damaged = {
      {edited([](Json& r) { r["events"] = Json::array({1}); }), "events[0] must be a JSON object"},
      {edited([](Json& r) { r["events"][0]["at"] = "x"; }), "events[0].at must be a whole number"},
      {edited([](Json& r) { r["events"][0]["at"] = -1; }),
       "events[0].at must be 0 ... 9223372036854775807, not -1"},
      {edited([](Json& r) { r["events"][0]["at"] = 9223372036854775808U; }),
       "not 9223372036854775808"},
      {edited([](Json& r) { r["events"][0]["at"] = 1e300; }),
       "events[0].at must be a whole number"},
      {edited([](Json& r) { r["events"][0].erase("left"); }), "events[0].left is missing"},
      {edited([](Json& r) { r["events"][1]["colour"] = 1; }),
       "events[1].colour is not part of a run record"},
      {edited([](Json& r) { r["events"][1]["event"] = "jump"; }),
       "events[1].event must be run, eyes"},
      {edited([](Json& r) {
         r["events"] = Json::object({{"at", 0}});
       }),
       "events must be an array"},
      {edited([](Json& r) { r.erase("events"); }), "events is missing"},
      {edited([](Json& r) { r["seed"] = 4294967296U; }), "seed must be 0 ... 4294967295"},
      {edited([](Json& r) { r["parameters"]["rate"] = "fast"; }),
       "parameters.rate must be a number"},
      {edited([](Json& r) { r["actions"] = Json::array({1}); }),
       "actions must be an array of strings"},
      {"[]", "the run record must be a JSON object"},
      {"", "not JSON"},
      {text.substr(0, text.size() / 2), "not JSON"},
      {"{\"events\": [{\"at\": 1e400}]}", "not JSON"},
      {"{\"events\": [[[]]]}", "nested deeper than a run record ever is"},
      {"{\"seed\": 1, \"seed\": 2}", "the key \"seed\" appears twice"},
  };
  ExpectEachRefused(ReadRunEvents, damaged);
}
