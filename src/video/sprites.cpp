// sprites.cpp: the eight VIC-II sprites painted over the background rows.
//
// Emulated: hires and multicolour sprites, X and Y expansion, the 9th X bit, sprite 0 in front of
// the others, and two modes: fast, one pass at the end of the frame at the sprites' last
// positions; accurate, a pass every 21 raster lines drawing the sprites the raster has just
// finished with, so a sprite moved during the frame appears at each of its positions.
// Left out: collisions ($D01E and $D01F stay as written, no sprite interrupt), the priority
// register $D01B (sprites are always in front), and the character ROM window (sprite pointers
// and shapes always come from Ram).
// Called by: the emulation thread, per 21-line band (accurate mode) or once a frame (fast mode).
#include "video/sprites.h"

#include "chips/vic.h"
#include "core/machine.h"
#include "core/scheduler_state.h"

namespace {
constexpr int kWidth = 320;
constexpr int kRows = 200;
constexpr int kSpriteRows = 21;
constexpr int kSpriteRowBytes = 3;
constexpr int kPointerOffset = 0x3F8;
// In accurate mode a sprite is drawn by the passes 64 to 113 lines below its top line: by then
// every visible raster line it covers has been drawn.
constexpr int kBandFirst = 64;
constexpr int kBandLast = 113;

constexpr int kXBit8 = 0x10;
constexpr int kEnable = 0x15;
constexpr int kYExpand = 0x17;
constexpr int kMulticolour = 0x1C;
constexpr int kXExpand = 0x1D;
constexpr int kMulticolour0 = 0x25;
constexpr int kMulticolour1 = 0x26;
constexpr int kSpriteColour = 0x27;

// A block of width x height pixels, each clipped to the picture on its own.
void Paint(int x, int y, int width, int height, uint8_t colour) {
  for (int dy = 0; dy < height; ++dy) {
    const int row = y + dy;
    if (row < 0 || row >= kRows) continue;
    for (int dx = 0; dx < width; ++dx) {
      const int column = x + dx;
      if (column >= 0 && column < kWidth) FrameBuffer[row * kWidth + column] = colour;
    }
  }
}

int Bit(int reg, int n) { return (vicRegs[reg] >> n) & 1; }
}  // namespace

void DrawHiresSprite(uint8_t colour, uint16_t dataAddress, int xExpand, int yExpand, int x0, int y0) {
  const int width = 1 + xExpand;
  const int height = 1 + yExpand;
  for (int i = 0; i < kSpriteRows; ++i) {
    for (int j = 0; j < kSpriteRowBytes; ++j) {
      const uint8_t bits = Ram[static_cast<uint16_t>(dataAddress + kSpriteRowBytes * i + j)];
      for (int b = 0; b < 8; ++b) {
        if (bits & (0x80 >> b)) Paint(x0 + (8 * j + b) * width, y0 + i * height, width, height, colour);
      }
    }
  }
}

void DrawMulticolourSprite(uint8_t colour, uint8_t multicolour0, uint8_t multicolour1, uint16_t dataAddress,
                           int xExpand, int yExpand, int x0, int y0) {
  const uint8_t colours[4] = {0, multicolour0, colour, multicolour1};
  const int width = 2 * (1 + xExpand);
  const int height = 1 + yExpand;
  for (int i = 0; i < kSpriteRows; ++i) {
    for (int j = 0; j < kSpriteRowBytes; ++j) {
      const uint8_t bits = Ram[static_cast<uint16_t>(dataAddress + kSpriteRowBytes * i + j)];
      for (int pair = 0; pair < 4; ++pair) {
        const int value = (bits >> (6 - 2 * pair)) & 3;
        if (value != 0) Paint(x0 + (4 * j + pair) * width, y0 + i * height, width, height, colours[value]);
      }
    }
  }
}

void RenderSprites(int line) {
  const bool wholeFrame = line == kWholeFrameSprites;
  // Sprite 0 is drawn last, in front of the others.
  for (int n = 7; n >= 0; --n) {
    if (Bit(kEnable, n) == 0) continue;
    const int y0 = vicRegs[2 * n + 1] - 50;
    const int d = line - y0;
    if (!wholeFrame && (d < kBandFirst || d > kBandLast)) continue;
    const int x0 = vicRegs[2 * n] + 256 * Bit(kXBit8, n) - 24;
    const uint16_t pointer = static_cast<uint16_t>(vicBankBase + videoMatrixOffset + kPointerOffset + n);
    const auto data = static_cast<uint16_t>(vicBankBase + 64 * Ram[pointer]);
    const uint8_t colour = vicRegs[kSpriteColour + n] & 0x0F;
    if (Bit(kMulticolour, n)) {
      DrawMulticolourSprite(colour, vicRegs[kMulticolour0] & 0x0F, vicRegs[kMulticolour1] & 0x0F, data,
                            Bit(kXExpand, n), Bit(kYExpand, n), x0, y0);
    } else {
      DrawHiresSprite(colour, data, Bit(kXExpand, n), Bit(kYExpand, n), x0, y0);
    }
  }
}
