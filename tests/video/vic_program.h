// vic_program.h: small 6510 programs of register stores run for whole frames, and the FrameBuffer
// pixels they leave, for the video tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A store of value to address (LDA #value, STA address), or, with address kWaitForLine, a wait
// until $D012 reads value.
struct ProgramStep {
  uint16_t address;
  uint8_t value;
};
inline constexpr uint16_t kWaitForLine = 0;

// Prepares the test machine to start at $0C00 with SEI, the steps, and a jump back to step
// loopFrom (-1: a jump to itself).
void PrepareProgram(const std::vector<ProgramStep>& steps, int loopFrom = -1);
// Runs the machine until its first drawn frame has been presented.
void RunFirstDrawnFrame();

// Expected pixels as hex digits, one per pixel: {0, 0, "AAA66A66"} is FrameBuffer row 0,
// columns 0-7 in colours 10, 10, 10, 6, ...
struct PixelRun {
  int row;
  int column;
  const char* pixels;
};
std::string FramePixels(const PixelRun& run);
