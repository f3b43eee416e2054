#include "EnsembleRecord.h"

#include <filesystem>
#include <nlohmann/json.hpp>

#include "FormatError.h"
#include "GeneratorList.h"
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

// The record, its protocols, and their actions.
constexpr runtime::JsonFormat kEnsembleRecordJson{"the ensemble record", "an ensemble record", 4};

EnsembleRecord RecordOf(const nlohmann::json& json) {
  const runtime::JsonFields record(json, kEnsembleRecordJson);
  record.Only({"program", "generator", "command", "protocols"});
  if (const std::string program = record.Text("program"); program != kProgram) {
    throw runtime::FormatError(std::string("program must be \"") + kProgram + "\", not \"" +
                               runtime::Printable(program) + "\"");
  }
  EnsembleRecord read{record.Texts("command"), std::nullopt};
  if (record.Has("protocols")) {
    for (const runtime::JsonFields& protocol : record.Objects("protocols")) {
      protocol.Only({"name", "actions"});
      read.protocols.push_back({protocol.Text("name"), protocol.Texts("actions")});
    }
  }
  if (record.Has("generator")) {
    read.generator = record.Text("generator");
    if (!ParseGeneratorList(*read.generator)) {
      throw runtime::FormatError(std::string("generator must be ") + kGeneratorListValid +
                                 ", not \"" + runtime::Printable(*read.generator) + "\"");
    }
  }
  return read;
}
}  // namespace

std::string EnsembleRecordPath(const std::string& folder) {
  return folder + "/" + kEnsembleRecordName;
}

bool HasEnsembleRecord(const std::string& folder) {
  std::error_code missing;
  return std::filesystem::exists(EnsembleRecordPath(folder), missing);
}

std::string EnsembleRecordText(const EnsembleRecord& record) {
  nlohmann::ordered_json json;
  json["program"] = kProgram;
  if (record.generator) json["generator"] = *record.generator;
  json["command"] = record.command;
  for (const RecordedProtocol& protocol : record.protocols) {
    json["protocols"].push_back({{"name", protocol.name}, {"actions", protocol.actions}});
  }
  return json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

runtime::Read<EnsembleRecord> ReadEnsembleRecord(std::string_view text) {
  return runtime::Parsed(
      [&] { return RecordOf(runtime::ParseStrictJson(text, kEnsembleRecordJson)); });
}

runtime::Read<EnsembleRecord> ReadEnsembleRecordIn(const std::string& folder) {
  return runtime::ReadFileWith(ReadEnsembleRecord, EnsembleRecordPath(folder), kMaxRecordBytes,
                               "an ensemble record");
}

bool WriteEnsembleRecord(const std::string& folder, const EnsembleRecord& record,
                         std::string& error) {
  return runtime::WriteWholeFile(EnsembleRecordPath(folder), EnsembleRecordText(record), error);
}
