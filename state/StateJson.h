#pragma once

#include <nlohmann/json.hpp>

#include "Simulation.h"
#include "StrictJson.h"

// A state nests four levels (the state, its neuron, the history, the squares); a little room
// for a later version's.
inline constexpr runtime::JsonFormat kStateJson{"the state", "a state", 8};

// A saved simulation as the JSON of a state file, and back. Keys are written in a fixed order,
// with the format and version first, so that states diff well.
nlohmann::ordered_json StateJson(const Simulation::Saved& saved);

// The saved simulation that state describes, with every field present, of its type and in its
// range; keys this version does not know are refused, since the state would not continue as its
// writer meant. Whether the fields agree with each other is the restore's to check. Throws
// runtime::FormatError.
Simulation::Saved SavedFromJson(const nlohmann::json& state);
