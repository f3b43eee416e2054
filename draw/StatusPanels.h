#pragma once

#include <string>

// Somewhere the texts of numbered status panels go: the window's status bar, or a record of them
// in a program without a window.
class StatusPanels {
 public:
  virtual ~StatusPanels() = default;
  virtual void SetPanelText(int index, const std::string& text) = 0;
};
