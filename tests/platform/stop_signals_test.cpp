// stop_signals_test.cpp: the waiter sees SIGTERM as a stop, and a wake from another thread ends
// its wait at once without looking like one.
#include "platform/stop_signals.h"

#include <gtest/gtest.h>

#include <pthread.h>

#include <chrono>
#include <csignal>
#include <thread>

TEST(StopSignals, AWakeEndsTheWaitEarlyAndATermStillStops) {
  BlockStopSignals();
  const auto start = std::chrono::steady_clock::now();
  std::thread waker([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    WakeStopSignalWaiter();
  });
  EXPECT_EQ(WaitForStopSignal(10000), 0) << "a wake is not a stop";
  waker.join();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << "the wake did not end the wait";

  pthread_kill(pthread_self(), SIGTERM);
  EXPECT_EQ(WaitForStopSignal(1000), SIGTERM);
  EXPECT_EQ(WaitForStopSignal(0), 0) << "each signal is seen once";
}
