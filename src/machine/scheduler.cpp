// scheduler.cpp: the emulation thread, the one scheduler of the machine.
//
// Emulated: one pass per 6510 instruction in a fixed order: pause handshake, throttle against the
// sound queue, reset requests, the instruction, IRQ and NMI entry, the CIA timers in 25-cycle
// steps, the raster clock in eighths of a cycle with 262-line frames (every second one drawn),
// the raster compare, the sound flush every 40000 cycles and the presentation of drawn frames.
// A front end that looks only at the last picture may let drawn frames go unrendered
// (picturesSkipped); they are presented and observed all the same, and the thread returns only
// at a frame rendered whole.
// Each frame's end is counted (front ends hold a typed key until a frame has passed, so the
// KERNAL's scan sees it) and turns a press of RESTORE into an NMI. In warp the throttle never holds.
// A halted processor (kHaltRequest) skips the instruction and the interrupts; the rest goes on.
// The thread runs the passes of instructions that reach no event as one run, with the same
// results at every instruction boundary. CIA steps that raise no interrupt are owed, across runs,
// until a CIA register access, a step that might interrupt, an interrupt entry, a reset or a
// pause takes them. The pause handshake is answered between runs, which last at most a raster
// line.
// Left out: cycle-exact timing. A line ends at the first instruction boundary at or past 64
// cycles and the excess is dropped; interrupt entry costs the CIAs 7 cycles and nothing else.
// Called by: the front ends, which start EmulationThread on a thread of its own after
// InitMachine and use PauseEmulation/ResumeEmulation to stop it at an instruction boundary.
#include "machine/scheduler.h"

#include <algorithm>
#include <chrono>
#include <limits>
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
// A block lasts about 43 ms and at least 10 wait in the queue: looking at it every 5 ms keeps the
// sound fed while a waiting thread wakes 200 times a second, not 1000.
constexpr int kThrottleWaitMilliseconds = 5;
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

void EndFrame() {
  if (frameRendered && accurateSprites.load() == 0) RenderSprites(kWholeFrameSprites);
  rasterLine = 0;
  framesEnded.fetch_add(1, std::memory_order_release);
  // The RESTORE key reaches the NMI line directly, not through the keyboard matrix.
  if (restorePressed.exchange(0) != 0) nmiPending = 1;
  if (frameSkipCountdown != 0) {
    --frameSkipCountdown;
    // A drawn frame begins: it is rendered whole or not at all, and always once a stop is asked,
    // so the run's last picture is a whole frame.
    frameRendered = !picturesSkipped || keepRunning.load() == 0;
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
  if (frameSkipCountdown == 0 && frameRendered) {
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
  cycleClock += cycles;

  // Steps that cannot interrupt stay owed, across runs and lines, until one that might or an
  // interrupt entry, which costs the CIAs cycles of their own.
  if (interruptEntries != 0 || CyclesUntilInterruptingStep() <= 0) {
    StepCiasAfterInstruction(cycles, interruptEntries);
  }

  lineCyclePosition += kEighthsPerCycle * cycles;
  if (lineCyclePosition >= kLineLengthEighths) EndRasterLine();

  soundCycleCount += cycles;
}

// The processor is halted: no instruction and no interrupt, while the chips see time pass.
[[gnu::noinline]] void RunHaltedPass() { AdvanceClocks(kHaltedPassCycles, 0); }

// Cycles until the first of the loop's own events: a CIA step that may raise an interrupt, the
// end of the raster line, the throttle's look at the sound queue or the sound flush.
int32_t CyclesUntilEvent() {
  const int32_t lineEnd = (kLineLengthEighths - lineCyclePosition + kEighthsPerCycle - 1) / kEighthsPerCycle;
  return std::min({CyclesUntilInterruptingStep(), lineEnd,
                   kThrottlePeriod - throttleCycleCount, kSoundFlushPeriod - soundCycleCount});
}

// An instruction that reaches no event and leaves no interrupt or reset to act on changes only
// these counters, by its cycles, and nothing reads them between instructions: a run of such
// instructions is charged at once, by the sum of their cycles. cycleClock is not among them: the
// sound reads it while an instruction writes to the SID, and the CIAs' deferred steps follow it.
void ChargeQuietCycles(int32_t cycles) {
  throttleCycleCount += cycles;
  lineCyclePosition += kEighthsPerCycle * cycles;
  soundCycleCount += cycles;
}

// Runs instructions until one reaches an event or the cycle limit, or raises an interrupt or a
// reset request, then completes that one's pass as the single-instruction loop does. The machine
// goes through exactly the same states at every instruction boundary as with one pass per
// instruction; only the checks that cannot fire are left out.
void RunInstructions(int32_t cycleLimit) {
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

  int32_t quietCycles = 0;
  const int32_t limit = std::min(CyclesUntilEvent(), cycleLimit);
  const int cycles = ExecuteQuietInstructions(limit, quietCycles);
  ChargeQuietCycles(quietCycles);
  AdvanceClocks(cycles, ServiceInterrupts());
}

// The throttle looks at the sound queue once every 50000 cycles and holds the CPU while it is
// deeper than 10 blocks; the held pass still flushes sound and presents frames. A held pass
// sleeps first, so waiting for the queue costs next to no processor time.
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

namespace {
// One pass of the loop, its instruction step running instructions up to cycleLimit cycles.
int RunPass(int32_t cycleLimit) {
  if (emulationRunning.load() == 0) {
    // whoever reads or replaces the CIAs now finds every step taken
    EndCiaStepDeferral();
    pauseAcknowledged.store(1);
    SleepMilliseconds(kPausePollMilliseconds);
    return 1;
  }

  DeferCiaSteps();
  if (!ThrottleHolds()) RunInstructions(cycleLimit);

  if (soundCycleCount >= kSoundFlushPeriod) {
    SoundFlush();
    soundCycleCount -= kSoundFlushPeriod;
  }

  if (frameReady == 1) {
    if (emulationRunning.load() == 1) {
      PresentDrawnFrame();
      if (frameObserver != nullptr) frameObserver();
    }
    frameReady = 0;
    // A stop asked while pictures were skipped waits for the next drawn frame, rendered whole.
    if (keepRunning.load() == 0 && frameRendered) return 0;
  }
  return 1;
}
}  // namespace

// Any limit of one cycle or less stops after the first instruction.
int RunEmulationPass() {
  const int result = RunPass(1);
  EndCiaStepDeferral();
  return result;
}

int EmulationThread() {
  InitSound();
  while (RunPass(std::numeric_limits<int32_t>::max()) != 0) {
  }
  EndCiaStepDeferral();
  return 0;
}

void PauseEmulation() {
  pauseAcknowledged.store(0);
  emulationRunning.store(0);
  while (pauseAcknowledged.load() == 0) SleepMilliseconds(kPausePollMilliseconds);
}

void ResumeEmulation() { emulationRunning.store(1); }
