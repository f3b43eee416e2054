#include "ChartApplication.h"

#include <QApplication>
#include <QThread>
#include <clocale>
#include <memory>

namespace {
QtMessageHandler previousHandler = nullptr;

// Without a desktop session Qt warns that it has no runtime folder, which offscreen drawing never
// uses; a batch user would only be puzzled by it.
void QuietAboutTheRuntimeFolder(QtMsgType type, const QMessageLogContext& context,
                                const QString& message) {
  if (message.startsWith("QStandardPaths: XDG_RUNTIME_DIR not set")) return;
  if (previousHandler != nullptr) previousHandler(type, context, message);
}

// The application a chart creates for a program that has none.
class OffscreenApplication {
 public:
  OffscreenApplication() {
    // Qt adopts the environment's locale on construction; the program's printf-style output
    // (logs, listings) must keep the full stop it had.
    const std::string numeric = std::setlocale(LC_NUMERIC, nullptr);
    previousHandler = qInstallMessageHandler(QuietAboutTheRuntimeFolder);
    application_ = std::make_unique<QApplication>(argc_, argv_);
    std::setlocale(LC_NUMERIC, numeric.c_str());
  }

 private:
  // Qt keeps references to the arguments for the application's lifetime.
  int argc_ = 3;
  char name_[6] = "orvel";
  char option_[10] = "-platform";
  char platform_[10] = "offscreen";
  char* argv_[4] = {name_, option_, platform_, nullptr};
  std::unique_ptr<QApplication> application_;
};
}  // namespace

bool EnsureChartApplication(std::string& error) {
  if (QCoreApplication::instance() == nullptr) {
    // Qt allows one application per process, so the one made here is held by this static for
    // the rest of the process. It is never destroyed: a QApplication torn down among the
    // static destructors at exit finds parts of Qt already gone and crashes.
    [[maybe_unused]] static const auto* const application = new OffscreenApplication;
  }
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
    error = "charts need a widget application, and this program has another kind";
    return false;
  }
  if (QThread::currentThread() != QCoreApplication::instance()->thread()) {
    error = "charts can only be drawn on the program's main thread";
    return false;
  }
  return true;
}
