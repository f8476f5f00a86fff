// status_text.cpp: short status lines written into the FrameBuffer with the character ROM.
//
// Each character is an 8 x 8 glyph of the upper-case set (code = character & 63) in one
// character cell, bit 7 leftmost, set bits in the foreground colour, clear bits in the background.
// Left out: wrapping; cells outside the 40 x 25 grid are not drawn, so a long text is cut at the
// right edge instead of running into the next row or past the FrameBuffer.
// Called by: the snapshot commands, on the application thread while the emulation is paused.
#include "core/machine.h"
#include "video/presentation.h"

namespace {
constexpr int kColumns = 40;
constexpr int kRows = 25;
constexpr int kRowBytes = 320;
}  // namespace

void DrawGlyph(int code, int column, int row, uint8_t foreground, uint8_t background) {
  if (column < 0 || column >= kColumns || row < 0 || row >= kRows) return;
  uint8_t* cell = FrameBuffer + (row * kRowBytes + column) * 8;
  for (int k = 0; k < 8; ++k, cell += kRowBytes) {
    const uint8_t bits = CharRom[(code * 8 + k) & (kCharRomSize - 1)];
    for (int b = 0; b < 8; ++b) cell[b] = (bits & (0x80 >> b)) ? foreground : background;
  }
}

void DrawText(const char* text, int column, int row, uint8_t foreground, uint8_t background) {
  for (int i = 0; text[i] != '\0'; ++i) DrawGlyph(text[i] & 63, column + i, row, foreground, background);
}
