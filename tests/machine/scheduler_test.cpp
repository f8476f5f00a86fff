// Tests of the emulation loop's ordering and timing, one pass at a time.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chips/cia.h"
#include "core/cpu.h"
#include "core/machine.h"
#include "machine/scheduler.h"
#include "platform/message_box.h"
#include "sound/sound_output.h"
#include "support/test_machine.h"

namespace {
constexpr uint8_t kJmp = 0x4C, kNop = 0xEA, kSei = 0x78;

void LoopForever(uint16_t at) { PokeBytes(at, {kJmp, static_cast<uint8_t>(at & 0xFF), static_cast<uint8_t>(at >> 8)}); }

int observedFrames = 0;
void CountFrame() { ++observedFrames; }
}  // namespace

TEST(RasterClock, LineEndsAtFirstInstructionPast64CyclesAndDropsTheExcess) {
  PrepareTestMachine();
  LoopForever(0x1000);
  for (int i = 0; i < 21; ++i) RunEmulationPass();
  EXPECT_EQ(rasterLine, 0);
  EXPECT_EQ(lineCyclePosition, 21 * 3 * 8);
  RunEmulationPass();
  EXPECT_EQ(rasterLine, 1);
  EXPECT_EQ(lineCyclePosition, 0);  // 528 eighths reached; the 16 beyond 512 are gone
  EXPECT_EQ(cycleClock, 66u);
}

TEST(RasterClock, EverySecondFrameIsPresented) {
  PrepareTestMachine();
  LoopForever(0x1000);
  frameObserver = CountFrame;
  observedFrames = 0;
  RunEmulationPass();  // the empty frame buffer of the first pass
  EXPECT_EQ(observedFrames, 1);
  for (int frame = 0; frame < 6; ++frame) {
    RunPassesUntilLine(261);
    RunPassesUntilLine(0);
  }
  EXPECT_EQ(observedFrames, 1 + 3);
  frameObserver = nullptr;
}

TEST(RasterCompare, LineZeroInterruptFiresOnceAFrameAfterLine261) {
  PrepareTestMachine();
  PokeBytes(0x1000, {kSei, kJmp, 0x01, 0x10});  // I set: the request stays pending, never entered
  MemWrite(0xD011, 0x1B);
  MemWrite(0xD012, 0x00);
  MemWrite(0xD01A, 0x01);
  ASSERT_EQ(rasterCompareLine, 0);
  int raised = 0;
  for (int frame = 0; frame < 3; ++frame) {
    RunPassesUntilLine(261);
    EXPECT_EQ(irqPending, 0u) << "frame " << frame;
    RunPassesUntilLine(0);
    EXPECT_EQ(irqPending, 1u) << "frame " << frame;
    EXPECT_EQ(MemRead(0xD019) & 0x81, 0x81);
    raised += static_cast<int>(irqPending);
    MemWrite(0xD019, 0x01);  // acknowledge: the line goes quiet until the next frame
    EXPECT_EQ(irqPending, 0u);
  }
  EXPECT_EQ(raised, 3);
}

TEST(Interrupts, IrqAndNmiTogetherRunTheNmiFirstAndCostTheCiasFourteenCycles) {
  PrepareTestMachine();
  PokeBytes(0x1000, {kNop});
  irqPending = 1;
  nmiPending = 1;
  cia1StepCountdown = 1000;
  cia2StepCountdown = 1000;
  RunEmulationPass();
  EXPECT_EQ(CpuRegs.pc, 0x3000u);  // NMI frame on top of the IRQ frame
  EXPECT_EQ(CpuRegs.sp, 0xFF - 6);
  EXPECT_EQ(Ram[0x01FF - 3], 0x20);  // the NMI frame returns into the IRQ handler at $2000
  EXPECT_EQ(cia1StepCountdown, 1000 - 2 - 14);
  EXPECT_EQ(cia2StepCountdown, 1000 - 2 - 14);
  EXPECT_EQ(cycleClock, 2u);  // interrupt entry is charged to the CIAs only
  EXPECT_EQ(irqPending | nmiPending, 0u);
}

TEST(Throttle, FullSoundQueueHoldsTheCpuButNotPauseOrPresentation) {
  PrepareTestMachine();
  LoopForever(0x1000);
  frameObserver = CountFrame;
  observedFrames = 0;
  throttleCycleCount = kThrottlePeriod;
  queuedSoundBuffers.store(kThrottleQueueLimit + 1);

  RunEmulationPass();
  EXPECT_EQ(cycleClock, 0u);
  EXPECT_EQ(CpuRegs.pc, 0x1000u);
  EXPECT_EQ(observedFrames, 1);  // the pending frame is still presented

  emulationRunning.store(0);
  RunEmulationPass();
  EXPECT_EQ(pauseAcknowledged.load(), 1u);
  emulationRunning.store(1);

  queuedSoundBuffers.store(kThrottleQueueLimit);
  RunEmulationPass();
  EXPECT_EQ(cycleClock, 3u);
  EXPECT_EQ(throttleCycleCount, 3);
  queuedSoundBuffers.store(0);
  frameObserver = nullptr;
}

TEST(MachineReset, ResetChosenMidFrameWaitsForTheEndOfADrawnFrame) {
  for (bool chosenInDrawnFrame : {true, false}) {
    SCOPED_TRACE(chosenInDrawnFrame ? "drawn frame" : "skipped frame");
    PrepareTestMachine();
    LoopForever(0x1000);
    RunPassesUntilLine(100);
    if (chosenInDrawnFrame) {
      RunPassesUntilLine(0);  // the first frame is skipped; the second is drawn
      RunPassesUntilLine(100);
    }
    ASSERT_EQ(frameSkipCountdown == 0, chosenInDrawnFrame);
    Ram[0x5000] = 0;
    resetAtFrameEnd.store(1);
    RunPassesUntilLine(0);
    if (!chosenInDrawnFrame) {
      EXPECT_EQ(Ram[0x5000], 0) << "reset too early";
      RunPassesUntilLine(100);
      RunPassesUntilLine(0);
    }
    EXPECT_EQ(Ram[0x5000], 0x99) << "memory not refilled";
    EXPECT_EQ(resetRequest.load(), 1u);
    EXPECT_EQ(resetAtFrameEnd.load(), 0u);
  }
}

namespace {
std::vector<std::string> shownMessages;
void RecordMessage(const char* text, const char* caption) { shownMessages.push_back(std::string(caption) + "|" + text); }
}  // namespace

TEST(JamOpcode, ShowsTheErrorThenResetsTheMachineAfterInterruptChecks) {
  PrepareTestMachine();
  SetMessageBoxHandler(RecordMessage);
  shownMessages.clear();
  PokeBytes(0x1000, {0x02});
  nmiPending = 1;
  RunEmulationPass();
  EXPECT_EQ(resetRequest.load(), 2u);
  EXPECT_EQ(CpuRegs.pc, 0x3000u);  // the NMI is still entered after the jam
  EXPECT_TRUE(shownMessages.empty());

  irqPending = 1;
  RunEmulationPass();
  ASSERT_EQ(shownMessages.size(), 1u);
  EXPECT_EQ(shownMessages[0], "Error!|Unrecognized CPU instruction was executed");
  EXPECT_EQ(resetRequest.load(), 0u);
  EXPECT_EQ(Ram[0x1000], 0x99);  // memory refilled; the CPU restarted from the reset vector
  EXPECT_EQ(CpuRegs.sp, 0xFF);
  EXPECT_EQ(irqPending, 0u);
  SetMessageBoxHandler(nullptr);
}

TEST(JamOpcode, InAHarnessRunHaltsTheProcessorWhileTimeGoesOnUntilAReset) {
  PrepareTestMachine();
  SetMessageBoxHandler(RecordMessage);
  shownMessages.clear();
  jamHaltsCpu = true;
  PokeBytes(0x1000, {kNop, 0x02, kNop});
  RunEmulationPass();
  RunEmulationPass();
  EXPECT_EQ(resetRequest.load(), kHaltRequest);
  EXPECT_EQ(jamAddress, 0x1001);

  irqPending = 1;
  const uint32_t clock = cycleClock;
  const uint32_t pc = CpuRegs.pc;
  EXPECT_LT(RunPassesUntilLine(100), 1000000);
  EXPECT_GE(cycleClock - clock, 99u * 64u);  // the raster and the clocks run on
  EXPECT_EQ(CpuRegs.pc, pc);                 // the processor runs nothing ...
  EXPECT_EQ(irqPending, 1u);                 // ... and takes no interrupt
  EXPECT_EQ(Ram[0x1001], 0x02);              // no machine reset refilled memory
  EXPECT_TRUE(shownMessages.empty());

  irqPending = 0;
  resetRequest.store(1);
  RunEmulationPass();
  EXPECT_EQ(resetRequest.load(), 0u);
  EXPECT_EQ(CpuRegs.pc, 0x1001u);  // restarted at the reset vector and ran its NOP
  jamHaltsCpu = false;
  SetMessageBoxHandler(nullptr);
}
