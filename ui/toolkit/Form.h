#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Colors.h"
#include "Controls.h"
#include "Exception.h"

class QMenuBar;
class QScrollArea;
class QWidget;

// A top-level window holding controls in a client area of fixed size, below an optional menu bar.
// OnCreate runs once the whole layout exists (CreateForm calls it); OnDestroy runs exactly once,
// when the form is released.
class TForm {
 public:
  TForm();
  virtual ~TForm();
  TForm(const TForm&) = delete;
  TForm& operator=(const TForm&) = delete;

  void SetCaption(const std::string& caption);
  std::string Caption() const;
  // Places the client area at (left, top) of the screen, width x height, not resizable. Show moves
  // the window onto the screen if it would not fit there, and scrolls a client area larger than
  // the screen.
  void SetClientBounds(int left, int top, int width, int height);
  int ClientWidth() const;
  int ClientHeight() const;
  void SetColor(TColor color);
  void SetFont(const TFont& font);

  // Creates a control of this form; the form owns it. Controls take focus in creation order
  // unless SetTabOrder says otherwise.
  template <class Control, class... Arguments>
  Control& Add(std::string name, Arguments&&... arguments) {
    auto control =
        std::make_unique<Control>(*this, std::move(name), std::forward<Arguments>(arguments)...);
    Control& added = *control;
    controls_.push_back(std::move(control));
    return added;
  }
  // The order in which Tab visits the controls, first to last.
  void SetTabOrder(const std::vector<TControl*>& order);
  const std::vector<std::unique_ptr<TControl>>& Controls() const { return controls_; }
  // The control of this name and kind; throws if the form has none.
  template <class Control>
  Control& Named(const std::string& name) const {
    for (const auto& control : controls_) {
      if (control->Name != name) continue;
      if (auto* found = dynamic_cast<Control*>(control.get())) return *found;
    }
    throw Exception("the window's layout lacks the control " + name);
  }

  void Show();
  // Asks the window to close, as the user's close button does; CanClose may refuse.
  void Close();

  // Asked before the window closes; return false to keep it open.
  std::function<bool()> CanClose;
  std::function<void()> OnCreate;
  std::function<void()> OnDestroy;

  // Runs OnDestroy unless it has run.
  void Release();

  // The menu bar above the client area, made on first use.
  QMenuBar* MenuBar();

  // The client area, parent of every control.
  QWidget* NativeWidget() const { return window_; }
  // The top-level window around the menu bar and the client area.
  QWidget* Frame() const { return frame_; }

 private:
  void FitToScreen();

  QWidget* frame_;
  QScrollArea* scroller_;
  QMenuBar* menuBar_ = nullptr;
  QWidget* window_;
  int left_ = 0, top_ = 0;
  std::vector<std::unique_ptr<TControl>> controls_;
  bool released_ = false;
};
