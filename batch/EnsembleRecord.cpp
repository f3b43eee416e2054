#include "EnsembleRecord.h"

#include <filesystem>
#include <nlohmann/json.hpp>

#include "FormatError.h"
#include "JsonFields.h"
#include "LogNames.h"
#include "Printable.h"
#include "RegularFile.h"
#include "StrictJson.h"
#include "WholeFile.h"

namespace {
// A record holds one command line; anything larger is not one.
constexpr std::size_t kMaxRecordBytes = 1 << 20;

constexpr const char* kProgram = "orvel-batch";

// The record and its command.
constexpr runtime::JsonFormat kEnsembleRecordJson{"the ensemble record", "an ensemble record", 2};

std::vector<std::string> CommandOf(const nlohmann::json& json) {
  const runtime::JsonFields record(json, kEnsembleRecordJson);
  record.Only({"program", "command"});
  if (const std::string program = record.Text("program"); program != kProgram) {
    throw runtime::FormatError(std::string("program must be \"") + kProgram + "\", not \"" +
                               runtime::Printable(program) + "\"");
  }
  return record.Texts("command");
}
}  // namespace

std::string EnsembleRecordPath(const std::string& folder) {
  return folder + "/" + kEnsembleRecordName;
}

bool HasEnsembleRecord(const std::string& folder) {
  std::error_code missing;
  return std::filesystem::exists(EnsembleRecordPath(folder), missing);
}

std::string EnsembleRecordText(const std::vector<std::string>& command) {
  nlohmann::ordered_json record;
  record["program"] = kProgram;
  record["command"] = command;
  return record.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

runtime::Read<std::vector<std::string>> ReadEnsembleCommand(std::string_view text) {
  return runtime::Parsed(
      [&] { return CommandOf(runtime::ParseStrictJson(text, kEnsembleRecordJson)); });
}

runtime::Read<std::vector<std::string>> ReadEnsembleCommandIn(const std::string& folder) {
  return runtime::ReadFileWith(ReadEnsembleCommand, EnsembleRecordPath(folder), kMaxRecordBytes,
                               "an ensemble record");
}

bool WriteEnsembleRecord(const std::string& folder, const std::vector<std::string>& command,
                         std::string& error) {
  return runtime::WriteWholeFile(EnsembleRecordPath(folder), EnsembleRecordText(command), error);
}
