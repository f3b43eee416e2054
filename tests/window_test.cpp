#include <gtest/gtest.h>
#include <unistd.h>

#include <QHelpEvent>
#include <QTimer>
#include <QToolTip>
#include <QWidget>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "Application.h"
#include "Bcm.h"
#include "ExpectedPlot.h"
#include "MainWindowLayout.h"
#include "QtEvents.h"
#include "ReferenceRun.h"
#include "Simulation.h"
#include "TempDir.h"
#include "orvel.h"

namespace {
// Every window test runs under a German locale, whose decimal comma must not reach any output.
class Window : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("LC_ALL", "de_DE.UTF-8", 1);
  }

  void SetUp() override {
    std::filesystem::current_path(dir.path());
    application.Initialize();
    clock.seconds = [] { return kSecond; };
    application.CreateForm(Form1, WindowOptions{}, clock);
    Form1->Show();
  }

  void TearDown() override { std::filesystem::current_path("/"); }

  // Runs action once the event loop has run for the given time, from inside any running loop.
  static void After(int milliseconds, std::function<void()> action) {
    QTimer::singleShot(milliseconds, std::move(action));
  }

  static int PanelStep() {
    return std::stoi(Form1->Named<TStatusBar>("Status").PanelText(0).substr(6));
  }

  // The calendar second the window starts in: it seeds every window of these tests.
  static constexpr std::time_t kSecond = 1'700'000'000;
  WindowClock clock;
  TempDir dir;
  TApplication application;
};

QRect Bounds(const TControl& control) {
  return {control.Left(), control.Top(), control.Width(), control.Height()};
}
}  // namespace

// The form must show every control of the stored layout where the layout puts it, and the layout
// itself must make sense: all inside the client area, nothing overlapping, the buttons in one
// column in the order a user reads them, the status bar along the whole bottom edge.
TEST_F(Window, LayoutHasEveryControlWhereAndAsStored) {
  const FormLayout& stored = MainWindowLayout();
  ASSERT_EQ(Form1->Controls().size(), stored.controls.size());
  const QRect client(0, 0, Form1->ClientWidth(), Form1->ClientHeight());
  std::map<std::string, QRect> shown;
  for (std::size_t i = 0; i < stored.controls.size(); ++i) {
    const ControlLayout& layout = stored.controls[i];
    const TControl& control = *Form1->Controls()[i];
    EXPECT_EQ(control.Name, layout.name);
    const QRect bounds = Bounds(control);
    EXPECT_EQ(bounds, QRect(layout.left, layout.top, layout.width, layout.height)) << layout.name;
    EXPECT_EQ(control.NativeWidget()->geometry(), bounds) << layout.name << " as Qt shows it";
    EXPECT_TRUE(client.contains(bounds)) << layout.name;
    for (const auto& [name, other] : shown) {
      EXPECT_FALSE(bounds.intersects(other)) << layout.name << " " << name;
    }
    shown[layout.name] = bounds;
  }
  EXPECT_EQ(shown.size(), 10U);
  const QRect column = shown["Start"];
  int lastTop = column.top() - 1;
  for (const char* button : {"Start", "Stop", "ResetWeights", "CheckItOut"}) {
    EXPECT_EQ(shown[button].left(), column.left()) << button;
    EXPECT_EQ(shown[button].width(), column.width()) << button;
    EXPECT_GT(shown[button].top(), lastTop) << button;
    lastTop = shown[button].top();
  }
  EXPECT_LT(shown["Left"].top(), column.top());
  EXPECT_EQ(shown["Status"].bottom(), client.bottom());
  EXPECT_EQ(shown["Status"].width(), client.width());
  EXPECT_EQ(shown["Trace"].size(), QSize(369, 121)) << "the weight plot's size";
  EXPECT_EQ(Form1->Caption(), "BCM Orvel");
  EXPECT_EQ(Form1->ClientWidth(), 590);
  EXPECT_EQ(Form1->ClientHeight(), 383);
  QWidget* window = Form1->NativeWidget();
  EXPECT_EQ(window->minimumSize(), window->maximumSize()) << "the window must not be resizable";
  EXPECT_EQ(Form1->Named<TButton>("Start").Caption(), "Start");
  EXPECT_EQ(Form1->Named<TButton>("Stop").Caption(), "Stop");
  EXPECT_EQ(Form1->Named<TButton>("ResetWeights").Caption(), "Reset Weights");
  EXPECT_EQ(Form1->Named<TButton>("CheckItOut").Caption(), "Check It Out");
  EXPECT_EQ(Form1->Named<TCheckBox>("Left").Caption(), "Left");
  EXPECT_EQ(Form1->Named<TCheckBox>("Right").Caption(), "Right");
  EXPECT_EQ(Form1->Named<TStatusBar>("Status").PanelCount(), 6);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(Form1->Named<TStatusBar>("Status").PanelWidth(i), 80);
}

// Every control and every status panel explains itself, quoting the constants the neuron learns
// with as they are when asked, and the panel under the pointer is the one Qt's tooltip shows.
TEST_F(Window, EveryControlAndPanelHasATooltipQuotingTheLiveTau) {
  for (const auto& control : Form1->Controls()) {
    EXPECT_FALSE(control->HintAt(1, 1).empty()) << control->Name;
  }
  const TStatusBar& status = Form1->Named<TStatusBar>("Status");
  std::set<std::string> panelHints;
  for (int left = 1; left < 6 * 80; left += 80) panelHints.insert(status.HintAt(left, 5));
  EXPECT_EQ(panelHints.size(), 6U);
  EXPECT_EQ(panelHints.count(""), 0U);

  Settings settings = Form1->CurrentSettings();
  settings.parameters.tau = 250;
  Form1->ApplySettings(settings);
  const int tauPanel = 3 * 80 + 1, thresholdPanel = 80 + 1;
  EXPECT_NE(status.HintAt(tauPanel, 5).find("last 1,000 responses (250 from the next Reset"),
            std::string::npos)
      << status.HintAt(tauPanel, 5);
  Form1->ResetWeightsClick();
  EXPECT_NE(status.HintAt(thresholdPanel, 5).find("over the last 250 responses"), std::string::npos)
      << status.HintAt(thresholdPanel, 5);

  QWidget* bar = status.NativeWidget();
  QHelpEvent pointerRests(QEvent::ToolTip, {thresholdPanel, 5}, bar->mapToGlobal(QPoint(81, 5)));
  QCoreApplication::sendEvent(bar, &pointerRests);
  EXPECT_EQ(QToolTip::text().toStdString(), status.HintAt(thresholdPanel, 5));
}

TEST_F(Window, StartUpDrawsTheFirstNeuronAndOpensSevenEmptyLogs) {
  EXPECT_EQ(Form1->Named<TImage>("Trace").Picture(),
            ExpectedPlot(Form1->session().simulation().neuron().Weights(), 80));
  EXPECT_EQ(Form1->Named<TStatusBar>("Status").PanelText(0), "");
  EXPECT_EQ(Form1->Named<TStatusBar>("Status").PanelText(1), "th: 0.00000");
  EXPECT_EQ(Form1->Named<TStatusBar>("Status").PanelText(5), "noise: -0.050..0.050");
  EXPECT_EQ(Form1->Named<TListBox>("ListBox1").Items.Count(), 0);
  EXPECT_TRUE(Form1->Named<TCheckBox>("Left").Checked());
  EXPECT_TRUE(Form1->Named<TCheckBox>("Right").Checked());
  for (const std::string& name : LogNames()) {
    EXPECT_TRUE(std::filesystem::exists(dir.path() / name)) << name;
    EXPECT_EQ(std::filesystem::file_size(dir.path() / name), 0U) << name;
  }
  const Bitmap& picture = Form1->Named<TImage>("Image1").Picture();
  EXPECT_EQ(picture.Width(), 121);
  EXPECT_EQ(picture.Height(), 153);
  EXPECT_NE(picture.At(60, 100), picture.At(2, 2)) << "the stored picture is not shown";
}

// Without --seed the calendar second seeds the session, so a window started in the same second
// draws the same first neuron.
TEST_F(Window, WithoutASeedTheClocksSecondSeedsTheSession) {
  EXPECT_EQ(Form1->session().Seed(), 1'700'000'000U);
  const std::vector<double> first = Form1->session().simulation().neuron().Weights();
  Form1->Release();
  application.CreateForm(Form1, WindowOptions{}, clock);
  EXPECT_EQ(Form1->session().simulation().neuron().Weights(), first);
}

TEST_F(Window, ResetWeightsRedrawsAtOnceAndKeepsOneNeuron) {
  for (int press = 0; press < 5; ++press) {
    // Each press replaces the neuron in place; nothing else holds one.
    const std::vector<double> oldWeights = Form1->session().simulation().neuron().Weights();
    Form1->Named<TButton>("ResetWeights").Click();
    EXPECT_NE(Form1->session().simulation().neuron().Weights(), oldWeights);
    EXPECT_EQ(Form1->Named<TImage>("Trace").Picture(),
              ExpectedPlot(Form1->session().simulation().neuron().Weights(), 80));
  }
  EXPECT_EQ(Form1->session().simulation().neuron().HistoryLength(), 0U);
}

TEST_F(Window, CheckItOutTwiceListsTwelveLinesWithFullStops) {
  Form1->Named<TButton>("CheckItOut").Click();
  Form1->Named<TButton>("CheckItOut").Click();
  ASSERT_EQ(Form1->Named<TListBox>("ListBox1").Items.Count(), 12);
  EXPECT_EQ(Form1->Named<TListBox>("ListBox1").Items[0].substr(0, 4), " 0. ");
  EXPECT_EQ(Form1->Named<TListBox>("ListBox1").Items[11].find(','), std::string::npos);
  EXPECT_EQ(Form1->Named<TListBox>("ListBox1").Items[11][6], '.');
}

// Steps played one after another from the event loop, each once its condition holds: a slow or
// loaded machine makes the script take longer, never go wrong.
class Script {
 public:
  Script& Then(
      std::function<void()> action, std::function<bool()> ready = [] { return true; }) {
    steps_.push_back({std::move(ready), std::move(action)});
    return *this;
  }
  void Start() {
    QTimer::singleShot(10, [this] { Poll(); });
  }
  bool Done() const { return next_ == steps_.size(); }

 private:
  // The next poll is scheduled before the action, which may be a run that returns much later.
  void Poll() {
    const bool ready = steps_[next_].ready();
    const Step& step = steps_[ready ? next_++ : next_];
    if (!Done()) QTimer::singleShot(10, [this] { Poll(); });
    if (ready) step.action();
  }
  struct Step {
    std::function<bool()> ready;
    std::function<void()> action;
  };
  std::vector<Step> steps_;
  std::size_t next_ = 0;
};

// A real click starts the run; while it runs, clicks on the other controls arrive from the event
// loop and must each be handled between two steps.
TEST_F(Window, EveryControlIsLiveDuringARun) {
  std::vector<std::string> seen;
  auto between = [&seen](const std::string& what) {
    // Between two steps the fresh neuron has learned once more than panel 0's step number.
    seen.push_back(what + (Form1->session().simulation().neuron().HistoryLength() ==
                                   static_cast<unsigned>(PanelStep()) + 1
                               ? " between steps"
                               : " mid-step"));
  };
  Form1->Named<TButton>("ResetWeights")
      .Click();  // a fresh neuron, so the history counts this run's steps
  const auto check = Form1->Named<TButton>("CheckItOut").OnClick;
  Form1->Named<TButton>("CheckItOut").OnClick = [&] {
    between("check");
    check();
  };
  std::uint64_t historyAtStop = 0;
  const auto stop = Form1->Named<TButton>("Stop").OnClick;
  Form1->Named<TButton>("Stop").OnClick = [&] {
    historyAtStop = Form1->session().simulation().neuron().HistoryLength();
    stop();
  };
  const auto running = [] { return Form1->RunDepth() == 1 && PanelStep() > 1000; };
  Script script;
  script.Then([] { PostClick(Form1->Named<TButton>("CheckItOut").NativeWidget()); }, running)
      .Then([] { PostClick(Form1->Named<TCheckBox>("Right").NativeWidget(), 6); },
            [] { return Form1->Named<TListBox>("ListBox1").Items.Count() == 12; })
      .Then([] { PostClick(Form1->Named<TButton>("ResetWeights").NativeWidget()); },
            [] { return !Form1->Named<TCheckBox>("Right").Checked(); })
      // The new neuron's history starts again while panel 0's count goes on; past 200 steps the
      // left eye's logs have a line.
      .Then([] { PostClick(Form1->Named<TButton>("Stop").NativeWidget()); },
            [] {
              const std::uint64_t history = Form1->session().simulation().neuron().HistoryLength();
              return history > 200 && history < static_cast<unsigned>(PanelStep());
            });

  PostClick(Form1->Named<TButton>("Start").NativeWidget());
  script.Start();
  while (!script.Done() || Form1->RunDepth() != 0) Application->ProcessMessages();

  EXPECT_EQ(Form1->RunDepth(), 0);
  EXPECT_EQ(seen, (std::vector<std::string>{"check between steps"}));
  EXPECT_EQ(Form1->Named<TListBox>("ListBox1").Items.Count(), 12);
  EXPECT_FALSE(Form1->Named<TCheckBox>("Right").Checked());
  EXPECT_GT(historyAtStop, 0U);
  EXPECT_EQ(Form1->session().simulation().neuron().HistoryLength(), historyAtStop)
      << "a run stepped on after Stop";
  Form1->Release();
  EXPECT_FALSE(dir.Read("log-left-2.txt").empty()) << "unticking Right moves the logs";
  EXPECT_EQ(dir.Read("log.txt").find(','), std::string::npos);
}

TEST_F(Window, ClosingDuringARunEndsEveryRunThenDestroysOnce) {
  int destroyed = 0, depthAtDestroy = -1;
  const auto destroy = Form1->OnDestroy;
  Form1->OnDestroy = [&] {
    ++destroyed;
    depthAtDestroy = Form1->RunDepth();
    destroy();
  };
  After(0, [] {
    Script nested;
    nested
        .Then([] { Form1->Named<TButton>("Start").Click(); }, [] { return Form1->RunDepth() == 1; })
        .Then([] { Form1->Close(); }, [] { return Form1->RunDepth() == 2; });
    nested.Start();
    Form1->Named<TButton>("Start").Click();
  });
  application.Run();
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(depthAtDestroy, 0);
  for (const std::string& name : LogNames()) {
    const std::string text = dir.Read(name);
    EXPECT_TRUE(text.empty() || text.back() == '\n') << name;
  }
  const std::string probes = dir.Read("log.txt");
  EXPECT_GE(std::count(probes.begin(), probes.end(), '\n'), 2);
}

// SIGINT and SIGTERM close the window too; an open Course window once kept the program running.
TEST_F(Window, ClosingEndsTheProgramThoughTheCourseWindowIsOpen) {
  bool keptRunning = false;
  // Turns of the event loop after the close: a program that ends takes none of them.
  std::function<void(int)> turn = [&](int left) {
    if (left == 0) {
      keptRunning = true;
      QCoreApplication::exit();
      return;
    }
    QTimer::singleShot(0, [&turn, left] { turn(left - 1); });
  };
  After(0, [&] {
    Form1->ShowCourse();
    Form1->Close();
    turn(3);
  });
  application.Run();
  EXPECT_FALSE(keptRunning);
}
