#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Bitmap.h"
#include "Canvas.h"
#include "Colors.h"
#include "StatusPanels.h"

class QWidget;
class QPushButton;
class QCheckBox;
class QListWidget;
class TForm;

// A font by face name and pixel height; a missing face falls back to one of the same pitch.
struct TFont {
  std::string Name;
  int PixelHeight;
  bool FixedPitch = false;
};

// What every control has: a name, a place in its form and a native widget underneath, which only
// the toolkit and its tests touch.
class TControl {
 public:
  virtual ~TControl() = default;
  TControl(const TControl&) = delete;
  TControl& operator=(const TControl&) = delete;

  const std::string Name;
  int Left() const;
  int Top() const;
  int Width() const;
  int Height() const;
  void SetBounds(int left, int top, int width, int height);
  void SetColor(TColor color);
  void SetFont(const TFont& font);
  // Reads left to right whatever the window's direction.
  void SetLeftToRight();
  // Drops the frame a control draws around itself.
  void SetBorderless();
  // Whether Tab and clicks give the control the keyboard focus.
  void SetTakesFocus(bool takes);
  QWidget* NativeWidget() const { return widget_; }

  // What the control shows, in words: the tooltip. Asked each time the pointer rests on the
  // control, so that it can quote values as they are then; unset, there is none.
  std::function<std::string()> Hint;
  // The tooltip for the point (x, y) of the control.
  virtual std::string HintAt(int x, int y) const;

 protected:
  TControl(std::string name, QWidget* widget);

 private:
  QWidget* widget_;  // owned by the form's window
};

// Space and Return press a focused button, as on any desktop.
class TButton : public TControl {
 public:
  TButton(TForm& parent, std::string name);
  void SetCaption(const std::string& caption);
  std::string Caption() const;
  // As if clicked: runs OnClick at once.
  void Click();

  std::function<void()> OnClick;

 private:
  QPushButton* button_;
};

// Space and Return tick or untick a focused box.
class TCheckBox : public TControl {
 public:
  TCheckBox(TForm& parent, std::string name);
  void SetCaption(const std::string& caption);
  std::string Caption() const;
  bool Checked() const;
  void SetChecked(bool checked);

  // Runs when the user ticks or unticks the box, not when SetChecked does.
  std::function<void()> OnClick;

 private:
  QCheckBox* box_;
};

// The lines of a list box.
class TStrings {
 public:
  explicit TStrings(QListWidget* list) : list_(list) {}
  void Clear();
  void Add(const std::string& line);
  int Count() const;
  std::string operator[](int index) const;

 private:
  QListWidget* list_;
};

class TListBox : public TControl {
 public:
  TListBox(TForm& parent, std::string name);
  void SetItemHeight(int pixels);
  TStrings Items;
};

// Panels side by side, each showing a text; a text set shows at the next repaint, within a frame.
class TStatusBar : public TControl, public StatusPanels {
 public:
  TStatusBar(TForm& parent, std::string name);
  void AddPanel(int width);
  int PanelCount() const { return static_cast<int>(panels_.size()); }
  int PanelWidth(int index) const;
  // The width drawn: at least the panel's width, more where its text needs it; the last panel
  // takes the rest of the bar.
  int ShownPanelWidth(int index) const;
  std::string PanelText(int index) const;
  // Ignores an index without a panel.
  void SetPanelText(int index, const std::string& text) override;
  // A warning's text is drawn in red until it is cleared.
  void SetPanelWarning(int index, bool warning);
  bool PanelWarning(int index) const;
  // The panel drawn at x, or -1.
  int PanelAt(int x) const;
  // Each panel's tooltip, asked for when the pointer rests on it.
  std::function<std::string(int index)> PanelHint;
  std::string HintAt(int x, int y) const override;

 private:
  struct Panel {
    int width;
    std::string text;
    bool warning = false;
  };
  int FittedPanelWidth(int index) const;

  std::vector<Panel> panels_;
};

// A bitmap of the control's size with a canvas to draw on, or a picture shown stretched to the
// control's size.
class TImage : public TControl {
 public:
  TImage(TForm& parent, std::string name, int width, int height);
  // What the control shows, with any deferred drawing done.
  const Bitmap& Picture();
  // Shows picture scaled to the whole control when stretching, else from its top-left corner.
  void SetPicture(const Bitmap& picture);
  void SetStretch(bool stretch) { stretch_ = stretch; }

 private:
  Bitmap bitmap_;  // before Canvas, which draws on it
  bool stretch_ = false;

 public:
  TCanvas Canvas;
};
