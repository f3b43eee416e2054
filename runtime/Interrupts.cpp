#include "Interrupts.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>

namespace runtime {
namespace {
// Atomic, not merely volatile: an ensemble's threads read it while the handler may run on another.
std::atomic<int> received{0};
static_assert(std::atomic<int>::is_always_lock_free,
              "the signal handler may only touch lock-free atomics");
int pipeEnds[2] = {-1, -1};

extern "C" void NoteSignal(int signal) {
  received.store(signal, std::memory_order_relaxed);
  const int saved = errno;
  const char byte = 1;
  if (pipeEnds[1] >= 0) [[maybe_unused]]
    const ssize_t ignored = ::write(pipeEnds[1], &byte, 1);
  errno = saved;
}

void Install(void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}
}  // namespace

void CatchTerminationSignals() {
  if (pipeEnds[0] < 0 && ::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) {
    pipeEnds[0] = pipeEnds[1] = -1;
  }
  Install(NoteSignal);
}

void ReleaseTerminationSignals() {
  Install(SIG_DFL);
}

int TerminationSignal() {
  return received.load(std::memory_order_relaxed);
}

int TerminationPipe() {
  return pipeEnds[0];
}

void DrainTerminationPipe() {
  char bytes[64];
  while (pipeEnds[0] >= 0 && ::read(pipeEnds[0], bytes, sizeof bytes) > 0) {
  }
}

}  // namespace runtime
