#include <gtest/gtest.h>

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <csignal>
#include <cstdlib>

#include "Application.h"
#include "DisplayRefresh.h"
#include "Form.h"
#include "QtEvents.h"

namespace {
// Counts the paint events a widget receives.
class PaintCounter : public QObject {
 public:
  int paints = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

class TestForm : public TForm {
 public:
  TestForm()
      : status(Add<TStatusBar>("Status")),
        first(Add<TButton>("First")),
        second(Add<TButton>("Second")),
        image(Add<TImage>("Image", 40, 30)),
        box(Add<TCheckBox>("Box")),
        list(Add<TListBox>("List")) {
    SetClientBounds(10, 10, 300, 200);
    status.SetBounds(0, 180, 300, 20);
    for (int i = 0; i < 3; ++i) status.AddPanel(80);
    first.SetBounds(10, 10, 80, 25);
    second.SetBounds(100, 10, 80, 25);
    image.SetBounds(10, 50, 40, 30);
    box.SetBounds(100, 50, 80, 20);
    list.SetBounds(10, 90, 200, 80);
    OnCreate = [this] { createdWithControls = Controls().size(); };
    OnDestroy = [this] { ++destroyed; };
  }
  TStatusBar& status;
  TButton& first;
  TButton& second;
  TImage& image;
  TCheckBox& box;
  TListBox& list;
  std::size_t createdWithControls = 0;
  int destroyed = 0;
};

class Toolkit : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    application = new TApplication([] { return now; });
    application->Initialize();
  }
  static void TearDownTestSuite() { delete application; }

  void SetUp() override {
    Application->CreateForm(form);
    form->Show();
    QCoreApplication::processEvents();
  }
  void TearDown() override {
    form->Release();
    EXPECT_EQ(form->destroyed, 1);
    form->Release();
    EXPECT_EQ(form->destroyed, 1) << "OnDestroy ran twice";
  }

  static TApplication* application;
  // The application's clock, moved by hand.
  static inline DisplayRefresh::Clock::time_point now{std::chrono::hours(1)};
  TestForm* form = nullptr;
};
TApplication* Toolkit::application = nullptr;
}  // namespace

TEST_F(Toolkit, OnCreateRunsOnceTheWholeLayoutExists) {
  EXPECT_EQ(form->createdWithControls, 6U);
}

// However often a panel is set and the events pumped, it is repainted once a frame of the refresh
// clock, and reads back the latest text.
TEST_F(Toolkit, APanelSetOnEveryPumpRepaintsOnceAFrameAndReadsBackTheLatest) {
  PaintCounter counter;
  form->status.NativeWidget()->installEventFilter(&counter);
  for (int frame = 1; frame <= 3; ++frame) {
    for (int i = 0; i < 20'000; ++i) {
      form->status.SetPanelText(0, "step: " + std::to_string(i));
      Application->ProcessMessages();
    }
    while (counter.paints < frame) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    now += DisplayRefresh::kFrame;
  }
  EXPECT_EQ(counter.paints, 3);
  EXPECT_EQ(form->status.PanelText(0), "step: 19999");
  form->status.SetPanelText(7, "no such panel");
  EXPECT_EQ(form->status.PanelText(7), "");
}

// A timed wait sleeps until an event comes, as often as it takes for the clock to reach the
// deadline; here each sleep takes a millisecond.
TEST_F(Toolkit, WaitingUntilADeadlineSleepsUntilTheClockReachesIt) {
  const auto deadline = now + std::chrono::milliseconds(3);
  int sleeps = 0;
  const QObject context;
  QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock,
                   &context, [&sleeps] {
                     ++sleeps;
                     now += std::chrono::milliseconds(1);
                   });
  Application->WaitForMessagesUntil(deadline);
  EXPECT_EQ(sleeps, 3);
}

TEST_F(Toolkit, AClickPostedDuringAHandlerThatPumpsRunsNestedToCompletion) {
  std::vector<std::string> order;
  form->second.OnClick = [&order] { order.push_back("second"); };
  form->first.OnClick = [&] {
    order.push_back("first begins");
    PostClick(form->second.NativeWidget());
    Application->ProcessMessages();
    order.push_back("first ends");
  };
  PostClick(form->first.NativeWidget());
  Application->ProcessMessages();
  EXPECT_EQ(order, (std::vector<std::string>{"first begins", "second", "first ends"}));
}

TEST_F(Toolkit, TheImageWidgetShowsExactlyTheCanvasPixels) {
  TCanvas& canvas = form->image.Canvas;
  canvas.SetBrushColor(clGreen);
  canvas.SetPenColor(clRed);
  canvas.Rectangle(5, 5, 20, 15);
  const QImage shown = form->image.NativeWidget()->grab().toImage();
  EXPECT_EQ(shown.pixel(5, 5), PixelOf(clRed));
  EXPECT_EQ(shown.pixel(10, 10), PixelOf(clGreen));
  EXPECT_EQ(shown.pixel(30, 20), PixelOf(clWhite));

  Bitmap picture(4, 3);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 4; ++x) picture.At(x, y) = PixelOf(x < 2 ? clBlack : clSilver);
  }
  form->image.SetStretch(true);
  form->image.SetPicture(picture);
  EXPECT_EQ(form->image.Picture().ColorAt(0, 29), clBlack);
  EXPECT_EQ(form->image.Picture().ColorAt(39, 0), clSilver);
}

TEST_F(Toolkit, ACheckBoxFollowsAClickOnItsBoxAndAListReadsNothingPastItsEnd) {
  form->box.SetChecked(true);
  EXPECT_TRUE(form->box.Checked());
  PostClick(form->box.NativeWidget(), 6);  // on the tick box itself
  Application->ProcessMessages();
  EXPECT_FALSE(form->box.Checked());
  form->list.Items.Add("one");
  EXPECT_EQ(form->list.Items[5], "");
}

TEST_F(Toolkit, ShowExceptionReportsTheMessageAndReturns) {
  ::testing::internal::CaptureStderr();
  Application->ShowException(Exception("layout is damaged"));
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "orvel: layout is damaged\n");
}

// An error box open at SIGTERM once outlived the closed window and kept the program running.
TEST_F(Toolkit, ATerminationSignalDismissesAnOpenDialogBeforeItsHandlerRuns) {
  bool handled = false;
  application->HandleTerminationSignals([&] { handled = true; });
  QDialog dialog;
  QTimer::singleShot(0, [] { std::raise(SIGTERM); });
  QTimer::singleShot(10000, &dialog, &QDialog::accept);  // a guard against a hang, not a measure
  EXPECT_EQ(dialog.exec(), QDialog::Rejected);
  EXPECT_TRUE(handled);
  application->HandleTerminationSignals({});
}
