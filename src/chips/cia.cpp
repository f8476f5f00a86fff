// cia.cpp: the two 6526 CIAs as the machine sees them.
//
// Emulated: the register file, timers A and B (continuous, one-shot, B counting A's underflows),
// the interrupt mask and flags (CIA 1 on the IRQ line, CIA 2 on the NMI line), the keyboard
// matrix and the joystick on CIA 1, the VIC bank selection on CIA 2's port A.
// Left out: the time-of-day clock and the serial port (plain storage), the data direction
// registers, the CNT pin, and cycle-exact timing: the timers advance in 25-cycle steps between
// instructions, and a counter counting cycles drains by 25 at every step, running or not.
// Steps that cannot raise an interrupt may be deferred while the emulation loop runs: a register
// access catches them up first, so it sees the timers as stepping after each instruction leaves
// them.
// Called by: the I/O decode (register reads and writes), the emulation loop (timer steps and
// their deferral) and the machine reset.
#include "chips/cia.h"

#include <algorithm>

#include "chips/vic.h"
#include "core/machine.h"
#include "core/scheduler_state.h"
#include "video/presentation.h"

uint16_t cia1Regs[16], cia2Regs[16];
uint16_t cia1TimerA, cia1TimerB, cia2TimerA, cia2TimerB;
uint16_t cia1LatchA, cia1LatchB, cia2LatchA, cia2LatchB;
uint8_t cia1IntMask, cia2IntMask;
uint8_t cia1RunA, cia1RunB, cia2RunA, cia2RunB;
int32_t cia1StepCountdown, cia2StepCountdown;

std::atomic<uint8_t> joystickPort{1};
std::atomic<uint32_t> joystickEnabled{1};
std::atomic<uint8_t> gamepadJoystick{0};

namespace {
constexpr int kPortA = 0;
constexpr int kPortB = 1;
constexpr int kTimerALow = 4;
constexpr int kTimerAHigh = 5;
constexpr int kTimerBLow = 6;
constexpr int kTimerBHigh = 7;
constexpr int kInterruptControl = 13;
constexpr int kControlA = 14;
constexpr int kControlB = 15;

constexpr uint16_t kStart = 0x01;
constexpr uint16_t kOneShot = 0x08;
constexpr uint16_t kForceLoad = 0x10;
constexpr uint16_t kTimerBInputMode = 0x60;
constexpr uint16_t kTimerBCountsCycles = 0x00;
constexpr uint16_t kTimerBCountsUnderflowsOfA = 0x40;

constexpr uint8_t kTimerAFlag = 0x01;
constexpr uint8_t kTimerBFlag = 0x02;
constexpr uint8_t kMaskableSources = 0x1F;
constexpr uint8_t kInterruptRequested = 0x80;

// A running counter loses 26 per step: the 25 cycles and the decrement after them.
constexpr int32_t kCounterLossPerStep = kCiaStepCycles + 1;
// More quiet steps than any run of instructions reaches; keeps the arithmetic far from overflow.
constexpr int32_t kManyQuietSteps = 1 << 16;

constexpr uint8_t kJoystickOnPortA = 1;  // control port 2
constexpr uint8_t kJoystickOnPortB = 2;  // control port 1
constexpr uint8_t kJoystickBits = 0x1F;

// The state of one CIA, bound to its globals, so both chips run through the same code.
struct Cia {
  uint16_t (&regs)[16];
  uint16_t& timerA;
  uint16_t& timerB;
  uint16_t& latchA;
  uint16_t& latchB;
  uint8_t& intMask;
  uint8_t& runA;
  uint8_t& runB;
  uint32_t& interruptLine;
};

constexpr Cia cia1{cia1Regs, cia1TimerA, cia1TimerB, cia1LatchA, cia1LatchB,
                   cia1IntMask, cia1RunA, cia1RunB, irqPending};
constexpr Cia cia2{cia2Regs, cia2TimerA, cia2TimerB, cia2LatchA, cia2LatchB,
                   cia2IntMask, cia2RunA, cia2RunB, nmiPending};

const Cia& Select(int cia) { return cia == 1 ? cia1 : cia2; }
int32_t& StepCountdown(int cia) { return cia == 1 ? cia1StepCountdown : cia2StepCountdown; }
bool TimerBCountsCycles(const Cia& c) { return (c.regs[kControlB] & kTimerBInputMode) == kTimerBCountsCycles; }

// While set, the steps falling due as cycleClock advances past stepsSyncedClock are still owed.
bool stepsDeferred = false;
uint32_t stepsSyncedClock = 0;
// The cycleClock of the first step that might raise an interrupt line, while deferred.
uint32_t interruptingStepClock = 0;

// The steps, from the next one on, that certainly leave the interrupt line alone: a counter
// whose source is enabled underflows at the first step that drains it to 0. A timer B counting
// anything but cycles is not predicted.
int32_t QuietSteps(const Cia& c) {
  int32_t steps = kManyQuietSteps;
  if ((c.intMask & kTimerAFlag) != 0 && c.runA) {
    steps = std::min<int32_t>(steps, c.timerA / kCounterLossPerStep);
  }
  if ((c.intMask & kTimerBFlag) != 0 && c.runB) {
    steps = TimerBCountsCycles(c) ? std::min<int32_t>(steps, c.timerB / kCounterLossPerStep) : 0;
  }
  return steps;
}

// Cycles from the last catch-up to the first step of this CIA that might raise its interrupt
// line; a countdown already at or below 0 owes its step at once.
int32_t CyclesUntilInterruptingStep(int cia) {
  const int32_t countdown = StepCountdown(cia);
  if (countdown <= 0) return countdown;
  return countdown + kCiaStepCycles * QuietSteps(Select(cia));
}

// Where the first step that might interrupt falls, from the state as of the last catch-up. Quiet
// steps keep it where it is (each one takes a step off QuietSteps), so it moves only when a
// register write, a step that underflows or a reset changes the state it comes from.
void PredictInterruptingStep() {
  interruptingStepClock =
      stepsSyncedClock + std::min(CyclesUntilInterruptingStep(1), CyclesUntilInterruptingStep(2));
}

uint16_t SetLowByte(uint16_t word, uint8_t v) { return static_cast<uint16_t>((word & 0xFF00) | v); }
uint16_t SetHighByte(uint16_t word, uint8_t v) { return static_cast<uint16_t>((word & 0x00FF) | (v << 8)); }

// What a counter drained by the clock keeps after the given steps: 25 cycles each, down to 0.
uint16_t Drain(uint16_t counter, int32_t steps = 1) {
  return static_cast<uint16_t>(std::max<int32_t>(counter - kCiaStepCycles * steps, 0));
}

// A timer that has underflowed: one-shot mode stops it, and its flag is latched. An enabled
// source overwrites the flags with $80 first, so flags latched earlier are lost.
void EndTimerPeriod(const Cia& c, int control, uint8_t& run, uint8_t flag) {
  if (c.regs[control] & kOneShot) {
    c.regs[control] &= ~kStart;
    run = 0;
  }
  if (c.intMask & flag) {
    c.interruptLine = 1;
    c.regs[kInterruptControl] = kInterruptRequested;
  }
  c.regs[kInterruptControl] |= flag;
}

void WriteInterruptMask(const Cia& c, uint8_t v) {
  const uint8_t bits = v & kMaskableSources;
  if (v & 0x80) {
    c.intMask |= bits;
  } else {
    c.intMask &= ~bits;
  }
}

bool JoystickOn(uint8_t port) { return joystickEnabled.load() != 0 && joystickPort.load() == port; }

uint8_t ReadKeyboardRows() {
  const uint8_t columns = static_cast<uint8_t>(cia1Regs[kPortA]);
  uint8_t rows = 0xFF;
  for (int c = 0; c < 8; ++c) {
    if ((columns & (1 << c)) == 0) rows &= KeyMatrix[c].load();
  }
  // A joystick in control port 1 shows only while no selected key is held.
  if (rows == 0xFF && JoystickOn(kJoystickOnPortB)) return static_cast<uint8_t>(0xE0 + ReadJoystick());
  return rows;
}
}  // namespace

uint8_t ReadJoystick() {
  // Bits 0-3 are C64 up, down, left, right; rotated, the joypad turns a quarter with the picture.
  static constexpr int portraitKeys[] = {kKeyUp, kKeyDown, kKeyLeft, kKeyRight, kKeyFire};
  static constexpr int landscapeKeys[] = {kKeyLeft, kKeyRight, kKeyDown, kKeyUp, kKeyFire};
  const int* keys = landscapeMode.load() != 0 ? landscapeKeys : portraitKeys;
  uint8_t bits = 0;
  for (int b = 0; b < 5; ++b) {
    if (KeyDown[keys[b]].load() == 0) bits |= static_cast<uint8_t>(1 << b);
  }
  // A gamepad is held the usual way up whatever the layout.
  return static_cast<uint8_t>(bits & ~gamepadJoystick.load());
}

uint8_t CiaRead(int cia, int r) {
  CatchUpCiaSteps();
  const Cia& c = Select(cia);
  const uint8_t v = static_cast<uint8_t>(c.regs[r]);
  if (r == kInterruptControl) {
    c.regs[kInterruptControl] = 0;
    c.interruptLine = 0;
    return v;
  }
  if (cia == 1) {
    // Port A reads back the column selection: the matrix is never scanned in reverse.
    if (r == kPortA && JoystickOn(kJoystickOnPortA)) {
      return static_cast<uint8_t>((v & 0xE0) + ReadJoystick());
    }
    if (r == kPortB) return ReadKeyboardRows();
  } else if (r == kPortA) {
    c.regs[kPortA] |= 0xC0;
    return static_cast<uint8_t>(c.regs[kPortA]);
  }
  return v;
}

void CiaWrite(int cia, int r, uint8_t v) {
  CatchUpCiaSteps();
  const Cia& c = Select(cia);
  c.regs[r] = v;
  switch (r) {
    case kPortA:
      if (cia == 2) vicBankBase = static_cast<uint16_t>((~v & 3) << 14);
      break;
    case kTimerALow:
      c.latchA = SetLowByte(c.latchA, v);
      break;
    case kTimerAHigh:
      c.latchA = SetHighByte(c.latchA, v);
      break;
    case kTimerBLow:
      c.latchB = SetLowByte(c.latchB, v);
      break;
    case kTimerBHigh:
      c.latchB = SetHighByte(c.latchB, v);
      break;
    case kInterruptControl:
      WriteInterruptMask(c, v);
      break;
    case kControlA:
      if (v & kForceLoad) c.timerA = c.regs[kTimerALow] = c.latchA;
      c.runA = v & kStart;
      break;
    case kControlB:
      if (v & kForceLoad) c.timerB = c.regs[kTimerBLow] = c.latchB;
      c.runB = v & kStart;
      break;
    default:
      break;
  }
  if (stepsDeferred) PredictInterruptingStep();
}

void StepCiaTimers(int cia) {
  const Cia& c = Select(cia);
  c.timerA = Drain(c.timerA);
  // B loses the elapsed cycles, running or not, only while it counts cycles: counting A's
  // underflows it would otherwise lose them to the clock and wrap through 0 without ever
  // underflowing, and the CNT pin it could count instead never pulses here.
  if (TimerBCountsCycles(c)) c.timerB = Drain(c.timerB);

  if (c.runA) {
    if (c.timerA == 0) {
      c.timerA = c.latchA;
      EndTimerPeriod(c, kControlA, c.runA, kTimerAFlag);
      if ((c.regs[kControlB] & kTimerBInputMode) == kTimerBCountsUnderflowsOfA) {
        c.regs[kTimerBLow] = --c.timerB;
      }
    }
    // Also right after a reload: a running counter loses 26 per step, the 25 cycles and this one.
    c.regs[kTimerALow] = --c.timerA;
  }

  if (c.runB) {
    if (c.timerB != 0) {
      // Reaching 0 here underflows at the next step.
      if (TimerBCountsCycles(c)) c.regs[kTimerBLow] = --c.timerB;
    } else {
      c.timerB = c.regs[kTimerBLow] = c.latchB;
      EndTimerPeriod(c, kControlB, c.runB, kTimerBFlag);
    }
  }
}

namespace {
// Takes steps at once when no running counter reaches 0 on the way, so nothing underflows,
// reloads or latches a flag: a running counter loses 26 a step and its register image shows it,
// a stopped one drains 25 a step down to 0, and a timer B counting anything but cycles keeps its
// count. Returns false, having done nothing, when a running counter would reach 0.
bool StepPlainly(const Cia& c, int32_t steps) {
  const bool bCountsCycles = TimerBCountsCycles(c);
  if (c.runA && c.timerA / kCounterLossPerStep < steps) return false;
  if (c.runB && (bCountsCycles ? c.timerB / kCounterLossPerStep < steps : c.timerB == 0)) return false;
  if (c.runA) {
    c.timerA = c.regs[kTimerALow] = static_cast<uint16_t>(c.timerA - kCounterLossPerStep * steps);
  } else {
    c.timerA = Drain(c.timerA, steps);
  }
  if (c.runB && bCountsCycles) {
    c.timerB = c.regs[kTimerBLow] = static_cast<uint16_t>(c.timerB - kCounterLossPerStep * steps);
  } else if (bCountsCycles) {
    c.timerB = Drain(c.timerB, steps);
  }
  return true;
}

// Takes the steps owed up to clock. A deferral only starts with both countdowns above 0 or runs
// no quiet cycles at all, and every instruction is shorter than a step: each time a countdown
// reaches 0 is one step.
void CatchUpTo(uint32_t clock) {
  const int32_t elapsed = static_cast<int32_t>(clock - stepsSyncedClock);
  if (elapsed == 0) return;
  stepsSyncedClock = clock;
  for (int cia = 1; cia <= 2; ++cia) {
    int32_t& countdown = StepCountdown(cia);
    countdown -= elapsed;
    if (countdown > 0) continue;
    const int32_t steps = -countdown / kCiaStepCycles + 1;
    countdown += kCiaStepCycles * steps;
    if (StepPlainly(Select(cia), steps)) continue;
    for (int32_t step = 0; step < steps; ++step) StepCiaTimers(cia);
  }
}
}  // namespace

int32_t CyclesUntilInterruptingStep() { return static_cast<int32_t>(interruptingStepClock - cycleClock); }

void DeferCiaSteps() {
  if (stepsDeferred) return;
  stepsDeferred = true;
  stepsSyncedClock = cycleClock;
  PredictInterruptingStep();
}

void CatchUpCiaSteps() {
  if (!stepsDeferred) return;
  CatchUpTo(cycleClock);
  PredictInterruptingStep();
}

void StepCiasAfterInstruction(int cycles, int interruptEntries) {
  // As the loop without deferral: the owed steps up to the instruction's start, then one charge
  // of the instruction and the entries, and one step at most for each CIA.
  CatchUpTo(cycleClock - static_cast<uint32_t>(cycles));
  for (int cia = 1; cia <= 2; ++cia) {
    int32_t& countdown = StepCountdown(cia);
    countdown -= kInterruptEntryCycles * interruptEntries + cycles;
    if (countdown <= 0) {
      StepCiaTimers(cia);
      countdown += kCiaStepCycles;
    }
  }
  stepsSyncedClock = cycleClock;
  PredictInterruptingStep();
}

void EndCiaStepDeferral() {
  CatchUpCiaSteps();
  stepsDeferred = false;
}

void ResetCias() {
  CatchUpCiaSteps();
  std::fill_n(cia1Regs, 16, 0);
  std::fill_n(cia2Regs, 16, 0);
  cia1RunA = cia1RunB = cia2RunA = cia2RunB = 0;
  if (stepsDeferred) PredictInterruptingStep();
}
