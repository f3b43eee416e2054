#include <gtest/gtest.h>

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMetaObject>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "Application.h"
#include "Bcm.h"
#include "CourseChartView.h"
#include "CourseWindow.h"
#include "ExpectedPlot.h"
#include "HelpTexts.h"
#include "Lesson.h"
#include "LessonPanel.h"
#include "LogNames.h"
#include "ParametersDialog.h"
#include "Program.h"
#include "QtEvents.h"
#include "SaveName.h"
#include "StackRoom.h"
#include "TempDir.h"
#include "TextLines.h"
#include "WeightPlot.h"
#include "orvel.h"

// The menu bar's commands, the speeds, the pause, the nesting limit, the keyboard and the
// failure notice of the real window, offscreen.
namespace {
class WindowMenu : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { setenv("QT_QPA_PLATFORM", "offscreen", 1); }

  void SetUp() override {
    std::filesystem::current_path(dir.path());
    application.Initialize();
  }
  void TearDown() override { std::filesystem::current_path("/"); }

  void Open(WindowOptions options = {}, WindowClock clock = {}) {
    options.seed = 7;
    application.CreateForm(Form1, options, std::move(clock));
    Form1->Show();
  }

  static QAction* MenuItem(const QString& text) {
    for (QAction* action : Form1->Frame()->findChildren<QAction*>()) {
      if (action->text() == text) return action;
    }
    ADD_FAILURE() << "no menu item " << text.toStdString();
    return nullptr;
  }

  // Runs action from inside the run that Start begins, once ready holds; then stops every run.
  static void DuringARun(const std::function<bool()>& ready, const std::function<void()>& action) {
    std::function<void()> poll = [&] {
      if (!ready()) {
        QTimer::singleShot(5, poll);
        return;
      }
      action();
      Form1->StopClick();
    };
    QTimer::singleShot(5, poll);
    Form1->StartClick();
  }

  static std::string Panel(int index) {
    return Form1->Named<TStatusBar>("Status").PanelText(index);
  }
  static std::string LastPanel() { return Panel(5); }

  // The name of the control with the keyboard focus, else the class of the widget that has it.
  static std::string FocusedControl() {
    QWidget* focused = QApplication::focusWidget();
    for (const auto& control : Form1->Controls()) {
      if (control->NativeWidget() == focused) return control->Name;
    }
    return focused != nullptr ? focused->metaObject()->className() : "nothing";
  }

  // A key pressed and released on the focused widget.
  static void Press(int key) {
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    const QString text = key == Qt::Key_Space ? " " : key == Qt::Key_Return ? "\r" : "";
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(QApplication::focusWidget(), &press);
    QCoreApplication::sendEvent(QApplication::focusWidget(), &release);
  }

  TempDir dir;
  TApplication application;
};

// Runs action at the next event pump, however soon.
void Later(std::function<void()> action) {
  QMetaObject::invokeMethod(qApp, std::move(action), Qt::QueuedConnection);
}

void StopAndUnpause() {
  Form1->StopClick();
  Form1->PauseClick();
}

// Stops every run once this many steps are trained: the guard of a test whose own stop may fail.
void StopBeyond(std::uint64_t steps) {
  Later([steps] {
    if (Form1->RunDepth() == 0) return;
    if (Form1->session().simulation().trainedSteps() > steps) {
      Form1->StopClick();
    } else {
      StopBeyond(steps);
    }
  });
}
}  // namespace

TEST_F(WindowMenu, RunCommandsDoWhatTheButtonsDo) {
  Open();
  const std::vector<double> before = Form1->session().simulation().neuron().Weights();
  MenuItem("&Reset Weights")->trigger();
  EXPECT_NE(Form1->session().simulation().neuron().Weights(), before);
  MenuItem("&Check It Out")->trigger();
  EXPECT_EQ(Form1->Named<TListBox>("ListBox1").Items.Count(), 12);

  // Start from the menu, then Pause and Stop from the menu as a user would, from the pump.
  QTimer::singleShot(20, [] {
    MenuItem("&Pause")->trigger();
    EXPECT_TRUE(Form1->session().simulation().paused());
    MenuItem("S&top")->trigger();
    MenuItem("&Pause")->trigger();
  });
  MenuItem("&Start")->trigger();
  EXPECT_EQ(Form1->RunDepth(), 0);
  EXPECT_FALSE(Form1->session().simulation().paused());
  EXPECT_GT(Form1->session().simulation().trainedSteps(), 0U);

  EXPECT_EQ(MenuItem("&Start")->shortcut(), QKeySequence(Qt::Key_F5));
  EXPECT_EQ(MenuItem("S&top")->shortcut(), QKeySequence(Qt::Key_Escape));
  EXPECT_EQ(MenuItem("&Pause")->shortcut(), QKeySequence(Qt::Key_F6));
  EXPECT_EQ(MenuItem("&Save State…")->shortcut(), QKeySequence("Ctrl+S"));
  EXPECT_EQ(MenuItem("&Open State…")->shortcut(), QKeySequence("Ctrl+O"));
  EXPECT_EQ(MenuItem("Save &Picture…")->shortcut(), QKeySequence("Ctrl+Shift+S"));
  EXPECT_EQ(MenuItem("&Quit")->shortcut(), QKeySequence("Ctrl+Q"));
  const std::string table = ShortcutsTable();
  for (QAction* action : Form1->Frame()->findChildren<QAction*>()) {
    if (action->shortcut().isEmpty()) continue;
    const std::string cell = "<td><b>" + action->shortcut().toString().toStdString() + "</b></td>";
    EXPECT_NE(table.find(cell), std::string::npos) << "Keyboard Shortcuts lacks " << cell;
  }
}

TEST_F(WindowMenu, SpeedItemsAndTheCommandLineSetTheSameThrottle) {
  WindowOptions options;
  options.speed = 100000;
  Open(options);
  EXPECT_EQ(Form1->Speed(), 100000);
  EXPECT_TRUE(MenuItem("100,000 steps per second")->isChecked());
  MenuItem("1,000 steps per second")->trigger();
  EXPECT_EQ(Form1->Speed(), 1000);
  EXPECT_FALSE(MenuItem("100,000 steps per second")->isChecked());
  MenuItem("&Full")->trigger();
  EXPECT_EQ(Form1->Speed(), 0);
  Form1->SetSpeed(500);  // as --speed 500 does: an item of its own, ticked
  EXPECT_TRUE(MenuItem("500 steps per second")->isChecked());
  EXPECT_FALSE(MenuItem("&Full")->isChecked());
}

TEST_F(WindowMenu, APauseShowsAndEndsWithStartOrStop) {
  Open();
  DuringARun([] { return Form1->session().simulation().trainedSteps() > 100; },
             [] {
               MenuItem("&Pause")->trigger();
               EXPECT_EQ(LastPanel(), "paused: F6 or Start resumes");
               Form1->StartClick();
               EXPECT_FALSE(Form1->session().simulation().paused());
               EXPECT_EQ(Form1->RunDepth(), 1) << "Start resumes; it nests no paused run";
               EXPECT_EQ(LastPanel(), "noise: -0.050..0.050");
               MenuItem("&Pause")->trigger();
             });  // then Stop, which ends the pause too
  EXPECT_EQ(Form1->RunDepth(), 0);
  EXPECT_FALSE(Form1->session().simulation().paused());
  MenuItem("&Pause")->trigger();
  EXPECT_FALSE(Form1->session().simulation().paused()) << "between runs there is nothing to hold";

  // The Course window answers the same keys as the main window.
  Form1->ShowCourse();
  QStringList keys;
  for (const QAction* action : Form1->Course()->NativeWidget()->actions()) {
    keys << action->shortcut().toString();
  }
  for (const char* key : {"Ctrl+Q", "Esc", "F5", "F6", "Ctrl+S"}) EXPECT_TRUE(keys.contains(key));
}

// The window's clock stands still but for the waits the speed asks for, so a second of it must
// hold the ten thousand steps of the speed chosen, give or take the ten of a millisecond's wait.
TEST_F(WindowMenu, TenThousandStepsASecondIsWhatARunGetsFromTheClock) {
  const WindowClock::Steady::time_point start{};
  WindowClock clock;
  auto now = start;
  int waits = 0;
  clock.now = [&now] { return now; };
  clock.waitUntil = [&](WindowClock::Steady::time_point deadline) {
    ++waits;
    now = deadline;
    if (now - start >= std::chrono::seconds(1)) Form1->StopClick();
  };
  Open({}, clock);
  MenuItem("10,000 steps per second")->trigger();
  StopBeyond(20000);
  Form1->StartClick();
  EXPECT_NEAR(static_cast<double>(Form1->session().simulation().trainedSteps()), 10000, 10);
  EXPECT_NEAR(waits, 1000, 1) << "a wait a millisecond, not one a step";
}

// While paused the run steps no more, and each wait lets the event loop sleep until an event
// comes (it announces each sleep) instead of polling it: it wakes only for what was posted.
TEST_F(WindowMenu, APausedRunStandsStillAndSleepsUntilAnEventComes) {
  Open();
  std::vector<std::uint64_t> stepsAtSleeps;
  int pollsWhilePaused = 0;
  const QObject context;
  QAbstractEventDispatcher* events = QAbstractEventDispatcher::instance();
  QObject::connect(events, &QAbstractEventDispatcher::aboutToBlock, &context, [&] {
    if (!Form1->session().simulation().paused()) return;
    stepsAtSleeps.push_back(Form1->session().simulation().trainedSteps());
    if (stepsAtSleeps.size() == 3) {
      Later(StopAndUnpause);
    } else {
      Later([] {});
    }
  });
  QObject::connect(events, &QAbstractEventDispatcher::awake, &context, [&] {
    // A loop that never sleeps is ended, so that the test fails instead of spinning.
    if (Form1->session().simulation().paused() && ++pollsWhilePaused == 1000) StopAndUnpause();
  });
  Later([] { Form1->PauseClick(); });
  Form1->StartClick();
  ASSERT_EQ(stepsAtSleeps.size(), 3U);
  EXPECT_GT(stepsAtSleeps[0], 0U);
  EXPECT_EQ(stepsAtSleeps[2], stepsAtSleeps[0]);
  EXPECT_LE(pollsWhilePaused, 3) << "it polled while paused";
}

// Every queued click nests a run in the last until the limit; the rest are refused with a word in
// the status bar, the stack keeps half its room, and one Stop ends them all.
TEST_F(WindowMenu, ThousandsOfQueuedStartsStopAtTheNestingLimit) {
  Open();
  int deepest = 0, clicks = 0;
  StackRoom deepestRoom;
  const auto start = Form1->Named<TButton>("Start").OnClick;
  Form1->Named<TButton>("Start").OnClick = [&] {
    if (Form1->RunDepth() >= deepest) {
      deepest = Form1->RunDepth();
      deepestRoom = CurrentStackRoom();
    }
    const bool last = ++clicks == 2001;
    start();
    if (last) Form1->StopClick();  // refused, it returned at once: one Stop must end every run
  };
  for (int i = 0; i < 2000; ++i) {
    QMetaObject::invokeMethod(Form1->Named<TButton>("Start").NativeWidget(), "click",
                              Qt::QueuedConnection);
  }
  Form1->Named<TButton>("Start").Click();
  EXPECT_EQ(Form1->RunDepth(), 0);
  EXPECT_GE(deepest, 500);
  EXPECT_LT(deepestRoom.used, deepestRoom.size / 2);
  EXPECT_EQ(LastPanel().rfind("Start ignored: ", 0), 0U) << LastPanel();
  EXPECT_TRUE(Form1->Named<TStatusBar>("Status").PanelWarning(5));
  std::printf("deepest %d runs, %zu of %zu stack bytes used, %zu a run\n", deepest,
              deepestRoom.used, deepestRoom.size,
              deepestRoom.used / static_cast<std::size_t>(std::max(deepest, 1)));
}

// Every panel shows its whole text, a frame and margins of 7 pixels around it: the constants at
// the stored widths, a step count of 13 digits by widening its panel. The last panel reaches the
// right edge whatever the others take.
TEST_F(WindowMenu, EveryPanelShowsItsWholeText) {
  Open();
  const TStatusBar& bar = Form1->Named<TStatusBar>("Status");
  const QFontMetrics metrics(bar.NativeWidget()->font());
  const auto expectWholeTexts = [&] {
    int shown = 0;
    for (int i = 0; i < 6; ++i) {
      const QString text = QString::fromStdString(bar.PanelText(i));
      EXPECT_LE(metrics.horizontalAdvance(text) + 7, bar.ShownPanelWidth(i)) << i;
      shown += bar.ShownPanelWidth(i);
    }
    EXPECT_EQ(shown, Form1->ClientWidth());
  };
  ASSERT_EQ(LastPanel(), "noise: -0.050..0.050");
  expectWholeTexts();
  for (int i = 0; i < 5; ++i) EXPECT_EQ(bar.ShownPanelWidth(i), 80);

  Form1->Named<TStatusBar>("Status").SetPanelText(0, "step: 1234567890123");
  expectWholeTexts();
  EXPECT_GT(bar.ShownPanelWidth(0), 80);
  for (int i = 1; i < 5; ++i) EXPECT_EQ(bar.ShownPanelWidth(i), 80);
}

// Tab visits the seven controls a user can see, then comes round; Space and Return work the
// focused one, a button or a box, as the Keyboard Shortcuts say.
TEST_F(WindowMenu, TheKeyboardVisitsEveryControlAndWorksIt) {
  Open();
  QApplication::setActiveWindow(Form1->Frame());  // the offscreen platform activates none
  Form1->Named<TCheckBox>("Left").NativeWidget()->setFocus(Qt::TabFocusReason);
  std::vector<std::string> stops;
  for (int i = 0; i < 8; ++i) {
    stops.push_back(FocusedControl());
    Press(Qt::Key_Tab);
  }
  EXPECT_EQ(stops, (std::vector<std::string>{"Left", "Right", "Start", "Stop", "ResetWeights",
                                             "CheckItOut", "ListBox1", "Left"}));

  for (int key : {int{Qt::Key_Space}, int{Qt::Key_Return}}) {
    Form1->Named<TListBox>("ListBox1").Items.Clear();
    Form1->Named<TButton>("CheckItOut").NativeWidget()->setFocus(Qt::TabFocusReason);
    Press(key);
    EXPECT_EQ(Form1->Named<TListBox>("ListBox1").Items.Count(), 12) << "key " << key;
    const bool ticked = Form1->Named<TCheckBox>("Left").Checked();
    Form1->Named<TCheckBox>("Left").NativeWidget()->setFocus(Qt::TabFocusReason);
    Press(key);
    EXPECT_EQ(Form1->Named<TCheckBox>("Left").Checked(), !ticked) << "key " << key;
    EXPECT_EQ(Form1->session().Left(), !ticked) << "the eyes did not follow the box";
  }
}

TEST_F(WindowMenu, AFailedLogShowsARedNoticeForAsLongAsItLasts) {
  std::filesystem::create_directory(dir.path() / "log.txt");
  ::testing::internal::CaptureStderr();
  Open();
  const std::string errors = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(errors.find("orvel: cannot open log.txt: "), std::string::npos) << errors;
  EXPECT_EQ(LastPanel(), "cannot open log.txt");
  EXPECT_TRUE(Form1->Named<TStatusBar>("Status").PanelWarning(5));
  QTimer::singleShot(20, [] { Form1->StopClick(); });
  Form1->StartClick();
  EXPECT_EQ(LastPanel(), "cannot open log.txt") << "the file is still missing";
  EXPECT_TRUE(Form1->Named<TStatusBar>("Status").PanelWarning(5));
}

TEST_F(WindowMenu, StatesSaveAndOpenAsTheStateFilesDo) {
  Open();
  Form1->Named<TCheckBox>("Right").SetChecked(false);
  const std::string state = (dir.path() / "reared.json").string();
  ASSERT_TRUE(Form1->SaveStateTo(state));
  const Simulation::Saved saved = Form1->session().simulation().Save(true, false);
  DuringARun([] { return Form1->session().simulation().trainedSteps() > 500; }, [] {});
  Form1->Named<TCheckBox>("Right").SetChecked(true);

  ASSERT_TRUE(Form1->OpenStateFrom(state));
  EXPECT_EQ(Form1->session().simulation().Save(Form1->Named<TCheckBox>("Left").Checked(),
                                               Form1->Named<TCheckBox>("Right").Checked()),
            saved);
  EXPECT_FALSE(Form1->Named<TCheckBox>("Right").Checked());

  std::ofstream(dir.path() / "bad.json") << "{\"not\": \"a state\"}";
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(Form1->OpenStateFrom((dir.path() / "bad.json").string()));
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("cannot open the state"),
            std::string::npos);
  EXPECT_EQ(Form1->session().simulation().Save(Form1->Named<TCheckBox>("Left").Checked(),
                                               Form1->Named<TCheckBox>("Right").Checked()),
            saved)
      << "a bad file changed it";
  EXPECT_NE(dir.Read("run.json").find("\"event\": \"load\""), std::string::npos);
}

TEST_F(WindowMenu, OpeningAStateDuringARunContinuesTheRunWithIt) {
  Open();
  const std::string state = (dir.path() / "state.json").string();
  ASSERT_TRUE(Form1->SaveStateTo(state));
  std::uint64_t loadedAt = 0;
  DuringARun(
      [&] {
        if (loadedAt == 0 && Form1->session().simulation().trainedSteps() > 2000) {
          EXPECT_TRUE(Form1->OpenStateFrom(state));
          EXPECT_EQ(Form1->session().simulation().neuron().HistoryLength(), 0U);
          loadedAt = Form1->session().simulation().trainedSteps();
        }
        return loadedAt > 0 && Form1->session().simulation().trainedSteps() > loadedAt + 1000;
      },
      [] {});
  EXPECT_GT(Form1->session().simulation().neuron().HistoryLength(), 1000U)
      << "the run went on with the state";
  EXPECT_EQ(Form1->RunDepth(), 0);
}

TEST_F(WindowMenu, PictureAndCourseFilesAreWritten) {
  Open();
  DuringARun([] { return Form1->session().simulation().trainedSteps() > 1000; }, [] {});
  ASSERT_TRUE(Form1->SavePictureTo((dir.path() / "plot.png").string()));
  EXPECT_EQ(dir.Read("plot.png").substr(1, 3), "PNG");
  ASSERT_TRUE(Form1->ExportCourseTo((dir.path() / "copy.csv").string()));
  EXPECT_EQ(dir.Read("copy.csv"), dir.Read("course.csv"));
  EXPECT_GE(Lines(dir.Read("copy.csv")), 11);
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(Form1->SavePictureTo((dir.path() / "no-such-folder" / "plot.png").string()));
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("cannot save the picture"),
            std::string::npos);
}

// Stimulus parameters reach the very next step, the neuron's wait for Reset Weights, and a new
// seed replays as orvel-batch --seed would.
TEST_F(WindowMenu, ParametersTakeEffectWhenTheDialogSays) {
  Open();
  Settings settings = Form1->CurrentSettings();
  const std::vector<std::string> bad(ParameterOptions().size(), "-1");
  Settings unchanged = settings;
  EXPECT_EQ(ReadSettings(bad, "7", unchanged), "rate must be finite, > 0, not \"-1\"");
  EXPECT_EQ(unchanged.parameters, settings.parameters);

  std::vector<std::string> texts;
  for (const ParameterOption& option : ParameterOptions()) {
    texts.push_back(option.get(settings.parameters));
  }
  texts[0] = "0.01";  // rate
  texts[3] = "0.1";   // noise
  ASSERT_EQ(ReadSettings(texts, "42", settings), "");
  EXPECT_FALSE(settings.parameters.closedNoise) << "an untouched closed-noise must follow noise";
  Form1->ApplySettings(settings);
  EXPECT_EQ(LastPanel(), "noise: -0.100..0.100");
  EXPECT_EQ(Panel(2), "learn.: 0.0050\u21920.0100") << "the rate waits for Reset Weights";
  EXPECT_EQ(Form1->session().Seed(), 42U);
  runtime::CRand expected;
  expected.srand(42);
  EXPECT_EQ(Form1->session().simulation().generator().rand(), expected.rand());
  // The record keeps the start's values on top and each change, with its values, as an event.
  const auto record = nlohmann::json::parse(dir.Read("run.json"));
  EXPECT_EQ(record["parameters"]["rate"], 0.005);
  const auto& events = record["events"];
  const auto changed = std::find_if(events.begin(), events.end(),
                                    [](const auto& e) { return e["event"] == "parameters"; });
  ASSERT_NE(changed, events.end());
  EXPECT_EQ((*changed)["parameters"]["rate"], 0.01);
  EXPECT_EQ((*changed)["parameters"]["noise"], 0.1);
  EXPECT_EQ(events.back()["event"], "seed");
  EXPECT_EQ(events.back()["seed"], 42);
  Form1->ResetWeightsClick();
  EXPECT_EQ(Panel(2), "learn.: 0.0100");
}

// The rule shows in the title, outside the client area, which stays the classic one; like the
// other neuron constants it waits for Reset Weights.
TEST_F(WindowMenu, AnotherRuleShowsInTheTitleAndTheModelAndGuidePagesAreRendered) {
  Open();
  EXPECT_EQ(Form1->Caption(), "BCM Orvel");
  Settings settings = Form1->CurrentSettings();
  settings.parameters.rule = LearningRule::kLawCooper;
  Form1->ApplySettings(settings);
  EXPECT_EQ(Form1->Caption(), "BCM Orvel \u2014 rule bcm\u2192law-cooper");
  EXPECT_EQ(Form1->session().simulation().neuron().Rule(), LearningRule::kBcm);
  Form1->ResetWeightsClick();
  EXPECT_EQ(Form1->Caption(), "BCM Orvel \u2014 rule law-cooper");
  EXPECT_EQ(Form1->session().simulation().neuron().Rule(), LearningRule::kLawCooper);

  MenuItem("&Model")->trigger();
  const auto pages = Form1->Frame()->findChildren<QTextBrowser*>();
  ASSERT_EQ(pages.size(), 1);
  const QString page = pages.front()->toPlainText();
  EXPECT_TRUE(page.contains("law-cooper")) << page.left(200).toStdString();
  EXPECT_FALSE(page.contains("## ")) << "rendered, not raw markdown";

  // The guide's pictures are built in beside it, each found as the page names it.
  MenuItem("&Guide")->trigger();
  QTextBrowser* guide = Form1->Frame()->findChildren<QTextBrowser*>().back();
  EXPECT_TRUE(guide->toPlainText().contains("Writing a lesson"));
  int pictures = 0;
  for (QTextBlock block = guide->document()->begin(); block.isValid(); block = block.next()) {
    for (auto part = block.begin(); !part.atEnd(); ++part) {
      const QTextImageFormat image = part.fragment().charFormat().toImageFormat();
      if (!image.isValid()) continue;
      ++pictures;
      const QVariant loaded = guide->loadResource(QTextDocument::ImageResource, image.name());
      EXPECT_FALSE(loaded.isNull()) << image.name().toStdString();
    }
  }
  EXPECT_GE(pictures, 5);
}

// On a screen of 640 x 480, or 1280 x 1024 at scale 2, the whole dialog and a title bar fit, OK
// and Cancel included. What each field means is told below the fields, for the focused one.
TEST_F(WindowMenu, TheParametersDialogFitsASmallScreen) {
  Open();
  ParametersDialog dialog(Form1->Frame(), Form1->CurrentSettings());
  const QSize size = dialog.sizeHint();
  EXPECT_LE(size.width(), 640);
  EXPECT_LE(size.height(), 480 - 40);
  std::printf("the Parameters dialog is %d x %d\n", size.width(), size.height());
  dialog.show();
  QApplication::setActiveWindow(&dialog);
  for (QLineEdit* edit : dialog.findChildren<QLineEdit*>()) {
    if (edit->toolTip().startsWith("<b>tau</b>")) edit->setFocus(Qt::TabFocusReason);
  }
  EXPECT_TRUE(dialog.Note().contains("averaging window")) << dialog.Note().toStdString();
}

TEST_F(WindowMenu, TheCourseWindowRedrawsAtDisplayRateNotPerRow) {
  Open();
  MenuItem("&Course")->trigger();
  ASSERT_NE(Form1->Course(), nullptr);
  EXPECT_TRUE(Form1->Course()->NativeWidget()->isVisible());
  EXPECT_EQ(Form1->Course()->Redraws(), 1);  // an empty frame before the first row
  Form1->Named<TCheckBox>("Right").SetChecked(false);
  DuringARun([] { return Form1->session().simulation().trainedSteps() > 200000; }, [] {});
  const int redraws = Form1->Course()->Redraws();
  EXPECT_GT(redraws, 0);
  EXPECT_LT(redraws, static_cast<int>(Form1->session().simulation().trainedSteps() / 100) / 10);
  Form1->session().Logs()->Flush();
  EXPECT_EQ(Form1->Course()->ShownPoints(), Lines(dir.Read("course.csv")) - 1)
      << "a run that ends leaves the chart showing all it logged";
  // Captioned as the figures are; the last steps end where the course does.
  QStringList texts;
  for (const QGraphicsItem* item : Form1->Course()->Chart().scene()->items()) {
    if (const auto* text = dynamic_cast<const QGraphicsSimpleTextItem*>(item)) {
      texts << text->text();
    }
  }
  EXPECT_TRUE(texts.contains("seed 7")) << texts.join(" | ").toStdString();
  Form1->Course()->ShowLast(10000);
  const Extent shown = Form1->Course()->Chart().ShownSteps();
  EXPECT_DOUBLE_EQ(shown.high - shown.low, 10000.0);
  EXPECT_GT(shown.high, static_cast<double>(Form1->session().simulation().trainedSteps()) - 100);
}

// Fitted, the fresh neuron's largest weight reaches row 12, just below the note of the scale, and
// Save Picture saves what is shown; unticked, the classic plot is back pixel for pixel.
TEST_F(WindowMenu, FitWeightsScalesThePlotAndOffGivesTheClassicOneBack) {
  Open();
  const std::vector<double> weights = Form1->session().simulation().neuron().Weights();
  const auto largest = std::max_element(weights.begin(), weights.end()) - weights.begin();
  const int outline = 15 * static_cast<int>(largest) + 5;
  QAction* fit = MenuItem("Fit &Weights");
  ASSERT_FALSE(fit->isChecked());
  fit->trigger();
  const Bitmap fitted = Form1->Named<TImage>("Trace").Picture();
  std::vector<int> barRows;
  for (int y = kFittedTop; y < fitted.Height(); ++y) {
    if (fitted.ColorAt(outline, y) == clBlack) barRows.push_back(y);
  }
  ASSERT_FALSE(barRows.empty());
  EXPECT_EQ(barRows.front(), 12);
  EXPECT_EQ(barRows.back(), 79);
  int notePixels = 0;
  for (int x = 0; x < 100; ++x) notePixels += fitted.ColorAt(x, 6) != clWhite;
  EXPECT_GT(notePixels, 10) << "no note of the scale";
  ASSERT_TRUE(Form1->SavePictureTo((dir.path() / "fitted.png").string()));
  const QImage saved(QString::fromStdString((dir.path() / "fitted.png").string()));
  EXPECT_EQ(saved.pixel(outline, 12), fitted.At(outline, 12));
  fit->trigger();
  EXPECT_EQ(Form1->Named<TImage>("Trace").Picture(), ExpectedPlot(weights, 80));
}

TEST_F(WindowMenu, NewSessionLogsGoToAFolderOfTheirOwn) {
  setenv("XDG_DATA_HOME", dir.path().c_str(), 1);
  WindowOptions options;
  options.newSession = true;
  Open(options);
  const std::string folder = Form1->LogFolder();
  EXPECT_EQ(folder.rfind((dir.path() / "orvel" / "sessions").string() + "/", 0), 0U) << folder;
  EXPECT_EQ(folder.substr(folder.size() - 7), "-seed-7");
  EXPECT_TRUE(std::filesystem::exists(folder + "/log.txt"));
  EXPECT_TRUE(std::filesystem::exists(folder + "/run.json"));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "log.txt"));
  unsetenv("XDG_DATA_HOME");
}

// A name without an extension gets the one the save dialog's filter names; any other keeps its
// own, a dot in a folder's name or a hidden file's leading dot being none.
TEST(SaveName, TakesTheFiltersExtensionOnlyWhenItHasNone) {
  EXPECT_EQ(WithDefaultExtension("/home/u/state1", ".json"), "/home/u/state1.json");
  EXPECT_EQ(WithDefaultExtension("/home/u/state1.json", ".json"), "/home/u/state1.json");
  EXPECT_EQ(WithDefaultExtension("/home/u/plot.PNG", ".png"), "/home/u/plot.PNG");
  EXPECT_EQ(WithDefaultExtension("/home/u/run.2/course", ".csv"), "/home/u/run.2/course.csv");
  EXPECT_EQ(WithDefaultExtension("/home/u/.state", ".json"), "/home/u/.state.json");
  EXPECT_EQ(WithDefaultExtension("", ".json"), "") << "a cancelled dialog";
}

// File → Logging writes less at once, whole to the last logged step, and never more again; its
// title says what the logs have written.
TEST_F(WindowMenu, LoggingWritesLessAtOnceNeverMoreAndSaysHowMuch) {
  Open();
  const auto trainedPast = [](std::uint64_t steps) {
    return [steps] { return Form1->session().simulation().trainedSteps() > steps; };
  };
  DuringARun(trainedPast(1000), [] { MenuItem("&Course only: course.csv")->trigger(); });
  Form1->session().Logs()->Flush();
  const std::string probes = dir.Read("log.txt"), course = dir.Read("course.csv");
  EXPECT_EQ(Lines(probes), Lines(course) - 1) << "the classic logs end at the course's last row";
  DuringARun(trainedPast(Form1->session().simulation().trainedSteps() + 1000), [] {});
  Form1->session().Logs()->Flush();
  EXPECT_EQ(dir.Read("log.txt"), probes);
  EXPECT_GE(Lines(dir.Read("course.csv")), Lines(course) + 10);

  QMenu* file = nullptr;
  QMenu* logging = nullptr;
  for (QMenu* menu : Form1->Frame()->findChildren<QMenu*>()) {
    if (menu->title() == "&File") file = menu;
    if (menu->title().startsWith("&Logging")) logging = menu;
  }
  ASSERT_TRUE(file != nullptr && logging != nullptr);
  emit file->aboutToShow();
  EXPECT_FALSE(MenuItem("&All: the seven logs and course.csv")->isEnabled());
  EXPECT_TRUE(MenuItem("&Course only: course.csv")->isChecked());
  std::uintmax_t written = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    if (entry.path().filename() != "run.json") written += entry.file_size();
  }
  EXPECT_EQ(logging->title().toStdString(), "&Logging (" + ByteText(written) + " written)");

  MenuItem("&None: run.json only")->trigger();
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(Form1->ExportCourseTo((dir.path() / "copy.csv").string()));
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("writes no course.csv"),
            std::string::npos);
  const std::string record = dir.Read("run.json");
  EXPECT_NE(record.find("\"event\": \"logs\",\n      \"logs\": \"course\""), std::string::npos)
      << record;
  EXPECT_NE(record.find("\"logs\": \"none\""), std::string::npos);
}

TEST_F(WindowMenu, LogsCourseAtStartUpOpensOnlyTheCourseAndTheRecord) {
  WindowOptions options;
  options.logs = LogChoice::kCourse;
  Open(options);
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"course.csv", "run.json"}));
}

// The About box's command must replay what the window did, log for log, or say why it cannot.
TEST_F(WindowMenu, AboutsCommandReplaysTheSessionOrSaysWhyNot) {
  Open();
  const auto runPast = [](std::uint64_t steps) {
    StopBeyond(steps);
    Form1->StartClick();
  };
  TCheckBox& left = Form1->Named<TCheckBox>("Left");
  runPast(250);
  Form1->CheckItOutClick();
  left.SetChecked(false);
  left.OnClick();
  runPast(700);
  Form1->ResetWeightsClick();
  runPast(1000);
  Form1->session().Logs()->Flush();
  const auto command = Form1->session().ReplayCommand().Command("replay");
  ASSERT_TRUE(command) << Form1->session().ReplayCommand().WhyNot();
  EXPECT_NE(command->find(" check left=off run="), std::string::npos) << *command;
  const Outcome replayed = RunBatch(command->substr(command->find(' ')), dir.path());
  ASSERT_EQ(replayed.status, 0) << replayed.err;
  std::vector<std::string> logs(kLogNames.begin(), kLogNames.end());
  logs.push_back(kCourseName);
  for (const std::string& name : logs) {
    EXPECT_EQ(dir.Read("replay/" + name), dir.Read(name)) << name;
  }

  const std::string state = (dir.path() / "s.json").string();
  ASSERT_TRUE(Form1->SaveStateTo(state) && Form1->OpenStateFrom(state));
  const Replay& replay = Form1->session().ReplayCommand();
  EXPECT_NE(replay.Command("r")->find(" load=" + state), std::string::npos);
  std::ofstream(state, std::ios::app) << " ";
  EXPECT_EQ(replay.WhyNot(), "the state file " + state + " has changed since it was loaded");
  DuringARun([] { return Form1->session().simulation().trainedSteps() > 1100; },
             [&] { Form1->CheckItOutClick(); });
  EXPECT_EQ(replay.WhyNot(), "Check It Out was pressed during run 4");
}

// A lesson trains as orvel-batch plays its file, byte for byte, at 10,000 steps a second of the
// window's clock unless the user chose a speed. It waits at its checkpoint for Continue, and a
// Stop halts it with the run's steps left for Continue to train.
TEST_F(WindowMenu, ALessonPlaysItsFileAsOrvelBatchDoesAndWaitsForContinue) {
  WindowClock clock;
  WindowClock::Steady::time_point now{};
  clock.now = [&now] { return now; };
  clock.waitUntil = [&now](WindowClock::Steady::time_point deadline) { now = deadline; };
  const std::string text =
      "lesson: L\nphase: Rearing\nsay: Both eyes.\nrun=700\ncheck=reared\nask: And now?\n"
      "phase: Closed\nsay: The right eye.\nright=off\nclosed-noise=0\nrun=500\ncheck=closed\n"
      "end: Bye.\n";
  std::ofstream(dir.path() / "lesson.txt") << text;
  Open({}, clock);
  Form1->PlayLesson(ParseLesson(text, "lesson.txt"));
  const Simulation& simulation = Form1->session().simulation();
  EXPECT_EQ(Form1->LessonPlaying()->state(), LessonPlayer::State::kAsking);
  EXPECT_EQ(simulation.trainedSteps(), 700U);
  EXPECT_EQ(Form1->Speed(), TForm1::kLessonSpeed);
  EXPECT_EQ(now - WindowClock::Steady::time_point{}, std::chrono::milliseconds(70));
  EXPECT_NE(Form1->LessonShown()->Text().find("And now?"), std::string::npos);
  EXPECT_EQ(Form1->Named<TListBox>("ListBox1").Items.Count(), 12);

  Form1->ContinueLesson();
  EXPECT_EQ(Form1->LessonPlaying()->state(), LessonPlayer::State::kEnded);
  EXPECT_EQ(Form1->Speed(), 0) << "the lesson's speed ends with it";
  EXPECT_FALSE(Form1->Named<TCheckBox>("Right").Checked());
  const std::string end = Form1->LessonShown()->Text();
  for (const char* shown : {"Bye.", "reared", "closed", "1,200"}) {
    EXPECT_NE(end.find(shown), std::string::npos) << shown << " in " << end;
  }
  Form1->session().Logs()->Flush();
  const Outcome batch = RunBatch("--seed 7 --dir batch @lesson.txt", dir.path());
  ASSERT_EQ(batch.status, 0) << batch.err;
  std::vector<std::string> logs(kLogNames.begin(), kLogNames.end());
  logs.push_back(kCourseName);
  for (const std::string& name : logs) EXPECT_EQ(dir.Read("batch/" + name), dir.Read(name)) << name;

  std::function<void()> stopLater = [&] {
    if (simulation.trainedSteps() < 1500) return QTimer::singleShot(0, stopLater);
    Form1->StopClick();
  };
  QTimer::singleShot(0, stopLater);
  Form1->PlayLesson(ParseLesson(text, "lesson.txt"));
  EXPECT_EQ(Form1->LessonPlaying()->state(), LessonPlayer::State::kStopped);
  EXPECT_LT(simulation.trainedSteps(), 1900U);
  Form1->ContinueLesson();
  EXPECT_EQ(simulation.trainedSteps(), 1900U) << "the stopped run's steps, and no more";

  // The lessons built in are in the menu, in order; the first asks before it trains.
  for (const char* title : {"&1. Normal rearing", "&2. Monocular deprivation",
                            "&5. Lid suture and inactivation", "&6. The BCM rule and Oja's rule"}) {
    ASSERT_NE(MenuItem(title), nullptr);
  }
  MenuItem("&1. Normal rearing")->trigger();
  EXPECT_EQ(Form1->LessonPlaying()->lesson().title, "Normal rearing");
  EXPECT_EQ(Form1->LessonPlaying()->state(), LessonPlayer::State::kAsking);
  EXPECT_EQ(simulation.trainedSteps(), 1900U);
  EXPECT_TRUE(Form1->LessonShown()->NativeWidget()->isVisible());
  QStringList keys;  // Continue leaves the panel active: the window's keys work there too
  for (const QAction* action : Form1->LessonShown()->NativeWidget()->actions()) {
    keys << action->shortcut().toString();
  }
  for (const char* key : {"Esc", "F6", "F5"}) EXPECT_TRUE(keys.contains(key)) << key;

  // A lesson chosen during another's run replaces it once that run has stopped.
  std::function<void()> replace = [&] {
    if (simulation.trainedSteps() < 2500) return QTimer::singleShot(0, replace);
    Form1->PlayLesson(ParseLesson(text, "lesson.txt"));
  };
  QTimer::singleShot(0, replace);
  Form1->PlayLesson(ParseLesson("lesson: Long\nrun=1000000\n", "long.txt"));
  const std::uint64_t stopped = simulation.trainedSteps();
  EXPECT_LT(stopped, 1000000U);
  for (int events = 0;
       events < 1000 && Form1->LessonPlaying()->state() != LessonPlayer::State::kAsking; ++events) {
    QCoreApplication::processEvents();
  }
  EXPECT_EQ(Form1->LessonPlaying()->lesson().title, "L");
  EXPECT_EQ(simulation.trainedSteps(), stopped + 700);
}
