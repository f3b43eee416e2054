#include "EnsembleRecord.h"

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "CommandLine.h"
#include "WholeFile.h"

namespace {
std::string RecordPath(const std::string& folder) {
  return folder + "/ensemble.json";
}
}  // namespace

std::optional<std::vector<std::string>> ReadEnsembleCommand(const std::string& folder) {
  const std::string path = RecordPath(folder);
  std::error_code missing;
  if (!std::filesystem::exists(path, missing)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  try {
    const nlohmann::json record = nlohmann::json::parse(in);
    return record.at("command").get<std::vector<std::string>>();
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
  return runtime::WriteWholeFile(RecordPath(folder), text, error);
}
