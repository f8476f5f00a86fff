// cia_test.cpp: the CIA timers, interrupt flags, keyboard matrix, joystick and VIC bank select.
#include "chips/cia.h"

#include <string>
#include <vector>

#include "chips/chip_test.h"
#include "chips/vic.h"

namespace {
class CiaTimers : public ChipTest {
 protected:
  // Force-loads timer A of CIA 1 from the latch and starts it with its interrupt enabled.
  static void StartTimerA(uint16_t latch, uint8_t control) {
    MemWrite(0xDC04, latch & 0xFF);
    MemWrite(0xDC05, latch >> 8);
    MemWrite(0xDC0D, 0x81);
    MemRead(0xDC0D);  // the mask write leaves $81 in the flags
    MemWrite(0xDC0E, control);
  }

  // Steps CIA 1 until the flag latches, then acknowledges it; -1 after limit steps.
  static int StepsUntilFlag(uint8_t flag, int limit) {
    for (int step = 1; step <= limit; ++step) {
      StepCiaTimers(1);
      if (cia1Regs[13] & flag) {
        MemRead(0xDC0D);
        return step;
      }
    }
    return -1;
  }
};
using CiaInterrupts = ChipTest;
using KeyboardMatrix = ChipTest;
using JoystickPorts = ChipTest;

TEST_F(CiaTimers, TimerAUnderflowsEvery26StepsOfItsLatch) {
  struct Case { uint16_t latch; uint8_t control; int first, second; uint8_t controlAfter; };
  const Case cases[] = {{0x4025, 0x11, 632, 632, 0x11}, {25, 0x11, 1, 1, 0x11}, {26, 0x11, 2, 1, 0x11},
                        {0, 0x11, 1, 2521, 0x11}, {100, 0x19, 4, -1, 0x18}};
  for (const Case& c : cases) {
    StartTimerA(c.latch, c.control);
    EXPECT_EQ(StepsUntilFlag(0x01, 3000), c.first) << c.latch;
    EXPECT_EQ(StepsUntilFlag(0x01, 3000), c.second) << c.latch;
    EXPECT_EQ(MemRead(0xDC0E), c.controlAfter) << c.latch;
  }
}

TEST_F(CiaTimers, CounterRegistersShowTheCounterButHighBytesTheWrites) {
  StartTimerA(0x1234, 0x11);
  MemWrite(0xDC04, 0x99);
  EXPECT_EQ(cia1TimerA, 0x1234) << "latch writes never touch the counter";
  StepCiaTimers(1);
  EXPECT_EQ(MemRead(0xDC04) + 256 * MemRead(0xDC05), 0x121A);
  MemWrite(0xDC0E, 0x10);
  EXPECT_EQ(MemRead(0xDC04), 0x99) << "a force load shows the latch";
}

TEST_F(CiaTimers, TimerBCountsCyclesOrUnderflowsOfA) {
  struct Case { uint16_t latchA; uint8_t controlA; uint16_t latchB; uint8_t controlB; int first; };
  const Case cases[] = {
      {25, 0x00, 0x0400, 0x11, 40},  // cycles: 26 a step, whatever A does
      {25, 0x11, 0x0400, 0x19, 40},  // one-shot
      {25, 0x11, 3, 0x51, 3},        // A underflows every step
      {51, 0x11, 3, 0x51, 6},        // A underflows every second step
      {25, 0x00, 3, 0x51, -1},       // A stopped: B never moves
      {25, 0x11, 3, 0x71, -1}};      // A's underflows gated by CNT, which never pulses
  for (const Case& c : cases) {
    MemWrite(0xDC06, c.latchB & 0xFF);
    MemWrite(0xDC07, c.latchB >> 8);
    StartTimerA(c.latchA, c.controlA);
    MemWrite(0xDC0F, c.controlB);
    EXPECT_EQ(StepsUntilFlag(0x02, 100), c.first) << std::hex << int(c.controlB);
    EXPECT_EQ(cia1RunB, (c.controlB & 0x08) ? 0 : 1);
  }
}

// The emulation loop owes the steps that raise nothing until one might, and takes them when a
// register access, that step or an interrupt entry comes. Every boundary where it looks must show
// what stepping after each instruction shows, and the line must rise after the same instruction.
TEST_F(CiaTimers, DeferredStepsLeaveTheTimersAsSteppingEachInstructionDoes) {
  struct Case {
    uint16_t latchA;
    uint8_t controlA;
    uint16_t latchB;
    uint8_t controlB;
    uint8_t mask;
    int firstRaise;  // cycles until the stepped CIA first raises the IRQ line, -1 never
  };
  const Case cases[] = {
      {300, 0x11, 0, 0x00, 0x81, 236},      // A alone: the prediction is exact
      {300, 0x19, 90, 0x11, 0x83, 71},      // B counting cycles comes first
      {60, 0x11, 2, 0x51, 0x82, 115},       // B counting A's underflows is not predicted
      {30, 0x11, 500, 0x11, 0x00, -1},      // nothing enabled: every step is quiet
      {2000, 0x10, 100, 0x10, 0x83, 197},   // loaded but stopped, B started later
      {40, 0x11, 700, 0x11, 0x81, 29}};     // A underflows again and again while B is owed
  const int cycles[] = {3, 2, 4, 7, 5, 6, 2, 3, 8, 4};
  constexpr int kInstructions = 160;
  constexpr int kEntryAfter = 7;  // an interrupt is entered after every seventh instruction
  constexpr int kStartBAfter = 41;  // then timer B is started by a write, its counter as it is
  struct Seen { uint16_t timerA, timerB, regA, regB, flags; int32_t countdown; };
  auto setUp = [](const Case& c) {
    ResetCias();
    cia1TimerA = cia1TimerB = 0;
    MemWrite(0xDC04, c.latchA & 0xFF);
    MemWrite(0xDC05, c.latchA >> 8);
    MemWrite(0xDC06, c.latchB & 0xFF);
    MemWrite(0xDC07, c.latchB >> 8);
    MemWrite(0xDC0D, 0x7F);
    MemWrite(0xDC0D, c.mask);
    MemWrite(0xDC0E, c.controlA);
    MemWrite(0xDC0F, c.controlB);
    cia1Regs[13] = 0;
    irqPending = 0;
    cia1StepCountdown = 10;
    cia2StepCountdown = 25;
    cycleClock = 0;
  };
  auto seen = [] {
    return Seen{cia1TimerA, cia1TimerB, cia1Regs[4], cia1Regs[6], cia1Regs[13], cia1StepCountdown};
  };
  auto entries = [](int i) { return (i + 1) % kEntryAfter == 0 ? 1 : 0; };
  for (const Case& c : cases) {
    setUp(c);
    std::vector<Seen> stepped;
    int elapsed = 0, firstRaise = -1;
    for (int i = 0; i < kInstructions; ++i) {
      elapsed += cycles[i % 10];
      cia1StepCountdown -= cycles[i % 10] + kInterruptEntryCycles * entries(i);
      if (cia1StepCountdown <= 0) {
        StepCiaTimers(1);
        cia1StepCountdown += kCiaStepCycles;
      }
      if (irqPending != 0 && firstRaise < 0) firstRaise = elapsed;
      if (i == kStartBAfter) MemWrite(0xDC0F, 0x01);
      stepped.push_back(seen());
    }
    EXPECT_EQ(firstRaise, c.firstRaise) << c.latchA;

    // looking about one step apart or two, as register accesses would, or never after the start
    for (int spacing : {3, 11, kInstructions}) {
      setUp(c);
      DeferCiaSteps();
      int deferredRaise = -1;
      elapsed = 0;
      for (int i = 0; i < kInstructions; ++i) {
        elapsed += cycles[i % 10];
        cycleClock += cycles[i % 10];
        if (entries(i) != 0 || CyclesUntilInterruptingStep() <= 0) StepCiasAfterInstruction(cycles[i % 10], entries(i));
        if (irqPending != 0 && deferredRaise < 0) deferredRaise = elapsed;
        if (i == kStartBAfter) MemWrite(0xDC0F, 0x01);
        if (i % spacing != 0) continue;
        CatchUpCiaSteps();
        const Seen now = seen();
        const std::string where = std::to_string(c.latchA) + " instruction " + std::to_string(i);
        EXPECT_EQ(now.timerA, stepped[i].timerA) << where;
        EXPECT_EQ(now.timerB, stepped[i].timerB) << where;
        EXPECT_EQ(now.regA, stepped[i].regA) << where;
        EXPECT_EQ(now.regB, stepped[i].regB) << where;
        EXPECT_EQ(now.flags, stepped[i].flags) << where;
        EXPECT_EQ(now.countdown, stepped[i].countdown) << where;
      }
      EndCiaStepDeferral();
      EXPECT_EQ(deferredRaise, c.firstRaise) << c.latchA << " spacing " << spacing;
    }
  }
}

TEST_F(CiaInterrupts, FlagsLatchAndReadingClearsThemAndTheLine) {
  struct Case { uint16_t base; uint8_t mask; uint8_t flags; uint32_t* line; };
  const Case cases[] = {{0xDC00, 0x81, 0x81, &irqPending}, {0xDC00, 0x7F, 0x01, &irqPending},
                        {0xDD00, 0x81, 0x81, &nmiPending}, {0xDD00, 0x7F, 0x01, &nmiPending}};
  for (const Case& c : cases) {
    MemWrite(c.base + 0x04, 10);
    MemWrite(c.base + 0x0D, c.mask);
    EXPECT_EQ(MemRead(c.base + 0x0D), c.mask) << "the mask write itself reads back once";
    MemWrite(c.base + 0x0E, 0x11);
    StepCiaTimers(c.base == 0xDC00 ? 1 : 2);
    EXPECT_EQ(irqPending + nmiPending, c.mask >> 7);
    EXPECT_EQ(MemRead(c.base + 0x0D), c.flags);
    EXPECT_EQ(*c.line, 0u);
    EXPECT_EQ(MemRead(c.base + 0x0D), 0x00);
  }
}

TEST_F(CiaInterrupts, AnEnabledSourceOverwritesEarlierFlags) {
  MemWrite(0xDC0D, 0x83);
  MemWrite(0xDC0D, 0x02);  // B disabled again, A stays enabled
  MemWrite(0xDC0F, 0x11);  // B underflows at once from 0
  StepCiaTimers(1);
  EXPECT_EQ(cia1Regs[13], 0x02);
  MemWrite(0xDC0F, 0x00);
  MemWrite(0xDC0E, 0x11);
  StepCiaTimers(1);
  EXPECT_EQ(MemRead(0xDC0D), 0x81);
}

TEST_F(CiaInterrupts, Cia2PortASelectsTheVicBankAndReadsBits6And7Set) {
  const uint8_t writes[] = {0x03, 0x02, 0x01, 0x3C};
  const uint16_t banks[] = {0x0000, 0x4000, 0x8000, 0xC000};
  for (int i = 0; i < 4; ++i) {
    MemWrite(0xDD00, writes[i]);
    EXPECT_EQ(vicBankBase, banks[i]);
    EXPECT_EQ(MemRead(0xDD00), writes[i] | 0xC0);
    EXPECT_EQ(cia2Regs[0], writes[i] | 0xC0) << "the read stores bits 6 and 7";
  }
  MemWrite(0xDC00, 0x03);
  EXPECT_EQ(vicBankBase, 0xC000) << "CIA 1 has no say in the bank";
}

TEST_F(KeyboardMatrix, ColumnScanAndsTheSelectedColumns) {
  KeyMatrix[0].store(0xFD);
  KeyMatrix[3].store(0xFD);
  KeyMatrix[7].store(0x7F);
  const uint8_t selects[] = {0xFE, 0xFD, 0xFF, 0x7F, 0x00};
  const uint8_t rows[] = {0xFD, 0xFF, 0xFF, 0x7F, 0x7D};
  for (int i = 0; i < 5; ++i) {
    MemWrite(0xDC00, selects[i]);
    EXPECT_EQ(MemRead(0xDC01), rows[i]) << std::hex << int(selects[i]);
  }
}

TEST_F(JoystickPorts, DirectionsAndFireReachTheSelectedPort) {
  struct Case { uint8_t port; uint32_t enabled, landscape; int key; uint8_t keyRows, portA, portB; };
  const Case cases[] = {
      {1, 1, 0, kKeyUp, 0xFF, 0x7E, 0xFF},    {1, 0, 0, kKeyUp, 0xFF, 0x7F, 0xFF},
      {1, 1, 0, kKeyRight, 0xFF, 0x77, 0xFF}, {1, 1, 1, kKeyLeft, 0xFF, 0x7E, 0xFF},
      {1, 1, 1, kKeyDown, 0xFF, 0x7B, 0xFF},  {1, 1, 1, kKeyUp, 0xFF, 0x77, 0xFF},
      {2, 1, 0, kKeyFire, 0xFF, 0x7F, 0xEF},  {2, 1, 0, kKeyFire, 0xFD, 0x7F, 0xFD}};
  for (const Case& c : cases) {
    joystickPort.store(c.port);
    joystickEnabled.store(c.enabled);
    landscapeMode.store(c.landscape);
    ClearKeys();
    KeyDown[c.key].store(1);
    KeyMatrix[7].store(c.keyRows);
    MemWrite(0xDC00, 0x7F);
    EXPECT_EQ(MemRead(0xDC00), c.portA) << int(c.port) << " " << c.key;
    EXPECT_EQ(MemRead(0xDC01), c.portB) << int(c.port) << " " << c.key;
  }
  joystickPort.store(1);
  MemWrite(0xDC00, 0x00);
  EXPECT_EQ(MemRead(0xDC00), 0x0F) << "fire held: the joystick overrides column bits 0-4";
}
}  // namespace
