#include "RunRecord.h"

#include <ctime>
#include <nlohmann/json.hpp>

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

// Each parameter under its option's name, with the number it holds.
nlohmann::ordered_json ParameterJson(const Parameters& parameters) {
  nlohmann::ordered_json json = nlohmann::ordered_json::object();
  for (const ParameterOption& option : ParameterOptions()) {
    json[std::string(option.name)] = nlohmann::ordered_json::parse(option.get(parameters));
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
  return json;
}
}  // namespace

RunRecord::RunRecord(std::string folder, std::string program, std::uint32_t seed,
                     const Parameters& parameters)
    : folder_(folder.empty() ? "." : std::move(folder)),
      program_(std::move(program)),
      seed_(seed),
      parameters_(parameters),
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
  if (parameters == parameters_) return;
  parameters_ = parameters;
  events_.push_back({at, "parameters", 0, true, true, ""});
}

std::string RunRecord::Text() const {
  nlohmann::ordered_json json;
  json["program"] = program_;
  json["version"] = runtime::kVersion;
  json["seed"] = seed_;
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
  return runtime::WriteWholeFile(folder_ + "/run.json", Text(), error);
}
