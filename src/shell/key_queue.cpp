// key_queue.cpp: typed keys kept in order and held until the KERNAL has scanned them.
//
// The KERNAL scans the keyboard once per timer interrupt, a little more often than once a frame.
// A key pressed and released between two scans would never be seen, and the same key released
// and pressed again between two scans would look held. So each event stays in the matrix until a
// whole frame has ended after it (two frame ends counted), then the next one is applied. A key
// held longer than that is released without any wait, so normal typing is not delayed.
// Left out: auto-repeat, which the KERNAL does itself.
// Called by: the desktop window, on the application thread, for every key event and from a timer.
#include "shell/key_queue.h"

#include "core/scheduler.h"
#include "shell/keyboard_input.h"

namespace {
// Two frame ends after the event contain one whole frame, and so at least one keyboard scan.
constexpr uint32_t kFramesToScan = 2;
}  // namespace

bool KeyQueue::Scanned() const {
  return !applied_ || framesEnded.load(std::memory_order_acquire) - appliedAtFrame_ >= kFramesToScan;
}

bool KeyQueue::Push(int virtualKey, bool down) {
  waiting_.push_back({virtualKey, down});
  return Pump();
}

bool KeyQueue::Pump() {
  bool rotated = false;
  while (!waiting_.empty() && Scanned()) {
    const Event event = waiting_.front();
    waiting_.pop_front();
    rotated = HandleKey(event.virtualKey, event.down) || rotated;
    applied_ = true;
    appliedAtFrame_ = framesEnded.load(std::memory_order_acquire);
  }
  return rotated;
}
