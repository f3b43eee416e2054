#pragma once

#include <optional>

#include "Settings.h"

class QWidget;

// Experiment → Parameters…: every parameter and the seed, each with its meaning, its valid range
// and when a change takes effect. Returns the new settings once all are valid; nothing when
// cancelled. A bad value keeps the dialog open and says why.
std::optional<Settings> AskSettings(QWidget* parent, const Settings& current);
