// timed_wave_output.cpp: a silent wave output that keeps real time.
//
// Does: hands each block back on a timer thread of its own at the moment its last sample would
// have left a real device playing 22050 samples per second, block after block without gaps, so
// a machine paced by its sound queue runs at real speed with no audio device at all.
// Leaves out: the sound itself.
// Called by: the sound output, when no audio device can be opened and for --realtime.
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/wave_output.h"

namespace {
using Clock = std::chrono::steady_clock;

std::mutex queueMutex;
std::condition_variable queueChanged;
WaveBlock* queueHead = nullptr;  // guarded by queueMutex, as are the two below
WaveBlock* queueTail = nullptr;
bool closing = false;
WaveBlockDone blockDone = nullptr;
std::thread timerThread;

Clock::duration PlayingTime(uint32_t samples) {
  return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(
      static_cast<double>(samples) / kWaveSampleRate));
}

// Takes the blocks in order; a block that arrives after the previous one has finished starts
// playing on arrival.
void RunTimer() {
  std::unique_lock lock(queueMutex);
  Clock::time_point playedUntil = Clock::now();
  for (;;) {
    queueChanged.wait(lock, [] { return closing || queueHead != nullptr; });
    if (closing) return;
    const Clock::time_point start = std::max(playedUntil, Clock::now());
    playedUntil = start + PlayingTime(queueHead->length);
    // Reset may take the block back meanwhile; the head is looked at afresh after the wait.
    WaveBlock* const playing = queueHead;
    if (queueChanged.wait_until(lock, playedUntil, [playing] { return closing || queueHead != playing; })) {
      playedUntil = std::min(playedUntil, Clock::now());
      continue;
    }
    queueHead = playing->next;
    if (queueHead == nullptr) queueTail = nullptr;
    blockDone(playing);
  }
}

int Open(WaveBlockDone done) {
  blockDone = done;
  closing = false;
  timerThread = std::thread(RunTimer);
  return 1;
}

void Write(WaveBlock* block) {
  block->next = nullptr;
  std::lock_guard lock(queueMutex);
  (queueTail != nullptr ? queueTail->next : queueHead) = block;
  queueTail = block;
  queueChanged.notify_all();
}

void Reset() {
  std::lock_guard lock(queueMutex);
  while (queueHead != nullptr) {
    WaveBlock* const block = queueHead;
    queueHead = block->next;
    blockDone(block);
  }
  queueTail = nullptr;
  queueChanged.notify_all();
}

void Close() {
  {
    std::lock_guard lock(queueMutex);
    closing = true;
    queueChanged.notify_all();
  }
  timerThread.join();
}
}  // namespace

const WaveOutput timedWaveOutput = {Open, Write, Reset, Close};
