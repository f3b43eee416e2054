#include "EnsembleRecord.h"

#include <filesystem>
#include <nlohmann/json.hpp>

#include "CommandLine.h"
#include "LogNames.h"
#include "RegularFile.h"
#include "WholeFile.h"

namespace {
// A record holds one command line; anything larger is not one.
constexpr std::size_t kMaxRecordBytes = 1 << 20;
}  // namespace

std::string EnsembleRecordPath(const std::string& folder) {
  return folder + "/" + kEnsembleRecordName;
}

std::optional<std::vector<std::string>> ReadEnsembleCommand(const std::string& folder) {
  const std::string path = EnsembleRecordPath(folder);
  std::error_code missing;
  if (!std::filesystem::exists(path, missing)) return std::nullopt;
  std::string problem;
  const std::optional<std::string> text =
      runtime::ReadRegularFile(path, kMaxRecordBytes, "an ensemble record", problem);
  if (!text) throw UsageError(Printable(path) + " " + problem);
  try {
    return nlohmann::json::parse(*text).at("command").get<std::vector<std::string>>();
  } catch (const nlohmann::json::exception&) {
    throw UsageError(Printable(path) + " is not an ensemble record");
  }
}

bool WriteEnsembleRecord(const std::string& folder, const std::vector<std::string>& command,
                         std::string& error) {
  nlohmann::ordered_json record;
  record["program"] = "orvel-batch";
  record["command"] = command;
  const std::string text =
      record.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
  return runtime::WriteWholeFile(EnsembleRecordPath(folder), text, error);
}
