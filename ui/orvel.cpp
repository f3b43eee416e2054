#include "orvel.h"

#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <utility>

#include "Application.h"
#include "Bcm.h"
#include "ControlHints.h"
#include "CourseWindow.h"
#include "Exception.h"
#include "LessonPanel.h"
#include "LogNames.h"
#include "MainMenu.h"
#include "MainWindowLayout.h"
#include "Picture.h"
#include "PngFile.h"
#include "Probe.h"
#include "RunLogs.h"
#include "SessionCourse.h"
#include "SessionFolder.h"
#include "StackRoom.h"
#include "TrainingRun.h"
#include "WholeFile.h"

TForm1* Form1 = nullptr;

// Seeded with 1 until FormCreate seeds it from the clock, as the window's start-up always does.
TForm1::TForm1(const WindowOptions& options, WindowClock clock)
    : options_(options),
      clock_(std::move(clock)),
      session_(1, options.parameters, options.generator) {
  LoadLayout(*this, MainWindowLayout(),
             {{"FormCreate", [this] { FormCreate(); }},
              {"FormDestroy", [this] { FormDestroy(); }},
              {"StartClick", [this] { StartClick(); }},
              {"StopClick", [this] { StopClick(); }},
              {"ResetWeightsClick", [this] { ResetWeightsClick(); }},
              {"CheckItOutClick", [this] { CheckItOutClick(); }}});
  ListBox1 = &Named<TListBox>("ListBox1");
  Trace = &Named<TImage>("Trace");
  Start = &Named<TButton>("Start");
  Stop = &Named<TButton>("Stop");
  Status = &Named<TStatusBar>("Status");
  Left = &Named<TCheckBox>("Left");
  Right = &Named<TCheckBox>("Right");
  ResetWeights = &Named<TButton>("ResetWeights");
  CheckItOut = &Named<TButton>("CheckItOut");
  Image1 = &Named<TImage>("Image1");
  storedCaption_ = Caption();
  ShowStoredPicture();
  AddHints();
  CanClose = [this] { return CanCloseNow(); };
  Left->OnClick = [this] { NoteEyes(); };
  Right->OnClick = [this] { NoteEyes(); };
  throttle_.SetRate(options_.speed, clock_.now());
  WindowCommands& commands = *this;
  menu_ = std::make_unique<MainMenu>(*MenuBar(), Frame(), commands, session_);
  soon_ = std::make_unique<QTimer>();
  soon_->setSingleShot(true);
  QObject::connect(soon_.get(), &QTimer::timeout, [this] { std::exchange(soonAction_, {})(); });
}

void TForm1::Soon(std::function<void()> action) {
  soonAction_ = std::move(action);
  soon_->start(0);
}

TForm1::~TForm1() {
  Release();
}

namespace {
// Shown in a message box where there is a screen, always on standard error.
void Complain(const std::string& message) {
  Application->ShowException(std::runtime_error(message));
}

}  // namespace

void TForm1::ShowStoredPicture() {
  const PictureBytes stored = StoredPicture();
  std::string error;
  if (const auto picture = DecodeJpeg(stored.data, stored.size, &error)) {
    Image1->SetPicture(picture->pixels);
  } else {
    std::fprintf(stderr, "orvel: cannot show the picture: %s\n", error.c_str());
    pictureProblem_ = "cannot show the picture";
  }
}

void TForm1::AddHints() {
  const auto next = [this] { return simulation().parameters(); };
  Start->Hint = [next] { return StartHint(next()); };
  Stop->Hint = [] { return StopHint(); };
  Left->Hint = [next] { return EyeHint("Left", next()); };
  Right->Hint = [next] { return EyeHint("Right", next()); };
  ResetWeights->Hint = [next] { return ResetWeightsHint(next()); };
  CheckItOut->Hint = [] { return CheckItOutHint(); };
  ListBox1->Hint = [] { return ListingHint(); };
  Image1->Hint = [] { return PictureHint(); };
  Trace->Hint = [this] {
    const BCMNeuron& neuron = simulation().neuron();
    const std::vector<double>& weights = neuron.Weights();
    const double largest =
        weights.empty() ? 0.0 : *std::max_element(weights.begin(), weights.end());
    return PlotHint(neuron.Theta(), largest, weightView_.PixelsPerUnit(neuron),
                    weightView_.Fitted());
  };
  Status->PanelHint = [this](int panel) {
    return PanelHint(panel, simulation().trainedSteps(), simulation().learning(),
                     simulation().parameters());
  };
}

void TForm1::FormCreate() {
  const auto seed = options_.seed.value_or(static_cast<std::uint32_t>(clock_.seconds()));
  // The seed names the session; Help > About gives the command that replays it.
  std::printf("seed %u\n", seed);
  std::fflush(stdout);
  session_.Begin(seed);
  ShowNeuron(simulation().neuron());
  OpenLogs();
  if (options_.lesson) {
    Soon([this] { PlayLesson(*options_.lesson); });
  }
}

// From a terminal the logs go where the user stands; from the desktop, to a session folder.
void TForm1::OpenLogs() {
  std::string folder = options_.directory;
  if (options_.newSession) {
    folder = SessionFolder(session_.Seed(), clock_.seconds());
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
      std::fprintf(stderr, "orvel: cannot make %s: %s\n", folder.c_str(), error.message().c_str());
  }
  logFolder_ = runtime::AbsoluteFolder(folder);
  session_.onCourseRow = [this](const RunLogs::CourseRow& row) { history_.Add(row); };
  session_.onRecordFailure = [this](const std::string& problem) {
    std::fprintf(stderr, "orvel: %s\n", problem.c_str());
    ShowLastPanel();
  };
  session_.OpenFiles({folder, "orvel", true, std::nullopt, options_.logs});
  ShowLastPanel();
}

void TForm1::NoteEyes() {
  session_.SetEyes(Left->Checked(), Right->Checked());
}

// Each nested run holds a few kilobytes of the stack until it returns, so thousands of queued
// clicks on Start would overflow it without a limit.
bool TForm1::RoomForAnotherRun() const {
  if (runDepth_ >= kMaxRunDepth) return false;
  const StackRoom room = CurrentStackRoom();
  return room.size == 0 || room.used < room.size / 2 - room.size / 16;
}

// Start during a pause resumes it, rather than nesting a run that would start paused.
void TForm1::StartClick() {
  if (simulation().paused()) {
    SetPaused(false);
    if (runDepth_ > 0) return;
  }
  if (!RoomForAnotherRun()) {
    ShowNotice("Start ignored: " + std::to_string(runDepth_) + " runs nested");
    return;
  }
  DismissNotice();
  ++runDepth_;
  session_.Run(*this);
  WriteStepText();
  if (simulation().diverged()) ShowLastPanel();
  if (runDepth_ == 1 && course_) course_->Refresh();
  --runDepth_;
  if (runDepth_ == 0 && closeAfterRuns_) Close();
}

void TForm1::ShowNotice(const std::string& notice) {
  notice_ = notice;
  ShowLastPanel();
}

void TForm1::DismissNotice() {
  if (notice_.empty()) return;
  notice_.clear();
  ShowLastPanel();
}

// A file that cannot be written stays a problem for the rest of the session.
std::string TForm1::LastingProblem() const {
  if (const auto& diverged = simulation().diverged()) {
    return DivergenceText(*diverged) + ": Reset Weights";
  }
  if (const RunLogs* logs = session_.Logs(); logs != nullptr && logs->Failed()) {
    return logs->Notice();
  }
  if (session_.RecordFailing()) return std::string("cannot write ") + kRunRecordName;
  return pictureProblem_;
}

void TForm1::ShowLastPanel() {
  ShowNeuron(simulation().neuron());
}

// Over the noise range: a notice until the next Start, else a problem while it lasts, else the
// pause.
void TForm1::OverlayLastPanel() {
  const int last = Status->PanelCount() - 1;
  const std::string problem = notice_.empty() ? LastingProblem() : notice_;
  if (Status->PanelWarning(last) != !problem.empty()) {
    Status->SetPanelWarning(last, !problem.empty());
  }
  if (!problem.empty()) {
    Status->SetPanelText(last, problem);
  } else if (simulation().paused()) {
    Status->SetPanelText(last, "paused: F6 or Start resumes");
  }
}

void TForm1::StopClick() {
  session_.Stop();
  ShowLastPanel();
}

// Only a run going on can be held: a pause set between runs, or after a Stop, would hold the
// next run unseen.
void TForm1::PauseClick() {
  const bool running = runDepth_ > 0 && !simulation().stopRequested();
  if (running || simulation().paused()) SetPaused(!simulation().paused());
}

void TForm1::SetPaused(bool paused) {
  simulation().SetPaused(paused);
  ShowLastPanel();
}

void TForm1::FormDestroy() {
  if (lesson_) lesson_->Abandon();
  course_.reset();
  session_.Close();
}

void TForm1::ResetWeightsClick() {
  session_.ResetWeights();
  ShowNeuron(simulation().neuron());
}

void TForm1::CheckItOutClick() {
  ShowListing(session_.Check());
}

void TForm1::ShowListing(const std::vector<ListingRow>& rows) {
  ListBox1->Items.Clear();
  for (const std::string& line : ListingLines(rows)) ListBox1->Items.Add(line);
}

// The plot waits for the screen or a reader; the texts are written at once.
void TForm1::ShowNeuron(const BCMNeuron& shown) {
  weightView_.Show(shown, Trace->Canvas);
  neuronPanels_.Write(shown.Theta(), simulation().learning(), simulation().parameters(), *Status);
  OverlayLastPanel();
  ShowRule();
}

// In the title, so that the client area stays the classic one: "rule oja", or "rule bcm→oja"
// until the next Reset Weights.
void TForm1::ShowRule() {
  const std::string_view now = LearningRuleName(simulation().learning().rule);
  const std::string_view next = LearningRuleName(simulation().parameters().rule);
  const std::string_view classic = LearningRuleName(LearningRule::kBcm);
  std::string caption = storedCaption_;
  if (now != classic || next != classic) {
    caption += " \u2014 rule " + std::string(now);
    if (next != now) caption += "\u2192" + std::string(next);
  }
  if (caption != Caption()) SetCaption(caption);
}

bool TForm1::SavePictureTo(const std::string& path) {
  std::string error;
  if (WritePng(path, Trace->Picture(), error)) return true;
  Complain("cannot save the picture: " + error);
  return false;
}

bool TForm1::SaveStateTo(const std::string& path) {
  std::string error;
  NoteEyes();  // the boxes are the truth in the window, whatever changed them
  if (session_.SaveState(path, error)) return true;
  Complain("cannot save the state: " + error);
  return false;
}

bool TForm1::OpenStateFrom(const std::string& path) {
  if (const std::string problem = session_.LoadState(path); !problem.empty()) {
    Complain("cannot open the state " + path + ": " + problem);
    return false;
  }
  Left->SetChecked(session_.Left());
  Right->SetChecked(session_.Right());
  ShowNeuron(simulation().neuron());
  return true;
}

bool TForm1::ExportCourseTo(const std::string& path) {
  if (session_.Logs()) session_.Logs()->Flush();
  std::ifstream course(logFolder_ + "/" + kCourseName, std::ios::binary);
  std::ostringstream text;
  text << course.rdbuf();
  std::string error;
  if (session_.Logs() && session_.Logs()->Choice() == LogChoice::kNone) {
    // Whatever course.csv the folder holds is not this session's whole course.
    error = "File > Logging > None writes no course.csv";
  } else if (!course) {
    error = std::string("the session's ") + kCourseName + " cannot be read";
  } else if (runtime::WriteWholeFile(path, text.str(), error)) {
    return true;
  }
  Complain("cannot export the course: " + error);
  return false;
}

void TForm1::SetSpeed(std::int64_t stepsPerSecond) {
  throttle_.SetRate(stepsPerSecond, clock_.now());
  menu_->ShowSpeed(stepsPerSecond);
}

Settings TForm1::CurrentSettings() const {
  return {simulation().parameters(), session_.Seed(), session_.Generator()};
}

// Stimulus constants reach the next step, the neuron's the next reset (Simulation sees to it). A
// new generator, like a new seed, restarts the streams at once: the next step draws from it.
void TForm1::ApplySettings(const Settings& settings) {
  session_.SetParameters(settings.parameters);
  if (settings.generator != session_.Generator()) session_.SetGenerator(settings.generator);
  if (settings.seed != session_.Seed()) session_.Reseed(settings.seed);
  ShowNeuron(simulation().neuron());
}

void TForm1::ShowCourse() {
  if (!course_) {
    course_ = std::make_unique<CourseWindow>(
        history_,
        [this] {
          return EventsOf(session_.Record().Events(),
                          static_cast<std::int64_t>(simulation().trainedSteps()));
        },
        [this] {
          return CaptionOf(session_.Seed(), simulation().parameters(), session_.Record().Events());
        });
  }
  course_->NativeWidget()->addActions(menu_->ShortcutActions());
  course_->Show();
}

void TForm1::SetFitWeights(bool fitted) {
  weightView_.SetFitted(fitted);
  ShowNeuron(simulation().neuron());
}

// A window closed during a run would pull the logs from under it: every run is
// stopped first, and the window closes once the outermost has returned.
bool TForm1::CanCloseNow() {
  if (runDepth_ == 0) return true;
  closeAfterRuns_ = true;
  session_.Stop();
  return false;
}

// Panel 0 is written only when someone can look: at a pump, or when the run ends.
void TForm1::ShowStep(std::int64_t step) {
  shownStep_ = step;
  stepTextDue_ = true;
}
void TForm1::WriteStepText() {
  if (!stepTextDue_) return;
  Status->SetPanelText(0, StepText(shownStep_));
  stepTextDue_ = false;
}
bool TForm1::LeftTicked() const {
  return Left->Checked();
}
bool TForm1::RightTicked() const {
  return Right->Checked();
}
void TForm1::ProcessMessages() {
  // Pressed during the pump of the lesson run's last step, as orvel-batch's Stop is.
  if (lessonStepsLeft_ > 0 && --lessonStepsLeft_ == 0) session_.Stop();
  // A pump costs several steps; every 64th step still answers a click within microseconds.
  if ((simulation().trainedSteps() & 63) != 0 && throttle_.Rate() == 0) return;
  WriteStepText();
  Application->ProcessMessages();
  // Only a limited speed reads the clock: at full speed a step costs too little to afford it.
  if (throttle_.Rate() == 0) return;
  if (const auto due = throttle_.StepDone(clock_.now())) clock_.waitUntil(*due);
}
void TForm1::WaitForMessages() {
  Application->WaitForMessages();
}

// A lesson replaces the one playing, and shows the weights at a scale that fits them. While a run
// goes on, the lesson waits for it to end: a run started inside it would leave the lesson's steps
// to the mercy of the runs around it.
void TForm1::PlayLesson(const Lesson& lesson) {
  if (lesson_) lesson_->Abandon();
  lessonPanel_ = std::make_unique<LessonPanel>(lesson.title);
  lessonPanel_->onContinue = [this] { ContinueLesson(); };
  // Continue leaves the panel active, and Esc or F6 must still stop or pause the lesson there.
  lessonPanel_->NativeWidget()->addActions(menu_->ShortcutActions());
  LessonHost& host = *this;
  lesson_ = std::make_shared<LessonPlayer>(lesson, host, *lessonPanel_);
  lessonPanel_->Show(Frame());
  // The lessons speak of bars that grow beyond the classic scale's top.
  menu_->FitWeights(true);
  if (throttle_.Rate() == 0) {
    SetSpeed(kLessonSpeed);
    lessonSetSpeed_ = true;
  }
  ContinueLesson();
}

void TForm1::ContinueLesson() {
  if (runDepth_ == 0) {
    PlayLessonNow();
    return;
  }
  session_.Stop();
  Soon([this] { ContinueLesson(); });
}

void TForm1::PlayLessonNow() {
  const std::shared_ptr<LessonPlayer> playing = lesson_;
  playing->Play();
  if (playing != lesson_ || playing->state() != LessonPlayer::State::kEnded) return;
  // The speed the lesson chose ends with it, unless the user chose another since.
  if (lessonSetSpeed_ && throttle_.Rate() == kLessonSpeed) SetSpeed(0);
  lessonSetSpeed_ = false;
}

std::int64_t TForm1::RunLessonSteps(std::int64_t steps) {
  lessonStepsLeft_ = steps;
  StartClick();
  const std::int64_t trained = steps - lessonStepsLeft_;
  lessonStepsLeft_ = 0;
  return trained;
}

std::vector<ListingRow> TForm1::CheckListing() {
  std::vector<ListingRow> rows = session_.Check();
  ShowListing(rows);
  return rows;
}

void TForm1::TickEye(TCheckBox& box, bool on) {
  box.SetChecked(on);
  NoteEyes();
}

std::string TForm1::Perform(const Action& action) {
  std::string problem;
  switch (action.kind) {
    case Action::Kind::Reset:
      ResetWeightsClick();
      break;
    case Action::Kind::Left:
      TickEye(*Left, action.on);
      break;
    case Action::Kind::Right:
      TickEye(*Right, action.on);
      break;
    case Action::Kind::Save:
      NoteEyes();
      if (!session_.SaveState(action.file, problem)) return "cannot save the state: " + problem;
      break;
    case Action::Kind::Load:
      problem = session_.LoadState(action.file);
      if (!problem.empty()) return problem;
      Left->SetChecked(session_.Left());
      Right->SetChecked(session_.Right());
      break;
    case Action::Kind::Set:
      try {
        session_.SetParameter(action.name, action.value);
      } catch (const std::invalid_argument& error) {
        return error.what();
      }
      break;
    case Action::Kind::Run:
    case Action::Kind::Check:
      return "played by the lesson itself";
  }
  ShowNeuron(simulation().neuron());
  return "";
}
