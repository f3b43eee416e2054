#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "Read.h"
#include "Simulation.h"

// Saved states: a simulation written to a JSON file, from which a later session continues it
// exactly, bit for bit (to rear a neuron once and go on under different conditions). The file
// holds the format name and version, the parameters under their option names, the eye boxes,
// the generator (classic's one state in version 1, pcg32's two streams in version 2) and the
// neuron: its weights, theta, partial responses and the threshold's history. Doubles are written in
// the shortest text that reads back as the same double.
//
// State files may come from anywhere, so reading trusts nothing: a state is used only after it
// has been checked whole, down to restoring it into a scratch simulation.

// The largest state read; a full history of about two million responses fits.
inline constexpr std::size_t kMaxStateBytes = std::size_t{64} << 20;

// The state's text: pretty-printed JSON, ending in a newline.
std::string StateText(const Simulation::Saved& saved);

// Writes the state whole or not at all: a crash never leaves half a state, and a failure leaves
// any previous file at path as it was. Refuses a state that would not read back (a weight that
// has overflowed, a history too long for a file). On failure returns false with a one-line
// reason in error.
bool SaveState(const std::string& path, const Simulation::Saved& saved, std::string& error);

// The state that text holds, checked whole, or what is wrong with it in one line. Never throws.
runtime::Read<Simulation::Saved> ReadState(std::string_view text);

// The same for the file at path, which must be a regular file of at most kMaxStateBytes; the
// reason does not name the file, which the caller knows and prefixes.
runtime::Read<Simulation::Saved> ReadStateFile(const std::string& path);
