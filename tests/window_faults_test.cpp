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

TEST_F(WindowFaults, ANeuronDrivenToInfinityAndNaNStillDrawsListsAndLogs) {
  Form1->session().simulation().neuron().Output(std::vector<double>(24, 1e200), true);
  Form1->session().simulation().neuron().Output(std::vector<double>(24, -1e200), true);
  const std::vector<double> weights = Form1->session().simulation().neuron().Weights();
  EXPECT_FALSE(std::isfinite(weights[0]));
  Form1->ShowNeuron(Form1->session().simulation().neuron());
  Form1->Named<TImage>("Trace").Picture();  // rasterises the deferred plot
  Form1->Named<TButton>("CheckItOut").Click();
  EXPECT_EQ(Form1->Named<TListBox>("ListBox1").Items.Count(), 12);
  EXPECT_NE(Form1->Named<TListBox>("ListBox1").Items[0].find("nan"), std::string::npos);
  QTimer::singleShot(30, [] { Form1->Named<TButton>("Stop").Click(); });
  Form1->Named<TButton>("Start").Click();
  Form1->Named<TImage>("Trace").Picture();
  Form1->Release();
  EXPECT_NE(dir.Read("log-learn.txt").find("nan"), std::string::npos);
  for (const std::string& name : LogNames()) {
    const std::string text = dir.Read(name);
    EXPECT_TRUE(text.empty() || text.back() == '\n') << name;
  }
}
