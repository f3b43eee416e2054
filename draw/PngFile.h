#pragma once

#include <string>

#include "Bitmap.h"

// Writes bitmap as an 8-bit RGB PNG, whole or not at all (see runtime::WriteWholeFile); false,
// with a reason in error, if it cannot.
bool WritePng(const std::string& path, const Bitmap& bitmap, std::string& error);
