#include "MainWindowLayout.h"

#include "WeightPlot.h"

namespace {
const TFont kWindowFont{"MS Sans Serif", 11};
const TFont kListFont{"Courier New", 13, true};

// Tab goes as a user reads the window: the eyes, the buttons top to bottom, then the listing.
FormLayout MakeLayout() {
  FormLayout layout{"BCM Orvel", 205,         110,          590,           383,
                    clWhite,     kWindowFont, "FormCreate", "FormDestroy", {}};
  auto& c = layout.controls;
  c.push_back({.name = "Trace",
               .kind = ControlKind::Image,
               .left = 32,
               .top = 24,
               .width = kPlotWidth,
               .height = kPlotHeight});
  c.push_back({.name = "Image1",
               .kind = ControlKind::Image,
               .left = 440,
               .top = 192,
               .width = 121,
               .height = 153,
               .stretch = true});
  c.push_back({.name = "ListBox1",
               .kind = ControlKind::ListBox,
               .left = 64,
               .top = 152,
               .width = 305,
               .height = 201,
               .font = kListFont,
               .tabOrder = 6,
               .borderless = true,
               .itemHeight = 16});
  c.push_back({.name = "Start",
               .kind = ControlKind::Button,
               .left = 440,
               .top = 48,
               .width = 121,
               .height = 25,
               .caption = "Start",
               .tabOrder = 2,
               .onClick = "StartClick",
               .leftToRight = true});
  c.push_back({.name = "Stop",
               .kind = ControlKind::Button,
               .left = 440,
               .top = 80,
               .width = 121,
               .height = 25,
               .caption = "Stop",
               .font = kWindowFont,
               .tabOrder = 3,
               .onClick = "StopClick"});
  c.push_back({.name = "Status",
               .kind = ControlKind::StatusBar,
               .left = 0,
               .top = 364,
               .width = 590,
               .height = 19,
               .color = clCaptionText,
               .panelWidths = {80, 80, 80, 80, 80, 80}});
  c.push_back({.name = "Left",
               .kind = ControlKind::CheckBox,
               .left = 440,
               .top = 24,
               .width = 41,
               .height = 17,
               .caption = "Left",
               .color = clWhite,
               .tabOrder = 0,
               .checked = true});
  c.push_back({.name = "Right",
               .kind = ControlKind::CheckBox,
               .left = 512,
               .top = 24,
               .width = 49,
               .height = 17,
               .caption = "Right",
               .tabOrder = 1,
               .checked = true});
  c.push_back({.name = "ResetWeights",
               .kind = ControlKind::Button,
               .left = 440,
               .top = 112,
               .width = 121,
               .height = 25,
               .caption = "Reset Weights",
               .tabOrder = 4,
               .onClick = "ResetWeightsClick"});
  c.push_back({.name = "CheckItOut",
               .kind = ControlKind::Button,
               .left = 440,
               .top = 144,
               .width = 121,
               .height = 25,
               .caption = "Check It Out",
               .tabOrder = 5,
               .onClick = "CheckItOutClick"});
  return layout;
}
}  // namespace

const FormLayout& MainWindowLayout() {
  static const FormLayout layout = MakeLayout();
  return layout;
}
