#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "Read.h"

// DIR/ensemble.json: the command that made an ensemble's folder, so that a rerun can tell whether
// it continues the same ensemble, and --summarize can rebuild its plan from the folder alone.
// This is the format's one owner: its keys, its writer and its strict reader.

std::string EnsembleRecordPath(const std::string& folder);

// Whether folder holds anything by the record's name, readable or not.
bool HasEnsembleRecord(const std::string& folder);

// The record's text: JSON, ending in a newline.
std::string EnsembleRecordText(const std::vector<std::string>& command);

// The command a record's text holds, checked whole: the program orvel-batch, a command of words,
// nothing else. Else what is wrong, in one line. Never throws.
runtime::Read<std::vector<std::string>> ReadEnsembleCommand(std::string_view text);

// The same for the record in folder; the reason does not name the file, which the caller knows.
runtime::Read<std::vector<std::string>> ReadEnsembleCommandIn(const std::string& folder);

// Writes the record whole; false with a one-line reason in error.
bool WriteEnsembleRecord(const std::string& folder, const std::vector<std::string>& command,
                         std::string& error);
