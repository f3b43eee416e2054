#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "Exception.h"
#include "Form.h"

class QApplication;
class DisplayRefresh;  // toolkit-internal
class TerminationSignals;

// The program's one application object: the event loop, the forms and the display refresh.
class TApplication {
 public:
  // clock: what paces the display refresh and says when a timed wait is over; tests give their own.
  explicit TApplication(std::function<std::chrono::steady_clock::time_point()> clock =
                            std::chrono::steady_clock::now);
  ~TApplication();

  // Starts the window system connection. Numbers keep a full stop whatever the user's locale.
  void Initialize();

  // Builds a form of class Form from arguments (its constructor lays it out), then runs its
  // OnCreate. The first form created is the main form, shown by Run.
  template <class Form, class... Arguments>
  void CreateForm(Form*& reference, Arguments&&... arguments) {
    auto form = std::make_unique<Form>(std::forward<Arguments>(arguments)...);
    reference = form.get();
    Adopt(std::move(form));
    if (reference->OnCreate) reference->OnCreate();
  }

  // Shows the main form and dispatches events until it closes; then releases every form.
  void Run();

  // Runs the pending events, each handler to completion; handlers may call it again. Cheap when
  // nothing can be pending: the window system is asked for new input at most every millisecond.
  void ProcessMessages();

  // Sleeps until an event arrives, then runs the pending ones.
  void WaitForMessages();
  // Runs events as they arrive until deadline, sleeping between them.
  void WaitForMessagesUntil(std::chrono::steady_clock::time_point deadline);

  // The message on standard error, and in a dialog where there is a screen to show one.
  void ShowException(const std::exception& error);

  // From now on SIGINT and SIGTERM dismiss every open dialog and call onSignal between two
  // events, instead of ending the process on the spot.
  void HandleTerminationSignals(std::function<void()> onSignal);

  DisplayRefresh& Refresh() { return *refresh_; }

 private:
  void Adopt(std::unique_ptr<TForm> form);
  void PollWindowSystem();

  std::unique_ptr<QApplication> qt_;
  std::function<std::chrono::steady_clock::time_point()> clock_;
  std::unique_ptr<DisplayRefresh> refresh_;
  std::unique_ptr<TerminationSignals> signals_;
  std::vector<std::unique_ptr<TForm>> forms_;
  std::chrono::steady_clock::time_point lastPoll_;
};

extern TApplication* Application;
