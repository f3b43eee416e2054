#include "TerminationSignals.h"

#include <QSocketNotifier>

#include "Interrupts.h"

TerminationSignals::TerminationSignals(std::function<void()> onSignal)
    : onSignal_(std::move(onSignal)) {
  runtime::CatchTerminationSignals();
  if (runtime::TerminationPipe() < 0) return;
  notifier_ = std::make_unique<QSocketNotifier>(runtime::TerminationPipe(), QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
    runtime::DrainTerminationPipe();
    if (onSignal_) onSignal_();
  });
}

TerminationSignals::~TerminationSignals() {
  runtime::ReleaseTerminationSignals();
}
