// key_queue.h: host key events handed to the keyboard one machine scan apart.
#pragma once

#include <cstdint>
#include <deque>

class KeyQueue {
 public:
  // Takes a key event in typing order; it is applied at once when nothing is waiting and the
  // previous event has been scanned, else on a later Pump.
  // Returns true when an applied event toggled the picture's rotation.
  bool Push(int virtualKey, bool down);
  // Applies the waiting events whose turn has come. Returns true when one toggled the rotation.
  bool Pump();
  bool Empty() const { return waiting_.empty(); }

 private:
  struct Event {
    int virtualKey;
    bool down;
  };
  bool Scanned() const;

  std::deque<Event> waiting_;
  bool applied_ = false;         // an event has been applied since start
  uint32_t appliedAtFrame_ = 0;  // framesEnded when the last event was applied
};
