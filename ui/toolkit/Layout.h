#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "Colors.h"
#include "Controls.h"

class TForm;

// A window described as data: its properties and its controls in creation order. A form is built
// from it by LoadLayout, with event handlers bound by name.

enum class ControlKind { Image, ListBox, Button, StatusBar, CheckBox };

struct ControlLayout {
  std::string name;
  ControlKind kind;
  int left = 0, top = 0, width = 0, height = 0;
  std::string caption = {};           // buttons and check boxes
  std::optional<TColor> color = {};   // unset: the window's
  std::optional<TFont> font = {};     // unset: the window's
  std::optional<int> tabOrder = {};   // unset: takes no focus by Tab
  std::string onClick = {};           // handler name; empty: none
  bool checked = false;               // check boxes
  bool stretch = false;               // images: show the stored picture scaled to the control
  bool leftToRight = false;           // fixes the reading order instead of taking the window's
  bool borderless = false;            // list boxes
  int itemHeight = 0;                 // list boxes
  std::vector<int> panelWidths = {};  // status bars
};

struct FormLayout {
  std::string caption;
  int left, top, clientWidth, clientHeight;
  TColor color;
  TFont font;
  std::string onCreate, onDestroy;
  std::vector<ControlLayout> controls;
};

using HandlerTable = std::map<std::string, std::function<void()>>;

// Creates the controls and applies the properties; throws Exception for a handler name the table
// lacks. OnCreate is bound but not run: CreateForm runs it once the layout is complete.
void LoadLayout(TForm& form, const FormLayout& layout, const HandlerTable& handlers);
