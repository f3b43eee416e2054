#pragma once

#include <algorithm>
#include <string>

// The number of complete lines in text.
inline long Lines(const std::string& text) {
  return std::count(text.begin(), text.end(), '\n');
}
