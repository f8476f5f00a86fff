#include "video/vic_program.h"

#include <cstring>

#include "core/machine.h"
#include "machine/scheduler.h"
#include "support/test_machine.h"

namespace {
constexpr uint16_t kProgramStart = 0x0C00;
int presentedFrames = 0;

void Emit(uint16_t& at, std::initializer_list<uint8_t> bytes) {
  for (uint8_t byte : bytes) Ram[at++] = byte;
}
}  // namespace

void PrepareProgram(const std::vector<ProgramStep>& steps, int loopFrom) {
  PrepareTestMachine({.reset = kProgramStart});
  uint16_t at = kProgramStart;
  Emit(at, {0x78});
  std::vector<uint16_t> stepStart;
  for (const ProgramStep& step : steps) {
    stepStart.push_back(at);
    if (step.address == kWaitForLine) {
      Emit(at, {0xAD, 0x12, 0xD0, 0xC9, step.value, 0xD0, 0xF9});  // LDA $D012, CMP #v, BNE back
    } else {
      Emit(at, {0xA9, step.value, 0x8D, static_cast<uint8_t>(step.address), static_cast<uint8_t>(step.address >> 8)});
    }
  }
  const uint16_t target = loopFrom < 0 ? at : stepStart[loopFrom];
  Emit(at, {0x4C, static_cast<uint8_t>(target), static_cast<uint8_t>(target >> 8)});
}

void RunFirstDrawnFrame() {
  // The presentation pending at start-up, then the skipped frame and the drawn one.
  presentedFrames = 0;
  frameObserver = [] { ++presentedFrames; };
  while (presentedFrames < 2) RunEmulationPass();
  frameObserver = nullptr;
}

std::string FramePixels(const PixelRun& run) {
  std::string pixels;
  for (size_t i = 0; i < std::strlen(run.pixels); ++i) {
    const int index = FrameBuffer[run.row * 320 + run.column + static_cast<int>(i)];
    pixels += index < 16 ? "0123456789ABCDEF"[index] : '?';
  }
  return pixels;
}
