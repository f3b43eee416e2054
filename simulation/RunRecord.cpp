#include "RunRecord.h"

#include <ctime>
#include <limits>
#include <nlohmann/json.hpp>

#include "FormatError.h"
#include "JsonFields.h"
#include "LogNames.h"
#include "Printable.h"
#include "RegularFile.h"
#include "Version.h"
#include "WholeFile.h"

namespace {
std::string UtcNow() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  ::gmtime_r(&now, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}

// Each parameter under its option's name, with the number or the word it holds.
nlohmann::ordered_json ParameterJson(const Parameters& parameters) {
  nlohmann::ordered_json json = nlohmann::ordered_json::object();
  for (const ParameterOption& option : ParameterOptions()) {
    const std::string value = option.get(parameters);
    json[std::string(option.name)] = option.kind == ValueKind::kWord
                                         ? nlohmann::ordered_json(value)
                                         : nlohmann::ordered_json::parse(value);
  }
  return json;
}

nlohmann::ordered_json EventJson(const RunRecord::Event& event) {
  nlohmann::ordered_json json = {{"at", event.at}, {"event", event.kind}};
  if (event.kind == "run") json["run"] = event.run;
  if (event.kind == "eyes") {
    json["left"] = event.left;
    json["right"] = event.right;
  }
  if (event.kind == "load") json["file"] = event.file;
  if (event.kind == "logs") json["logs"] = LogChoiceName(event.logs);
  if (event.kind == "parameters" && event.parameters) {
    json["parameters"] = ParameterJson(*event.parameters);
  }
  if (event.kind == "seed") json["seed"] = event.seed;
  if (event.kind == "diverged") {
    json["quantity"] = event.quantity;
    json["value"] = event.value;
  }
  if (event.kind == "generator")
    json["generator"] = std::string(runtime::GeneratorName(event.generator));
  return json;
}

// The record, its parameters and actions, its events and their fields.
constexpr runtime::JsonFormat kRunRecordJson{"the run record", "a run record", 3};

// The chart counts steps in 64-bit signed numbers.
constexpr std::uint64_t kMostSteps = std::numeric_limits<std::int64_t>::max();

// Records made before a newer parameter existed lack it.
bool Recorded(const runtime::JsonFields& json, const ParameterOption& option) {
  return !option.newer || json.Has(option.name);
}

void CheckParameters(const runtime::JsonFields& json) {
  std::vector<std::string_view> names;
  for (const ParameterOption& option : ParameterOptions()) names.push_back(option.name);
  json.Only(names);
  for (const ParameterOption& option : ParameterOptions()) {
    if (!Recorded(json, option)) continue;
    if (option.kind == ValueKind::kWord) {
      json.Text(option.name);
    } else {
      json.Real(option.name);
    }
  }
}

// The values of a checked parameters object; a value set() refuses keeps its default.
Parameters ParametersOf(const runtime::JsonFields& json) {
  Parameters parameters;
  for (const ParameterOption& option : ParameterOptions()) {
    if (!Recorded(json, option)) continue;
    const nlohmann::json& value = json.Value(option.name);
    option.set(parameters,
               option.kind == ValueKind::kWord ? value.get<std::string>() : value.dump());
  }
  return parameters;
}

runtime::GeneratorKind GeneratorOf(const runtime::JsonFields& json, std::string_view key) {
  const std::string name = json.Text(key);
  if (const auto generator = runtime::GeneratorNamed(name)) return *generator;
  throw runtime::FormatError(json.PathOf(key) + " must be classic or pcg32, not \"" +
                             runtime::Printable(name, runtime::kQuotedField) + "\"");
}

LogChoice LogChoiceOf(const runtime::JsonFields& json, std::string_view key) {
  const std::string name = json.Text(key);
  for (LogChoice choice : {LogChoice::kAll, LogChoice::kCourse, LogChoice::kNone}) {
    if (name == LogChoiceName(choice)) return choice;
  }
  throw runtime::FormatError(json.PathOf(key) + " must be all, course or none, not \"" +
                             runtime::Printable(name, runtime::kQuotedField) + "\"");
}

RunRecord::Event EventOf(const runtime::JsonFields& json) {
  RunRecord::Event event;
  event.at = json.Whole("at", kMostSteps);
  event.kind = json.Text("event");
  if (event.kind == "run") {
    json.Only({"at", "event", "run"});
    event.run = static_cast<int>(json.Whole("run", std::numeric_limits<int>::max()));
  } else if (event.kind == "eyes") {
    json.Only({"at", "event", "left", "right"});
    event.left = json.Flag("left");
    event.right = json.Flag("right");
  } else if (event.kind == "load") {
    json.Only({"at", "event", "file"});
    event.file = json.Text("file");
  } else if (event.kind == "logs") {
    json.Only({"at", "event", "logs"});
    event.logs = LogChoiceOf(json, "logs");
  } else if (event.kind == "parameters") {
    json.Only({"at", "event", "parameters"});
    if (json.Has("parameters")) {
      CheckParameters(json.Object("parameters"));
      event.parameters = ParametersOf(json.Object("parameters"));
    }
  } else if (event.kind == "seed") {
    json.Only({"at", "event", "seed"});
    event.seed =
        static_cast<std::uint32_t>(json.Whole("seed", std::numeric_limits<std::uint32_t>::max()));
  } else if (event.kind == "generator") {
    json.Only({"at", "event", "generator"});
    event.generator = GeneratorOf(json, "generator");
  } else if (event.kind == "reset") {
    json.Only({"at", "event"});
  } else if (event.kind == "diverged") {
    json.Only({"at", "event", "quantity", "value"});
    event.quantity = json.Text("quantity");
    event.value = json.Text("value");
  } else {
    throw runtime::FormatError(json.PathOf("event") +
                               " must be run, eyes, reset, load, parameters, seed, generator, "
                               "logs or diverged, not \"" +
                               runtime::Printable(event.kind, runtime::kQuotedField) + "\"");
  }
  return event;
}

std::vector<RunRecord::Event> EventsOf(const nlohmann::json& json) {
  const runtime::JsonFields record(json, kRunRecordJson);
  record.Only({"program", "version", "seed", "generator", "parameters", "logs", "log_folder",
               "start_time", "actions", "events"});
  record.Text("program");
  record.Text("version");
  record.Whole("seed", std::numeric_limits<std::uint32_t>::max());
  // Records from before the choice of generator have none: theirs was classic.
  if (record.Has("generator")) GeneratorOf(record, "generator");
  CheckParameters(record.Object("parameters"));
  record.Text("log_folder");
  record.Text("start_time");
  if (record.Has("logs")) LogChoiceOf(record, "logs");
  if (record.Has("actions")) record.Texts("actions");
  std::vector<RunRecord::Event> events;
  for (const runtime::JsonFields& event : record.Objects("events"))
    events.push_back(EventOf(event));
  return events;
}
}  // namespace

RunRecord::RunRecord(std::string folder, std::string program, std::uint32_t seed,
                     const Parameters& parameters, runtime::GeneratorKind generator)
    : folder_(folder.empty() ? "." : std::move(folder)),
      program_(std::move(program)),
      seed_(seed),
      generator_(generator),
      notedGenerator_(generator),
      parameters_(parameters),
      notedParameters_(parameters),
      startTime_(UtcNow()) {
  events_.push_back({0, "eyes", 0, true, true, ""});
}

void RunRecord::NoteEyes(std::uint64_t at, bool left, bool right) {
  if (left == left_ && right == right_) return;
  left_ = left;
  right_ = right;
  events_.push_back({at, "eyes", 0, left, right, ""});
}

void RunRecord::NoteLoad(std::uint64_t at, const std::string& file) {
  events_.push_back({at, "load", 0, true, true, file});
}

void RunRecord::NoteParameters(std::uint64_t at, const Parameters& parameters) {
  if (parameters == notedParameters_) return;
  notedParameters_ = parameters;
  Event event{at, "parameters", 0, true, true, ""};
  event.parameters = parameters;
  events_.push_back(std::move(event));
}

void RunRecord::NoteDivergence(const Divergence& divergence) {
  Event event{divergence.step, "diverged", 0, true, true, ""};
  event.quantity = divergence.quantity;
  event.value = DivergenceValueText(divergence.value);
  events_.push_back(std::move(event));
}

void RunRecord::NoteSeed(std::uint64_t at, std::uint32_t seed) {
  Event event{at, "seed", 0, true, true, ""};
  event.seed = seed;
  events_.push_back(std::move(event));
}

void RunRecord::NoteGenerator(std::uint64_t at, runtime::GeneratorKind generator) {
  if (generator == notedGenerator_) return;
  notedGenerator_ = generator;
  Event event{at, "generator", 0, true, true, ""};
  event.generator = generator;
  events_.push_back(std::move(event));
}

std::string RunRecord::Text() const {
  nlohmann::ordered_json json;
  json["program"] = program_;
  json["version"] = runtime::kVersion;
  json["seed"] = seed_;
  json["generator"] = std::string(runtime::GeneratorName(generator_));
  json["parameters"] = ParameterJson(parameters_);
  json["log_folder"] = runtime::AbsoluteFolder(folder_);
  json["start_time"] = startTime_;
  if (logs_ != LogChoice::kAll) json["logs"] = LogChoiceName(logs_);
  if (!actions_.empty()) json["actions"] = actions_;
  json["events"] = nlohmann::ordered_json::array();
  for (const Event& event : events_) json["events"].push_back(EventJson(event));
  // Bytes that are not UTF-8 (a folder's name, say) are replaced, never a reason to fail.
  return json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

bool RunRecord::Save(std::string& error) const {
  return runtime::WriteWholeFile(folder_ + "/" + kRunRecordName, Text(), error);
}

runtime::Read<std::vector<RunRecord::Event>> ReadRunEvents(std::string_view text) {
  return runtime::Parsed([&] { return EventsOf(runtime::ParseStrictJson(text, kRunRecordJson)); });
}

runtime::Read<std::vector<RunRecord::Event>> ReadRunEventsFile(const std::string& path) {
  return runtime::ReadFileWith(ReadRunEvents, path, kMaxRunRecordBytes, "a run record");
}
