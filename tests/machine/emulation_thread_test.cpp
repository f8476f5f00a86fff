// Tests of the emulation thread against the application thread: the pause handshake, keys
// pressed while the machine runs, resets and stopping. Run under the thread sanitizer too.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "chips/cia.h"
#include "core/machine.h"
#include "machine/scheduler.h"
#include "support/test_machine.h"

namespace {
using namespace std::chrono_literals;

// Counted on the emulation thread at every presented frame.
std::atomic<int> presentedFrames{0};
void CountPresentedFrame() { presentedFrames.fetch_add(1); }

// A KERNAL that scans keyboard column 0 and the joystick in port 2 forever: the rows land in
// $0400, the joystick bits in $0401.
void PrepareKeyboardScanner() {
  PrepareTestMachine({.reset = 0xE000});
  frameObserver = CountPresentedFrame;
  PutKernalCode(0xE000, {0xA9, 0xFE,          // LDA #$FE
                         0x8D, 0x00, 0xDC,    // STA $DC00
                         0xAD, 0x01, 0xDC,    // LDA $DC01
                         0x8D, 0x00, 0x04,    // STA $0400
                         0xAD, 0x00, 0xDC,    // LDA $DC00
                         0x8D, 0x01, 0x04,    // STA $0401
                         0x4C, 0x00, 0xE0});  // JMP $E000
}

struct RunningMachine {
  std::atomic<bool> returned{false};
  std::thread thread;

  RunningMachine()
      : thread([this] {
          EmulationThread();
          returned.store(true);
        }) {}
  ~RunningMachine() {
    keepRunning.store(0);
    ResumeEmulation();
    thread.join();
  }
  // Lets the machine run for two presented frames, then holds it so its memory can be read.
  uint8_t RunThenPeek(uint16_t address) {
    const int start = presentedFrames.load();
    ResumeEmulation();
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (presentedFrames.load() < start + 2 && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(1ms);
    }
    PauseEmulation();
    return Ram[address];
  }
};
}  // namespace

TEST(EmulationThread, PauseHoldsTheMachineAndKeysReachItWhileRunning) {
  PrepareKeyboardScanner();
  RunningMachine machine;

  PauseEmulation();
  const uint32_t heldAt = cycleClock;
  std::this_thread::sleep_for(30ms);
  EXPECT_EQ(cycleClock, heldAt) << "the machine ran while paused";

  for (int round = 0; round < 5; ++round) {
    KeyMatrix[0].fetch_and(static_cast<uint8_t>(~0x02));  // a key in column 0, row 1
    KeyDown[kKeyFire].store(1);
    EXPECT_EQ(machine.RunThenPeek(0x0400), 0xFD);
    EXPECT_EQ(Ram[0x0401], 0xEF);
    KeyMatrix[0].fetch_or(0x02);
    KeyDown[kKeyFire].store(0);
    EXPECT_EQ(machine.RunThenPeek(0x0400), 0xFF);
    EXPECT_EQ(Ram[0x0401], 0xFF);
  }
  EXPECT_GT(cycleClock, heldAt);
}

TEST(EmulationThread, ResetRequestedFromOutsideRestartsTheMachine) {
  PrepareKeyboardScanner();
  RunningMachine machine;
  PauseEmulation();
  Ram[0x5000] = 0;
  resetAtFrameEnd.store(1);
  ResumeEmulation();
  const auto deadline = std::chrono::steady_clock::now() + 5s;
  while (resetAtFrameEnd.load() != 0 && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(1ms);
  EXPECT_EQ(machine.RunThenPeek(0x5000), 0x99);
  EXPECT_EQ(Ram[0x0400], 0xFF);  // the scanner runs again after the reset
}

TEST(EmulationThread, StopRequestWhilePausedWaitsForResume) {
  PrepareKeyboardScanner();
  RunningMachine machine;
  PauseEmulation();
  keepRunning.store(0);
  std::this_thread::sleep_for(50ms);
  EXPECT_FALSE(machine.returned.load());
  ResumeEmulation();
  const auto deadline = std::chrono::steady_clock::now() + 5s;
  while (!machine.returned.load() && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(1ms);
  EXPECT_TRUE(machine.returned.load());
}
