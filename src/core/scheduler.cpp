// scheduler.cpp: the emulation thread, the one scheduler of the machine.
//
// Emulated: one pass per 6510 instruction in a fixed order: pause handshake, throttle against the
// sound queue, reset requests, the instruction, IRQ and NMI entry, the CIA timers in 25-cycle
// steps, the raster clock in eighths of a cycle with 262-line frames (every second one drawn),
// the raster compare, the sound flush every 40000 cycles and the presentation of drawn frames.
// Each frame's end is counted (front ends hold a typed key until a frame has passed, so the
// KERNAL's scan sees it) and turns a press of RESTORE into an NMI. In warp the throttle never holds.
// A halted processor (kHaltRequest) skips the instruction and the interrupts; the rest goes on.
// Left out: cycle-exact timing. A line ends at the first instruction boundary at or past 64
// cycles and the excess is dropped; interrupt entry costs the CIAs 7 cycles and nothing else.
// Called by: the front ends, which start EmulationThread on a thread of its own after
// InitMachine and use PauseEmulation/ResumeEmulation to stop it at an instruction boundary.
#include "core/scheduler.h"

#include <chrono>
#include <thread>

#include "chips/cia.h"
#include "chips/vic.h"
#include "core/cpu.h"
#include "core/machine.h"
#include "platform/message_box.h"
#include "sound/sound_output.h"
#include "video/presentation.h"
#include "video/raster.h"
#include "video/sprites.h"

std::atomic<uint32_t> emulationRunning{1};
std::atomic<uint32_t> pauseAcknowledged{0};
std::atomic<uint32_t> resetRequest{0};
std::atomic<uint32_t> resetAtFrameEnd{0};
std::atomic<uint32_t> accurateSprites{1};
std::atomic<uint32_t> keepRunning{1};
std::atomic<uint32_t> framesEnded{0};
std::atomic<uint32_t> restorePressed{0};
std::atomic<uint32_t> warpMode{0};

int32_t frameSkipCountdown = 1;
uint32_t frameReady = 1;
uint32_t nmiPending = 0;
uint32_t irqPending = 0;
int32_t throttleCycleCount = 0;
int32_t soundCycleCount = 0;
uint32_t cycleClock = 0;
uint16_t rasterLine = 0;
uint16_t lineCyclePosition = 0;
uint16_t rasterCompareLine = 0xFFFF;

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
  framesEnded.fetch_add(1, std::memory_order_release);
  // The RESTORE key reaches the NMI line directly, not through the keyboard matrix.
  if (restorePressed.exchange(0) != 0) nmiPending = 1;
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
  if (warpMode.load() != 0) {
    throttleCycleCount -= kThrottlePeriod;
    return false;
  }
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
