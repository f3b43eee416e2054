#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Read.h"

// DIR/ensemble.json: the command that made an ensemble's folder, so that a rerun can tell whether
// it continues the same ensemble, and --summarize can rebuild its plan from the folder alone.
// This is the format's one owner: its keys, its writer and its strict reader.

// A protocol as the record keeps it: its name and its actions, so that a rerun whose files changed
// is another ensemble, and --summarize needs the files no more.
struct RecordedProtocol {
  std::string name;
  std::vector<std::string> actions;
  bool operator==(const RecordedProtocol&) const = default;
};

struct EnsembleRecord {
  std::vector<std::string> command;  // without --generator and --protocol
  // --generator's value, given or the default; none in a record made before there was a choice,
  // whose units drew from the classic generator.
  std::optional<std::string> generator;
  std::vector<RecordedProtocol> protocols = {};  // --protocol's, in order; none without it
  bool operator==(const EnsembleRecord&) const = default;
};

std::string EnsembleRecordPath(const std::string& folder);

// Whether folder holds anything by the record's name, readable or not.
bool HasEnsembleRecord(const std::string& folder);

// The record's text: JSON, ending in a newline.
std::string EnsembleRecordText(const EnsembleRecord& record);

// The record a text holds, checked whole: the program orvel-batch, a command of words, perhaps a
// list of generators and protocols, nothing else. Else what is wrong, in one line. Never throws.
runtime::Read<EnsembleRecord> ReadEnsembleRecord(std::string_view text);

// The same for the record in folder; the reason does not name the file, which the caller knows.
runtime::Read<EnsembleRecord> ReadEnsembleRecordIn(const std::string& folder);

// Writes the record whole; false with a one-line reason in error.
bool WriteEnsembleRecord(const std::string& folder, const EnsembleRecord& record,
                         std::string& error);
