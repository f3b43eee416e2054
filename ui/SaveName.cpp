#include "SaveName.h"

#include <filesystem>

std::string WithDefaultExtension(const std::string& chosen, std::string_view extension) {
  if (chosen.empty() || !std::filesystem::path(chosen).extension().empty()) return chosen;
  return chosen + std::string(extension);
}
