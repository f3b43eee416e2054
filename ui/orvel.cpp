#include "orvel.h"

#include <cstdio>
#include <ctime>

#include "Application.h"
#include "Bcm.h"
#include "CRand.h"
#include "Exception.h"
#include "MainWindowLayout.h"
#include "Picture.h"
#include "Probe.h"
#include "RunLogs.h"
#include "TrainingRun.h"
#include "WeightPlot.h"

TForm1* Form1 = nullptr;

template <class Control>
Control* TForm1::Find(const std::string& name) const {
  for (const auto& control : Controls()) {
    if (control->Name == name) {
      if (auto* found = dynamic_cast<Control*>(control.get())) return found;
    }
  }
  throw Exception("the window's layout lacks the control " + name);
}

// Seeded with 1 until FormCreate seeds it from the clock, as the window's start-up always does.
TForm1::TForm1(const WindowOptions& options)
    : simulation(1, options.parameters), options_(options) {
  LoadLayout(*this, MainWindowLayout(),
             {{"FormCreate", [this] { FormCreate(); }},
              {"FormDestroy", [this] { FormDestroy(); }},
              {"StartClick", [this] { StartClick(); }},
              {"StopClick", [this] { StopClick(); }},
              {"ResetWeightsClick", [this] { ResetWeightsClick(); }},
              {"CheckItOutClick", [this] { CheckItOutClick(); }}});
  ListBox1 = Find<TListBox>("ListBox1");
  Trace = Find<TImage>("Trace");
  Start = Find<TButton>("Start");
  Stop = Find<TButton>("Stop");
  Status = Find<TStatusBar>("Status");
  Left = Find<TCheckBox>("Left");
  Right = Find<TCheckBox>("Right");
  ResetWeights = Find<TButton>("ResetWeights");
  CheckItOut = Find<TButton>("CheckItOut");
  Image1 = Find<TImage>("Image1");
  ShowStoredPicture();
  CanClose = [this] { return CanCloseNow(); };
}

TForm1::~TForm1() {
  Release();
}

void TForm1::ShowStoredPicture() {
  const PictureBytes stored = StoredPicture();
  std::string error;
  if (const auto picture = DecodeJpeg(stored.data, stored.size, &error)) {
    Image1->SetPicture(picture->pixels);
  } else {
    std::fprintf(stderr, "orvel: cannot show the picture: %s\n", error.c_str());
  }
}

void TForm1::FormCreate() {
  const auto seed = options_.seed.value_or(static_cast<std::uint32_t>(std::time(nullptr)));
  // Any session can be replayed with orvel-batch --seed.
  std::printf("seed %u\n", seed);
  std::fflush(stdout);
  simulation.generator.srand(seed);
  ResetWeightsClick();
  logs_ = std::make_unique<RunLogs>(options_.directory);
}

void TForm1::StartClick() {
  ++runDepth_;
  TrainingRun(simulation, *this, *logs_);
  --runDepth_;
  if (runDepth_ == 0 && closeAfterRuns_) Close();
}

void TForm1::StopClick() {
  simulation.RequestStop();
}

void TForm1::PauseClick() {
  simulation.TogglePause();
}

void TForm1::FormDestroy() {
  if (logs_) logs_->Close();
}

void TForm1::ResetWeightsClick() {
  simulation.ResetNeuron();
  ShowNeuron(simulation.neuron);
}

void TForm1::CheckItOutClick() {
  ListBox1->Items.Clear();
  for (const std::string& line : CheckItOutListing(simulation)) ListBox1->Items.Add(line);
}

// The plot waits for the screen or a reader; the texts are written at once.
void TForm1::ShowNeuron(const BCMNeuron& shown) {
  DeferWeightPlot(shown, Trace->Canvas);
  WriteNeuronPanels(shown.Theta(), simulation.parameters(), *Status);
}

// A window closed during a run would pull the logs from under it: every run is
// stopped first, and the window closes once the outermost has returned.
bool TForm1::CanCloseNow() {
  if (runDepth_ == 0) return true;
  closeAfterRuns_ = true;
  simulation.RequestStop();
  return false;
}

void TForm1::ShowStep(std::int64_t step) {
  Status->SetPanelText(0, StepText(step));
}
bool TForm1::LeftTicked() const {
  return Left->Checked();
}
bool TForm1::RightTicked() const {
  return Right->Checked();
}
void TForm1::ProcessMessages() {
  Application->ProcessMessages();
}
