#pragma once

#include <memory>

#include "Form.h"
#include "RunHost.h"
#include "Simulation.h"
#include "WindowOptions.h"

class RunLogs;

// The program's one window: the weight plot, the probe listing, the eye boxes and the buttons that
// start, stop and probe training runs. It hosts every run and owns the neuron and the logs.
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

  // The window's one simulation: its generator, neuron, constants, and stop and pause requests.
  Simulation simulation;

 private:
  template <class Control>
  Control* Find(const std::string& name) const;
  void ShowStoredPicture();
  bool CanCloseNow();

  void ShowStep(std::int64_t step) override;
  bool LeftTicked() const override;
  bool RightTicked() const override;
  void ProcessMessages() override;

  WindowOptions options_;
  std::unique_ptr<RunLogs> logs_;
  int runDepth_ = 0;
  bool closeAfterRuns_ = false;
};

extern TForm1* Form1;
