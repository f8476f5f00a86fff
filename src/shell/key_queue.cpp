// key_queue.cpp: typed keys kept in order and held until the KERNAL has scanned them.
//
// The KERNAL scans the keyboard once per timer interrupt, a little more often than once a frame.
// A key pressed and released between two scans would never be seen, and the same key released
// and pressed again between two scans would look held. So each event stays in the matrix until a
// whole frame has ended after it (two frame ends counted), then the next one is applied. Waiting
// events are applied by the emulation thread between frames, so the hold is counted in emulated
// time at any speed (in warp too); a key held longer than that is let go at once by the
// application thread, so normal typing is not delayed. The events sit in a fixed ring: nothing is
// allocated, and both threads apply keys only under the one lock.
// Left out: auto-repeat, which the KERNAL does itself. A ring full of untyped events (4096, far
// beyond any typist) drops the newest.
// Called by: the desktop window on the application thread, and its frame observer on the
// emulation thread.
#include "shell/key_queue.h"

#include <cstdint>
#include <mutex>

#include "machine/scheduler.h"
#include "shell/keyboard_input.h"

namespace {
// Two frame ends after the event contain one whole frame, and so at least one keyboard scan.
constexpr uint32_t kFramesToScan = 2;
constexpr int kRingSize = 4096;

struct Event {
  int virtualKey;
  bool down;
};

std::mutex queueMutex;
Event ring[kRingSize];  // the rest guarded by queueMutex
int head = 0;
int count = 0;
bool applied = false;         // an event has been applied since the start
uint32_t appliedAtFrame = 0;  // framesEnded when the last event was applied

bool Scanned() { return !applied || framesEnded.load(std::memory_order_acquire) - appliedAtFrame >= kFramesToScan; }

bool Apply(const Event& event) {
  applied = true;
  appliedAtFrame = framesEnded.load(std::memory_order_acquire);
  return HandleKey(event.virtualKey, event.down);
}
}  // namespace

bool QueueKey(int virtualKey, bool down) {
  std::lock_guard<std::mutex> lock(queueMutex);
  if (count == 0 && Scanned()) return Apply({virtualKey, down});
  if (count < kRingSize) {
    ring[(head + count) % kRingSize] = {virtualKey, down};
    ++count;
  }
  return false;
}

void ApplyQueuedKeys() {
  // The application thread holds the lock only for a moment; a frame later is soon enough.
  std::unique_lock<std::mutex> lock(queueMutex, std::try_to_lock);
  if (!lock.owns_lock() || count == 0 || !Scanned()) return;
  Apply(ring[head]);
  head = (head + 1) % kRingSize;
  --count;
}

bool KeysWaiting() {
  std::lock_guard<std::mutex> lock(queueMutex);
  return count != 0;
}

void ClearKeyQueue() {
  std::lock_guard<std::mutex> lock(queueMutex);
  head = count = 0;
  applied = false;
}
