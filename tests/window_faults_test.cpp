#include <gtest/gtest.h>

#include <QTimer>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "Application.h"
#include "Bcm.h"
#include "ReferenceRun.h"
#include "Simulation.h"
#include "TempDir.h"
#include "TextLines.h"
#include "orvel.h"

// The window built with a truncated copy of its picture, and driven to its limits.
namespace {
class WindowFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::filesystem::current_path(dir.path());
    application.Initialize();
    ::testing::internal::CaptureStderr();
    application.CreateForm(Form1);
    startupErrors = ::testing::internal::GetCapturedStderr();
  }
  void TearDown() override { std::filesystem::current_path("/"); }

  TempDir dir;
  TApplication application;
  std::string startupErrors;
};

}  // namespace

TEST_F(WindowFaults, ACorruptPictureLeavesTheImageBlankWithAMessageAndTheProgramRuns) {
  EXPECT_EQ(startupErrors.rfind("orvel: cannot show the picture: ", 0), 0U) << startupErrors;
  EXPECT_EQ(Lines(startupErrors), 1);
  const Bitmap& picture = Form1->Named<TImage>("Image1").Picture();
  for (int y = 0; y < picture.Height(); ++y) {
    for (int x = 0; x < picture.Width(); ++x) ASSERT_EQ(picture.ColorAt(x, y), clWhite);
  }
  QTimer::singleShot(30, [] { Form1->Named<TButton>("Stop").Click(); });
  Form1->Named<TButton>("Start").Click();
  EXPECT_GT(Form1->session().simulation().neuron().HistoryLength(), 0U);
}

// A neuron driven to NaN outside a run still draws and lists; a run on it diverges at its first
// step, says so in red until Reset Weights, and logs no NaN.
TEST_F(WindowFaults, ANeuronDrivenToInfinityAndNaNDrawsListsAndStopsTheNextRun) {
  Simulation& simulation = Form1->session().simulation();
  simulation.neuron().Output(std::vector<double>(24, 1e200), true);
  simulation.neuron().Output(std::vector<double>(24, -1e200), true);
  EXPECT_FALSE(std::isfinite(simulation.neuron().Weights()[0]));
  Form1->ShowNeuron(simulation.neuron());
  Form1->Named<TImage>("Trace").Picture();  // rasterises the deferred plot
  Form1->Named<TButton>("CheckItOut").Click();
  EXPECT_EQ(Form1->Named<TListBox>("ListBox1").Items.Count(), 12);
  EXPECT_NE(Form1->Named<TListBox>("ListBox1").Items[0].find("nan"), std::string::npos);
  const TStatusBar& status = Form1->Named<TStatusBar>("Status");
  for (int start = 0; start < 2; ++start) {
    Form1->Named<TButton>("Start").Click();  // returns by itself: nothing to wait for
    EXPECT_EQ(simulation.trainedSteps(), 1U) << "a diverged neuron trains no further";
    EXPECT_EQ(status.PanelText(5),
              "diverged at training step 1: the response became nan: Reset Weights");
    EXPECT_TRUE(status.PanelWarning(5));
  }
  Form1->Named<TButton>("ResetWeights").Click();
  EXPECT_EQ(status.PanelText(5), "cannot show the picture") << "this fixture's lasting problem";
  QTimer::singleShot(30, [] { Form1->Named<TButton>("Stop").Click(); });
  Form1->Named<TButton>("Start").Click();
  EXPECT_GT(simulation.trainedSteps(), 1U);
  Form1->Release();
  for (const std::string& name : LogNames()) {
    const std::string text = dir.Read(name);
    EXPECT_EQ(text.find("nan"), std::string::npos) << name;
    EXPECT_TRUE(text.empty() || text.back() == '\n') << name;
  }
}
