// Tests of the wave outputs against the running emulation thread: the sound queue paces the
// machine at real speed, with Sound OFF too, through pause and resume, and when no audio
// device can be opened. Run under the thread sanitizer too.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "machine/scheduler.h"
#include "platform/message_box.h"
#include "platform/wave_output.h"
#include "sound/sound_output.h"
#include "support/test_machine.h"

namespace {
using namespace std::chrono_literals;

std::atomic<int> messagesShown{0};
void CountMessage(const char*, const char* caption) {
  if (std::string(caption) == "Error!") messagesShown.fetch_add(1);
}

// Emulated seconds run while the machine is let go for the given wall time, read while paused.
double RunFor(std::chrono::milliseconds wall) {
  const uint32_t before = cycleClock;
  ResumeEmulation();
  std::this_thread::sleep_for(wall);
  PauseEmulation();
  return static_cast<double>(cycleClock - before) / kCyclesPerSecond;
}
}  // namespace

TEST(SoundOutput, QueuePacesTheMachineAtRealSpeedThroughPauseAndResume) {
  struct Case { const char* name; const WaveOutput* output; const char* sdlDriver; uint32_t soundOn; int messages; };
  const Case cases[] = {{"silent timed output, Sound OFF", &timedWaveOutput, "", 0, 0},
                        {"SDL device", &sdlWaveOutput, "dummy", 1, 0},
                        {"no usable device", &sdlWaveOutput, "no-such-driver", 1, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PrepareTestMachine({.reset = 0xE000});
    PutKernalCode(0xE000, {0x4C, 0x00, 0xE0});  // JMP $E000
    ShutdownSound();
    setenv("SDL_AUDIODRIVER", c.sdlDriver, 1);
    ChooseSoundOutput(c.output);
    soundEnabled.store(c.soundOn);
    messagesShown.store(0);
    SetMessageBoxHandler(CountMessage);
    pauseAcknowledged.store(0);
    emulationRunning.store(0);  // held from the first pass on
    std::thread emulation([] { EmulationThread(); });
    while (pauseAcknowledged.load() == 0) std::this_thread::sleep_for(1ms);

    // Unpaced, the machine would run dozens of times faster. The first run also fills the
    // queue, about half a second of sound ahead of real time; the second keeps real time.
    // Bounds wide enough for a loaded machine or a sanitizer build, far below an unpaced run.
    const double first = RunFor(400ms);
    const double second = RunFor(400ms);
    EXPECT_LT(first, 0.4 + 0.7);
    EXPECT_GT(second, 0.05);
    EXPECT_LT(second, 1.2);
    EXPECT_EQ(soundDeviceState.load(), 0u);

    keepRunning.store(0);
    ResumeEmulation();
    emulation.join();
    ShutdownSound();
    EXPECT_EQ(queuedSoundBuffers.load(), 0);
    EXPECT_EQ(messagesShown.load(), c.messages);
  }
  SetMessageBoxHandler(nullptr);
  ChooseSoundOutput(nullptr);
  soundEnabled.store(1);
}
