// The real window's run against the bare run loop, in one process: Start is clicked, a timer
// inside the pump presses Stop after a fixed time, and a click posted mid-run measures how long a
// user waits for a handler; then the same run with the Course window open. Usage: window_bench
// [seconds]   (QT_QPA_PLATFORM picks the platform)
#include <unistd.h>

#include <QMetaObject>
#include <QPushButton>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "Application.h"
#include "Bcm.h"
#include "HeadlessHost.h"
#include "RunLogs.h"
#include "Simulation.h"
#include "TempDir.h"
#include "TrainingRun.h"
#include "orvel.h"

namespace {
using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration duration) {
  return std::chrono::duration<double>(duration).count();
}

// Steps a second of one Start, stopped after milliseconds.
double WindowStepsPerSecond(int milliseconds) {
  const std::uint64_t before = Form1->session().simulation().trainedSteps();
  QTimer::singleShot(milliseconds, [] { Form1->Named<TButton>("Stop").Click(); });
  const auto start = Clock::now();
  Form1->Named<TButton>("Start").Click();
  return static_cast<double>(Form1->session().simulation().trainedSteps() - before) /
         Seconds(Clock::now() - start);
}

double HeadlessStepsPerSecond(long steps) {
  RunLogs logs;
  Simulation simulation(1);
  HeadlessHost host(simulation, steps);
  const auto start = Clock::now();
  TrainingRun(simulation, host, logs);
  return static_cast<double>(steps) / Seconds(Clock::now() - start);
}
}  // namespace

int main(int argc, char** argv) {
  const double seconds = argc > 1 ? std::atof(argv[1]) : 3.0;
  const TempDir dir;
  std::filesystem::current_path(dir.path());

  TApplication application;
  application.Initialize();
  application.CreateForm(Form1);
  Form1->Show();

  Clock::time_point clickPosted, clickHandled;
  const auto original = Form1->Named<TButton>("CheckItOut").OnClick;
  Form1->Named<TButton>("CheckItOut").OnClick = [&] {
    clickHandled = Clock::now();
    original();
  };
  const auto runMs = static_cast<int>(seconds * 1000);
  QTimer::singleShot(runMs / 2, [&] {
    clickPosted = Clock::now();
    QMetaObject::invokeMethod(Form1->Named<TButton>("CheckItOut").NativeWidget(), "click",
                              Qt::QueuedConnection);
  });
  QTimer::singleShot(runMs, [] { Form1->Named<TButton>("Stop").Click(); });

  const auto start = Clock::now();
  Form1->Named<TButton>("Start").Click();
  const double elapsed = Seconds(Clock::now() - start);
  const auto windowSteps =
      static_cast<double>(Form1->session().simulation().neuron().HistoryLength());
  const double windowRate = windowSteps / elapsed;
  const double headlessRate = HeadlessStepsPerSecond(static_cast<long>(windowSteps));

  std::printf("platform %s\n",
              std::getenv("QT_QPA_PLATFORM") ? std::getenv("QT_QPA_PLATFORM") : "(default)");
  std::printf("window run:   %.0f steps/s (%.0f steps in %.2f s)\n", windowRate, windowSteps,
              elapsed);
  std::printf("headless run: %.0f steps/s\n", headlessRate);
  std::printf("ratio window/headless: %.2f\n", windowRate / headlessRate);
  std::printf("click handled %.3f ms after it was posted\n",
              1000 * Seconds(clickHandled - clickPosted));
  const double withoutCourse = WindowStepsPerSecond(runMs);
  Form1->ShowCourse();
  const double withCourse = WindowStepsPerSecond(runMs);
  std::printf("window run without the Course window: %.0f steps/s\n", withoutCourse);
  std::printf("window run with the Course window:    %.0f steps/s\n", withCourse);
  std::printf("ratio with/without Course window: %.2f\n", withCourse / withoutCourse);
  Form1->Release();
  std::filesystem::current_path("/");
  return 0;
}
