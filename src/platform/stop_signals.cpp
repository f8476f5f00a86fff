// stop_signals.cpp: stop requests from the terminal or the system, taken synchronously.
//
// The signals are blocked and collected with sigtimedwait on the thread that waits for them, so
// no handler runs in the middle of the emulation and nothing but a flag check is needed. SIGUSR1,
// sent to that thread alone, wakes it early: it then waits long between looks and still answers
// at once when the emulation thread wants it.
// Called by: the headless runner and the desktop front end.
#include "platform/stop_signals.h"

#include <pthread.h>

#include <csignal>
#include <ctime>

namespace {
constexpr int kWakeSignal = SIGUSR1;

// Set before the threads that may wake the waiter start; nothing to wake before that.
pthread_t waiter;
bool waiterKnown = false;

sigset_t StopSignalSet() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  sigaddset(&set, kWakeSignal);
  return set;
}
}  // namespace

void BlockStopSignals() {
  const sigset_t set = StopSignalSet();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
  waiter = pthread_self();
  waiterKnown = true;
}

void WakeStopSignalWaiter() {
  if (waiterKnown) pthread_kill(waiter, kWakeSignal);
}

int WaitForStopSignal(int milliseconds) {
  const sigset_t set = StopSignalSet();
  const timespec timeout{milliseconds / 1000, (milliseconds % 1000) * 1000000L};
  const int signal = sigtimedwait(&set, nullptr, &timeout);
  return signal > 0 && signal != kWakeSignal ? signal : 0;
}
