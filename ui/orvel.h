#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "CourseHistory.h"
#include "Form.h"
#include "NeuronPanels.h"
#include "RunHost.h"
#include "Settings.h"
#include "Simulation.h"
#include "StepThrottle.h"
#include "WindowOptions.h"

class RunLogs;
class RunRecord;
class CourseWindow;
class MainMenu;

// The program's one window: the weight plot, the probe listing, the eye boxes and the buttons that
// start, stop and probe training runs. It hosts every run and owns the neuron and the logs. The
// menu bar above it and the windows it opens add what the stored layout has no room for.
class TForm1 : public TForm, private RunHost {
 public:
  explicit TForm1(const WindowOptions& options = {});
  ~TForm1() override;

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

  void FormCreate();
  void StartClick();
  void StopClick();
  // Bound to nothing in the stored layout; the menu's Pause command calls it.
  void PauseClick();
  void FormDestroy();
  void ResetWeightsClick();
  void CheckItOutClick();

  void ShowNeuron(const BCMNeuron& shown) override;

  // Training runs in progress, nested ones included.
  int RunDepth() const { return runDepth_; }
  // Starts beyond this many nested runs are ignored: each run nests in the one before on the
  // stack, and the stack must keep room for the event handlers above the innermost.
  static constexpr int kMaxRunDepth = 1000;

  // The menu's commands that need a file, once one is chosen. Each reports a failure in a
  // message (on standard error where there is no screen) and returns false.
  bool SavePictureTo(const std::string& path);
  bool SaveStateTo(const std::string& path);
  // A bad file changes nothing; a good one continues, in a run if one is going.
  bool OpenStateFrom(const std::string& path);
  bool ExportCourseTo(const std::string& path);

  // Training steps a second; 0 for as fast as the machine goes.
  void SetSpeed(std::int64_t stepsPerSecond);
  std::int64_t Speed() const { return throttle_.Rate(); }

  // What the Parameters dialog shows and sets.
  Settings CurrentSettings() const;
  void ApplySettings(const Settings& settings);

  // The Course window, opened on first use.
  void ShowCourse();
  CourseWindow* Course() const { return course_.get(); }

  // Where the logs and run.json go: absolute, without a trailing slash.
  const std::string& LogFolder() const { return logFolder_; }
  std::uint32_t Seed() const { return seed_; }

  // The window's one simulation: its generator, neuron, constants, and stop and pause requests.
  Simulation simulation;

 private:
  template <class Control>
  Control* Find(const std::string& name) const;
  void ShowStoredPicture();
  bool CanCloseNow();
  bool RoomForAnotherRun() const;
  void OpenLogs();
  void SaveRecord();
  void NoteEyes();
  // The last status panel shows a failure in red until the next start; standard error has it all.
  void ShowNotice(const std::string& notice);
  void ShowLogNotice();
  void DismissNotice();

  void WriteStepText();
  void ShowStep(std::int64_t step) override;
  bool LeftTicked() const override;
  bool RightTicked() const override;
  void ProcessMessages() override;
  void WaitForMessages() override;

  WindowOptions options_;
  std::uint32_t seed_ = 1;
  std::string logFolder_;
  std::unique_ptr<RunLogs> logs_;
  std::unique_ptr<RunRecord> record_;
  CourseHistory history_;
  std::unique_ptr<CourseWindow> course_;
  std::unique_ptr<MainMenu> menu_;
  StepThrottle throttle_;
  NeuronPanels neuronPanels_;
  std::string notice_;
  std::string dismissedLogNotice_;
  int runDepth_ = 0;
  std::int64_t shownStep_ = 0;
  bool stepTextDue_ = false;
  int runs_ = 0;
  bool closeAfterRuns_ = false;
};

extern TForm1* Form1;
