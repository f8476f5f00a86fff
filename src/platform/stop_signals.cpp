// stop_signals.cpp: stop requests from the terminal or the system, taken synchronously.
//
// The signals are blocked and collected with sigtimedwait on the thread that waits for them, so
// no handler runs in the middle of the emulation and nothing but a flag check is needed.
// Called by: the headless runner and the desktop front end.
#include "platform/stop_signals.h"

#include <csignal>
#include <ctime>

namespace {
sigset_t StopSignalSet() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  return set;
}
}  // namespace

void BlockStopSignals() {
  const sigset_t set = StopSignalSet();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

int WaitForStopSignal(int milliseconds) {
  const sigset_t set = StopSignalSet();
  const timespec timeout{milliseconds / 1000, (milliseconds % 1000) * 1000000L};
  const int signal = sigtimedwait(&set, nullptr, &timeout);
  return signal > 0 ? signal : 0;
}
