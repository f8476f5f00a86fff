// Tests of the emulation loop's ordering and timing, one pass at a time.
#include <gtest/gtest.h>

#include <algorithm>
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

namespace {
constexpr uint8_t kUntouched = 0xEE;  // no palette index: never written by the picture
constexpr int kPictureBytes = 320 * 200;

// How a run stopped by keepRunning ended, with every drawn frame rendered or with pictures skipped.
struct StoppedRun {
  std::vector<uint8_t> picture;
  uint32_t cycles = 0;
  int presented = 0;
  bool firstRowUntouchedAtStop = false;  // row 0 as the stop was asked
};

bool skipPictures = false;
int stopAtPresentation = 0;
StoppedRun* stoppedRun = nullptr;

void ObserveUntilStop() {
  picturesSkipped = skipPictures;
  if (++stoppedRun->presented != stopAtPresentation) return;
  stoppedRun->firstRowUntouchedAtStop =
      std::all_of(FrameBuffer, FrameBuffer + 320, [](uint8_t pixel) { return pixel == kUntouched; });
  keepRunning.store(0);
}

// The border colour changes all the time, and sprite 0 stands over rows 100-120 of the picture.
StoppedRun RunUntilStopped(uint32_t accurate, bool skip, int stopAt) {
  PrepareTestMachine();
  PokeBytes(0x1000, {0xEE, 0x20, 0xD0, kJmp, 0x00, 0x10});  // INC $D020, JMP $1000
  PokeBytes(0x07F8, {0x80});
  for (int i = 0; i < 63; ++i) Ram[0x2000 + i] = 0xFF;
  MemWrite(0xD000, 100);
  MemWrite(0xD001, 150);
  MemWrite(0xD027, 1);
  MemWrite(0xD015, 1);
  accurateSprites.store(accurate);
  std::fill(FrameBuffer, FrameBuffer + kPictureBytes, kUntouched);
  StoppedRun run;
  stoppedRun = &run;
  skipPictures = skip;
  stopAtPresentation = stopAt;
  frameObserver = ObserveUntilStop;
  for (int passes = 0; RunEmulationPass() != 0 && passes < 1000000; ++passes) {
  }
  frameObserver = nullptr;
  run.picture.assign(FrameBuffer, FrameBuffer + kPictureBytes);
  run.cycles = cycleClock;
  return run;
}
}  // namespace

// The first presentation shows the empty FrameBuffer and the frame after it is never drawn, so
// the second presented frame is the first that can go unrendered. A stop asked there must not end
// the run at that stale picture but at the next drawn frame, rendered whole: the same picture, at
// the same cycle, as a run that rendered every frame and was stopped there.
TEST(PictureSkipping, AStopAtAnUnrenderedFrameEndsAtTheNextFrameRenderedWhole) {
  for (uint32_t accurate : {0u, 1u}) {
    SCOPED_TRACE(accurate != 0 ? "sprites in bands" : "sprites once a frame");
    const StoppedRun rendered = RunUntilStopped(accurate, false, 3);
    const StoppedRun skipped = RunUntilStopped(accurate, true, 2);
    EXPECT_FALSE(rendered.firstRowUntouchedAtStop);
    EXPECT_TRUE(skipped.firstRowUntouchedAtStop) << "the frame was rendered although pictures were skipped";
    EXPECT_EQ(skipped.presented, 3);
    EXPECT_EQ(skipped.cycles, rendered.cycles);
    EXPECT_TRUE(skipped.picture == rendered.picture) << "the last picture differs from the rendered run's";
    EXPECT_NE(rendered.picture[110 * 320 + 80], kUntouched);
  }
}
