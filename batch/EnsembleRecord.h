#pragma once

#include <optional>
#include <string>
#include <vector>

// DIR/ensemble.json: the command that made an ensemble's folder, so that a rerun can tell whether
// it continues the same ensemble, and --summarize can rebuild its plan from the folder alone.

std::string EnsembleRecordPath(const std::string& folder);

// The recorded command, or nullopt when folder holds no record. Throws UsageError when the record
// is there but unreadable.
std::optional<std::vector<std::string>> ReadEnsembleCommand(const std::string& folder);

// Writes the record whole; false with a one-line reason in error.
bool WriteEnsembleRecord(const std::string& folder, const std::vector<std::string>& command,
                         std::string& error);
