// scheduler.cpp: the emulation thread, the one scheduler of the machine.
//
// Emulated: one pass per 6510 instruction in a fixed order: pause handshake, throttle against the
// sound queue, reset requests, the instruction, IRQ and NMI entry, the CIA timers in 25-cycle
// steps, the raster clock in eighths of a cycle with 262-line frames (every second one drawn),
// the raster compare, the sound flush every 40000 cycles and the presentation of drawn frames.
// A halted processor (kHaltRequest) skips the instruction and the interrupts; the rest goes on.
// Left out: cycle-exact timing. A line ends at the first instruction boundary at or past 64
// cycles and the excess is dropped; interrupt entry costs the CIAs 7 cycles and nothing else.
// Called by: the front ends, which start EmulationThread on a thread of its own after
// InitMachine and use PauseEmulation/ResumeEmulation to stop it at an instruction boundary.
#include "machine/scheduler.h"

#include <chrono>
#include <thread>

#include "chips/cia.h"
#include "chips/vic.h"
#include "core/cpu.h"
#include "core/machine.h"
#include "machine/machine_reset.h"
#include "platform/message_box.h"
#include "sound/sound_output.h"
#include "video/presentation.h"
#include "video/raster.h"
#include "video/sprites.h"

void (*frameObserver)() = nullptr;

namespace {
constexpr int kThrottleWaitMilliseconds = 1;
// A halted processor lets time pass one cycle per pass, so every chip sees it as usual.
constexpr int kHaltedPassCycles = 1;

void SleepMilliseconds(int milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void ResetRequestedMachine() {
  nmiPending = 0;
  irqPending = 0;
  ResetMachine();
}

void StepCiaIfDue(int cia, int32_t& countdown) {
  if (countdown <= 0) {
    StepCiaTimers(cia);
    countdown += kCiaStepCycles;
  }
}

void EndFrame() {
  if (accurateSprites.load() == 0) RenderSprites(kWholeFrameSprites);
  rasterLine = 0;
  if (frameSkipCountdown != 0) {
    --frameSkipCountdown;
    return;
  }
  if (resetAtFrameEnd.exchange(0) == 1) {
    ResetRequestedMachine();
    resetRequest.store(1);
  }
  frameReady = 1;
  frameSkipCountdown = 1;
}

void EndRasterLine() {
  if (frameSkipCountdown == 0) {
    RenderRasterLine();
    if (accurateSprites.load() == 1 && rasterLine % kSpriteBandLines == 0) RenderSprites(rasterLine);
  }
  lineCyclePosition = 0;
  if (++rasterLine == kLinesPerFrame) EndFrame();
  // The compare is tested once per line, against the line that has just begun.
  if (rasterLine == rasterCompareLine) RaiseRasterInterrupt();
}

// Inlined into both passes below, so the instruction's pass stays one straight run of code.
[[gnu::always_inline]] inline void AdvanceClocks(int cycles, int interruptEntries) {
  throttleCycleCount += cycles;

  cia1StepCountdown -= kInterruptEntryCycles * interruptEntries + cycles;
  cia2StepCountdown -= kInterruptEntryCycles * interruptEntries + cycles;
  StepCiaIfDue(1, cia1StepCountdown);
  StepCiaIfDue(2, cia2StepCountdown);

  lineCyclePosition += kEighthsPerCycle * cycles;
  if (lineCyclePosition >= kLineLengthEighths) EndRasterLine();

  soundCycleCount += cycles;
  cycleClock += cycles;
}

// The processor is halted: no instruction and no interrupt, while the chips see time pass.
[[gnu::noinline]] void RunHaltedPass() { AdvanceClocks(kHaltedPassCycles, 0); }

void RunOneInstruction() {
  const uint32_t request = resetRequest.load();
  if (request != 0) {
    if (request == kHaltRequest) {
      RunHaltedPass();
      return;
    }
    if (request == 2) {
      ShowMessageBox("Unrecognized CPU instruction was executed", "Error!");
      resetAtFrameEnd.store(0);
      ResetRequestedMachine();
    }
    ResetCpu();
  }

  const int cycles = ExecuteInstruction();
  AdvanceClocks(cycles, ServiceInterrupts());
}

// The throttle looks at the sound queue once every 50000 cycles and holds the CPU while it is
// deeper than 10 blocks; the held pass still flushes sound and presents frames. A held pass
// sleeps a millisecond first, so waiting for the queue costs next to no processor time (a
// block lasts about 43 ms).
bool ThrottleHolds() {
  if (throttleCycleCount < kThrottlePeriod) return false;
  if (queuedSoundBuffers.load() > kThrottleQueueLimit) {
    SleepMilliseconds(kThrottleWaitMilliseconds);
    return true;
  }
  throttleCycleCount -= kThrottlePeriod;
  return false;
}
}  // namespace

int RunEmulationPass() {
  if (emulationRunning.load() == 0) {
    pauseAcknowledged.store(1);
    SleepMilliseconds(kPausePollMilliseconds);
    return 1;
  }

  if (!ThrottleHolds()) RunOneInstruction();

  if (soundCycleCount >= kSoundFlushPeriod) {
    SoundFlush();
    soundCycleCount -= kSoundFlushPeriod;
  }

  if (frameReady == 1) {
    if (emulationRunning.load() == 1) {
      PresentFrame();
      if (frameObserver != nullptr) frameObserver();
    }
    frameReady = 0;
    if (keepRunning.load() == 0) return 0;
  }
  return 1;
}

int EmulationThread() {
  InitSound();
  while (RunEmulationPass() != 0) {
  }
  return 0;
}

void PauseEmulation() {
  pauseAcknowledged.store(0);
  emulationRunning.store(0);
  while (pauseAcknowledged.load() == 0) SleepMilliseconds(kPausePollMilliseconds);
}

void ResumeEmulation() { emulationRunning.store(1); }
