#include "support/test_machine.h"

#include <algorithm>

#include "chips/cia.h"
#include "core/cpu.h"
#include "core/machine.h"
#include "machine/machine_reset.h"
#include "machine/scheduler.h"
#include "sound/sound_output.h"

namespace {
uint8_t testKernal[kKernalRomSize];
const uint8_t blankImage[kBasicRomSize] = {};

void PutVector(uint16_t at, uint16_t target) {
  testKernal[at & 0x1FFF] = static_cast<uint8_t>(target & 0xFF);
  testKernal[(at + 1) & 0x1FFF] = static_cast<uint8_t>(target >> 8);
}
}  // namespace

void PrepareTestMachine(const TestVectors& vectors) {
  std::fill(std::begin(testKernal), std::end(testKernal), 0);
  PutVector(0xFFFA, vectors.nmi);
  PutVector(0xFFFC, vectors.reset);
  PutVector(0xFFFE, vectors.irq);
  BasicRom = blankImage;
  CharRom = blankImage;
  KernalRom = testKernal;

  emulationRunning.store(1);
  pauseAcknowledged.store(0);
  resetAtFrameEnd.store(0);
  accurateSprites.store(1);
  keepRunning.store(1);
  frameSkipCountdown = 1;
  frameReady = 1;
  picturesSkipped = false;
  frameRendered = true;
  nmiPending = 0;
  irqPending = 0;
  throttleCycleCount = 0;
  soundCycleCount = 0;
  cycleClock = 0;
  cia1StepCountdown = 0;
  cia2StepCountdown = 0;
  queuedSoundBuffers.store(0);
  frameObserver = nullptr;

  InitMachine();
  ResetCpu();
}

void PutKernalCode(uint16_t address, std::initializer_list<uint8_t> bytes) {
  for (uint8_t byte : bytes) testKernal[address++ & 0x1FFF] = byte;
}

void PokeBytes(uint16_t address, std::initializer_list<uint8_t> bytes) {
  for (uint8_t byte : bytes) Ram[address++] = byte;
}

int RunPassesUntilLine(int line, int passLimit) {
  int passes = 0;
  while (rasterLine != line && passes < passLimit) {
    RunEmulationPass();
    ++passes;
  }
  return passes;
}
