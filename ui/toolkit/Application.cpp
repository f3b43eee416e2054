#include "Application.h"

#include <QApplication>
#include <QDialog>
#include <QFont>
#include <QMessageBox>
#include <QTimer>
#include <clocale>
#include <cstdio>

#include "DisplayRefresh.h"
#include "TerminationSignals.h"
#include "VectorRegisters.h"

TApplication* Application = nullptr;

namespace {
constexpr std::chrono::microseconds kPollInterval{1000};

bool HasScreen() {
  const QString platform = QGuiApplication::platformName();
  return platform != "offscreen" && platform != "minimal";
}
}  // namespace

TApplication::TApplication(std::function<std::chrono::steady_clock::time_point()> clock)
    : clock_(std::move(clock)) {
  Application = this;
}

TApplication::~TApplication() {
  signals_.reset();
  forms_.clear();
  refresh_.reset();
  qt_.reset();
  Application = nullptr;
}

void TApplication::Initialize() {
  if (qt_) return;
  // The command line is the program's to ignore, so Qt sees none of it.
  static int argc = 1;
  static char name[] = "orvel";
  static char* argv[] = {name, nullptr};
  qt_ = std::make_unique<QApplication>(argc, argv);
  // Qt adopts the environment's locale; printf-style output elsewhere must keep its full stop.
  std::setlocale(LC_NUMERIC, "C");
  // The classic dialog face is absent here; its metric twin keeps captions inside their panels.
  QFont::insertSubstitutions("MS Sans Serif", {"Liberation Sans", "Arial", "Sans Serif"});
  refresh_ = std::make_unique<DisplayRefresh>(clock_);
}

void TApplication::Adopt(std::unique_ptr<TForm> form) {
  forms_.push_back(std::move(form));
}

void TApplication::Run() {
  if (!qt_ || forms_.empty()) return;
  forms_.front()->Show();
  QApplication::exec();
  for (const auto& form : forms_) form->Release();
  forms_.clear();
}

void TApplication::ProcessMessages() {
  if (!qt_) return;
  // Events posted inside the application (a queued click, a repaint request) run at once; the
  // window system, whose polling costs far more than many steps, is asked at most every ms.
  QCoreApplication::sendPostedEvents();
  if (std::chrono::steady_clock::now() - lastPoll_ >= kPollInterval) PollWindowSystem();
  ZeroUpperVectorHalves();
}

void TApplication::PollWindowSystem() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  lastPoll_ = std::chrono::steady_clock::now();
}

void TApplication::WaitForMessages() {
  if (!qt_) return;
  QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  lastPoll_ = std::chrono::steady_clock::now();
  ZeroUpperVectorHalves();
}

void TApplication::WaitForMessagesUntil(std::chrono::steady_clock::time_point deadline) {
  if (!qt_) return;
  // The timer only wakes the loop at the deadline; any other event wakes it earlier.
  QTimer wake;
  wake.setSingleShot(true);
  wake.setTimerType(Qt::PreciseTimer);
  for (auto now = clock_(); now < deadline; now = clock_()) {
    wake.start(std::chrono::ceil<std::chrono::milliseconds>(deadline - now));
    WaitForMessages();
  }
}

void TApplication::ShowException(const std::exception& error) {
  std::fprintf(stderr, "orvel: %s\n", error.what());
  if (qt_ && HasScreen()) QMessageBox::critical(nullptr, "BCM Orvel", error.what());
}

// A dialog open at the signal would outlive the window it belongs to, and keep the program
// running until someone answers it: each is dismissed first, as Esc would.
void TApplication::HandleTerminationSignals(std::function<void()> onSignal) {
  signals_ = std::make_unique<TerminationSignals>([onSignal = std::move(onSignal)] {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (auto* dialog = qobject_cast<QDialog*>(window); dialog != nullptr && dialog->isVisible()) {
        dialog->reject();
      }
    }
    onSignal();
  });
}
