// key_queue.cpp: typed keys kept in order and held until the KERNAL has scanned them.
//
// The KERNAL scans the keyboard once per timer interrupt, every 17045 cycles, a little less often
// than once a frame (16768 cycles). A key pressed and released between two scans would never be
// seen, and the same key released and pressed again between two scans would look held. So each
// event stays in the matrix until two whole frames have ended after it (three frame ends
// counted), which always contain a scan, then the next one is applied. A key whose C64 symbol
// needs LEFT SHIFT changed (@ typed with shift, say) has the shift changed first and the key
// pressed a scan later, so no scan sees the key with the wrong shift. Waiting
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
// Three frame ends after the event enclose two whole frames, longer than the KERNAL's interrupt
// period, and so at least one keyboard scan.
constexpr uint32_t kFramesToScan = 3;
constexpr int kRingSize = 4096;

struct Event {
  int virtualKey;
  bool down;
  bool shiftSettled;  // a key down whose LEFT SHIFT has already been set for it
};

std::mutex queueMutex;
Event ring[kRingSize];  // the rest guarded by queueMutex
int head = 0;
int count = 0;
bool applied = false;         // an event has been applied since the start
uint32_t appliedAtFrame = 0;  // framesEnded when the last event was applied

bool Scanned() { return !applied || framesEnded.load(std::memory_order_acquire) - appliedAtFrame >= kFramesToScan; }

// Applies the event, or only its shift step, which then stays at the head of the ring. Returns
// true when the event is done.
bool Apply(Event& event, bool& rotated) {
  applied = true;
  appliedAtFrame = framesEnded.load(std::memory_order_acquire);
  if (event.down && !event.shiftSettled && SettleShiftForKey(event.virtualKey)) {
    event.shiftSettled = true;
    return false;
  }
  rotated = HandleKey(event.virtualKey, event.down);
  return true;
}
}  // namespace

bool QueueKey(int virtualKey, bool down) {
  std::lock_guard<std::mutex> lock(queueMutex);
  Event event{virtualKey, down, false};
  bool rotated = false;
  if (count == 0 && Scanned() && Apply(event, rotated)) return rotated;
  if (count < kRingSize) {
    ring[(head + count) % kRingSize] = event;
    ++count;
  }
  return false;
}

void ApplyQueuedKeys() {
  // The application thread holds the lock only for a moment; a frame later is soon enough.
  std::unique_lock<std::mutex> lock(queueMutex, std::try_to_lock);
  if (!lock.owns_lock() || count == 0 || !Scanned()) return;
  bool rotated = false;
  if (!Apply(ring[head], rotated)) return;
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
