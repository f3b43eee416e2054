#pragma once

#include <functional>
#include <string>

#include "LessonPlayer.h"

class QLabel;
class QPushButton;
class QWidget;

// Experiment → Lessons: the panel beside the main window that says what the lesson's phase does
// and what to watch, asks its questions, and shows the student's numbers at the end.
class LessonPanel : public LessonView {
 public:
  explicit LessonPanel(const std::string& title);
  ~LessonPanel() override;
  LessonPanel(const LessonPanel&) = delete;
  LessonPanel& operator=(const LessonPanel&) = delete;

  // Shows it just right of beside, or where it is if moved there already.
  void Show(const QWidget* beside);
  QWidget* NativeWidget() const { return window_; }
  // Continue, at a checkpoint or after a Stop.
  std::function<void()> onContinue;

  // What the panel says now, for tests: phase, text, question and status, a line each.
  std::string Text() const;

  void ShowPhase(const Lesson::Phase& phase, std::size_t number, std::size_t phases) override;
  void ShowRun(std::int64_t steps) override;
  void Ask(const std::string& question) override;
  void ShowStopped(std::int64_t stepsLeft) override;
  void ShowFailure(const std::string& why) override;
  void ShowEnd(const std::vector<std::string>& ending,
               const std::vector<LessonNumbers>& numbers) override;

 private:
  void Waiting(bool waiting, const std::string& status);

  QWidget* window_;
  QLabel* phase_;
  QLabel* text_;
  QLabel* watch_;
  QLabel* question_;
  QLabel* numbers_;
  QLabel* status_;
  QPushButton* continue_;
  bool placed_ = false;
};
