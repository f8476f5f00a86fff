// instruction_runs_test.cpp: the emulation thread runs instructions in runs up to the next event;
// these tests run the same machine once pass by pass, one instruction each, and once on the
// thread's own loop, and require the same machine at the same frame.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "core/cpu.h"
#include "core/machine.h"
#include "machine/scheduler.h"
#include "media/snapshot_format.h"
#include "support/test_machine.h"

namespace {
int framesLeft = 0;
void StopAfterFrames() {
  if (--framesLeft == 0) keepRunning.store(0);
}

// A KERNAL with every interrupt source busy: CIA 1 timer A raising IRQs, CIA 2 timer A raising
// NMIs, the raster compare at line 100 with its own IRQ, and a main loop that reads the raster,
// writes the SID and runs with interrupts masked for a while (IRQs wait there, pending).
void PrepareBusyMachine() {
  PrepareTestMachine({.reset = 0xE000, .irq = 0xE100, .nmi = 0xE200});
  PutKernalCode(0xE000, {0xA9, 0x37, 0x8D, 0x04, 0xDC,   // CIA 1 timer A = $1037
                         0xA9, 0x10, 0x8D, 0x05, 0xDC,
                         0xA9, 0x81, 0x8D, 0x0D, 0xDC,   // its IRQ on
                         0xA9, 0x11, 0x8D, 0x0E, 0xDC,   // start, continuous
                         0xA9, 0xF1, 0x8D, 0x04, 0xDD,   // CIA 2 timer A = $27F1
                         0xA9, 0x27, 0x8D, 0x05, 0xDD,
                         0xA9, 0x81, 0x8D, 0x0D, 0xDD,   // its NMI on
                         0xA9, 0x11, 0x8D, 0x0E, 0xDD,
                         0xA9, 0x1B, 0x8D, 0x11, 0xD0,   // raster compare line 100
                         0xA9, 0x64, 0x8D, 0x12, 0xD0,
                         0xA9, 0x01, 0x8D, 0x1A, 0xD0,
                         0x58,                           // CLI
                         // $E038: the main loop
                         0xE8,                           // INX
                         0xAD, 0x12, 0xD0,               // LDA $D012
                         0x9D, 0x00, 0x04,               // STA $0400,X
                         0x8E, 0x01, 0xD4,               // STX $D401 (voice 1 pitch)
                         0xA9, 0x11, 0x8D, 0x04, 0xD4,   // triangle, gate
                         0x8A, 0x29, 0x3F, 0xD0, 0x07,   // every 64th turn:
                         0x78, 0xA0, 0x40, 0x88, 0xD0, 0xFD, 0x58,  // SEI, a delay, CLI
                         0x4C, 0x38, 0xE0});
  PutKernalCode(0xE100, {0xAD, 0x0D, 0xDC,               // acknowledge CIA 1
                         0xAD, 0x19, 0xD0, 0x8D, 0x19, 0xD0,  // and the raster
                         0xEE, 0x00, 0x50, 0x40});       // count; RTI
  PutKernalCode(0xE200, {0xAD, 0x0D, 0xDD, 0xEE, 0x01, 0x50, 0x40});
  Ram[0x5000] = Ram[0x5001] = 0;
}

struct Outcome {
  std::vector<uint8_t> snapshot;
  uint32_t cycles;
  uint32_t pc;
};

Outcome RunFrames(bool onThreadLoop, int frames) {
  PrepareBusyMachine();
  framesLeft = frames;
  frameObserver = StopAfterFrames;
  if (onThreadLoop) {
    EmulationThread();
  } else {
    while (RunEmulationPass() != 0) {
    }
  }
  frameObserver = nullptr;
  return {EncodeSnapshot(), cycleClock, CpuRegs.pc};
}
}  // namespace

TEST(InstructionRuns, TheThreadLoopLeavesTheMachineAsOnePassPerInstruction) {
  for (int frames : {1, 2, 7, 40}) {
    SCOPED_TRACE(frames);
    const Outcome single = RunFrames(false, frames);
    const uint8_t irqs = Ram[0x5000], nmis = Ram[0x5001];
    const Outcome runs = RunFrames(true, frames);
    EXPECT_EQ(runs.cycles, single.cycles);
    EXPECT_EQ(runs.pc, single.pc);
    ASSERT_EQ(runs.snapshot.size(), single.snapshot.size());
    EXPECT_TRUE(runs.snapshot == single.snapshot) << "the snapshots differ";
    if (frames == 40) {
      // the program does what the comparison relies on: every source interrupts, many times
      // (some 160 timer and 40 raster IRQs, some 65 NMIs)
      EXPECT_GT(irqs, 150);
      EXPECT_GT(nmis, 50);
    }
  }
}
