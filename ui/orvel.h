#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "CourseHistory.h"
#include "Form.h"
#include "LessonPlayer.h"
#include "NeuronPanels.h"
#include "RunHost.h"
#include "Session.h"
#include "Settings.h"
#include "StepThrottle.h"
#include "WeightView.h"
#include "WindowClock.h"
#include "WindowCommands.h"
#include "WindowOptions.h"

class CourseWindow;
class LessonPanel;
class QTimer;
class MainMenu;

// The program's one window: the weight plot, the probe listing, the eye boxes and the buttons that
// start, stop and probe training runs. It drives the session and hosts every run. The menu bar
// above it and the windows it opens add what the stored layout has no room for.
class TForm1 : public TForm, private RunHost, private WindowCommands, private LessonHost {
 public:
  explicit TForm1(const WindowOptions& options = {}, WindowClock clock = {});
  ~TForm1() override;

  void FormCreate();
  void StartClick() override;
  void StopClick() override;
  // Bound to nothing in the stored layout; the menu's Pause command calls it.
  void PauseClick() override;
  void FormDestroy();
  void ResetWeightsClick() override;
  void CheckItOutClick() override;

  void ShowNeuron(const BCMNeuron& shown) override;

  // Training runs in progress, nested ones included.
  int RunDepth() const { return runDepth_; }
  // Starts beyond this many nested runs are ignored: each run nests in the one before on the
  // stack, and the stack must keep room for the event handlers above the innermost.
  static constexpr int kMaxRunDepth = 1000;

  // The menu's commands, for tests too; failures show in a message, and on standard error where
  // there is no screen.
  bool SavePictureTo(const std::string& path) override;
  bool SaveStateTo(const std::string& path) override;
  bool OpenStateFrom(const std::string& path) override;
  bool ExportCourseTo(const std::string& path) override;
  void SetSpeed(std::int64_t stepsPerSecond) override;
  std::int64_t Speed() const override { return throttle_.Rate(); }
  Settings CurrentSettings() const override;
  void ApplySettings(const Settings& settings) override;
  void ShowCourse() override;
  void SetFitWeights(bool fitted) override;
  void PlayLesson(const Lesson& lesson) override;
  CourseWindow* Course() const { return course_.get(); }
  // The lesson playing or played last, and its panel; null before the first.
  LessonPanel* LessonShown() const { return lessonPanel_.get(); }
  const LessonPlayer* LessonPlaying() const { return lesson_.get(); }
  // The lesson's Continue.
  void ContinueLesson();
  // A lesson trains at this speed unless the user chose one.
  static constexpr std::int64_t kLessonSpeed = 10000;
  const std::string& LogFolder() const override { return logFolder_; }
  void NarrowLogs(LogChoice logs) override { session_.NarrowLogs(logs); }

  // The window's one session: its simulation, logs and record.
  Session& session() { return session_; }
  const Session& session() const { return session_; }

 private:
  TListBox* ListBox1;
  TImage* Trace;
  TButton* Start;
  TButton* Stop;
  TStatusBar* Status;
  TCheckBox* Left;
  TCheckBox* Right;
  TButton* ResetWeights;
  TButton* CheckItOut;
  TImage* Image1;

  void ShowStoredPicture();
  void AddHints();
  bool CanCloseNow();
  bool RoomForAnotherRun() const;
  Simulation& simulation() { return session_.simulation(); }
  const Simulation& simulation() const { return session_.simulation(); }
  void OpenLogs();
  void NoteEyes();
  void Quit() override { Close(); }
  void SetPaused(bool paused);
  // The last status panel shows a failure in red until the next start; standard error has it all.
  void ShowNotice(const std::string& notice);
  void DismissNotice();
  std::string LastingProblem() const;
  void ShowLastPanel();
  void OverlayLastPanel();
  void ShowRule();

  void WriteStepText();
  void ShowStep(std::int64_t step) override;
  bool LeftTicked() const override;
  bool RightTicked() const override;
  void ProcessMessages() override;
  void WaitForMessages() override;

  std::int64_t RunLessonSteps(std::int64_t steps) override;
  std::vector<ListingRow> CheckListing() override;
  std::string Perform(const Action& action) override;
  bool Closing() const override { return closeAfterRuns_; }
  void ShowListing(const std::vector<ListingRow>& rows);
  void TickEye(TCheckBox& box, bool on);
  void PlayLessonNow();
  // action from the event loop, once the calls under way have returned.
  void Soon(std::function<void()> action);

  WindowOptions options_;
  WindowClock clock_;
  Session session_;
  std::string logFolder_;
  CourseHistory history_;
  std::unique_ptr<CourseWindow> course_;
  std::unique_ptr<MainMenu> menu_;
  std::unique_ptr<LessonPanel> lessonPanel_;
  // Shared with the call that plays it: a lesson replaced during its run returns to that call.
  std::shared_ptr<LessonPlayer> lesson_;
  std::int64_t lessonStepsLeft_ = 0;  // of the lesson's run going on
  bool lessonSetSpeed_ = false;
  std::unique_ptr<QTimer> soon_;
  std::function<void()> soonAction_;
  StepThrottle throttle_;
  NeuronPanels neuronPanels_;
  WeightView weightView_;
  std::string storedCaption_;  // the title with the classic rule
  std::string notice_;         // until the next Start
  std::string pictureProblem_;
  int runDepth_ = 0;
  std::int64_t shownStep_ = 0;
  bool stepTextDue_ = false;
  bool closeAfterRuns_ = false;
};

extern TForm1* Form1;
