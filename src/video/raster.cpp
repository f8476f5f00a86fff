// raster.cpp: one raster line of the VIC-II picture into the FrameBuffer.
//
// Emulated: the border, the five display modes (standard, multicolour and extended background
// text, standard and multicolour bitmap; the three invalid combinations show border), both scroll
// registers, the 24-row and 38-column windows, the VIC banks and the character ROM the VIC sees
// at $1000-$1FFF of banks 0 and 2. Lines whose character row falls outside 0-24 (scrolled past the
// 1000 cells of the matrix) show background colour 0.
// Left out: cycle-exact fetching (the line is drawn in one piece from the registers as they are
// when it ends), bad lines, the idle state and the open side borders: rows 0-199 are raster lines
// 50-249, the 320-pixel display window. Every read stays inside Ram, ColorRam or CharRom.
// Called by: the emulation thread at the end of every raster line of a drawn frame.
#include "video/raster.h"

#include <array>
#include <cstring>

#include "chips/vic.h"
#include "core/machine.h"
#include "core/scheduler_state.h"

namespace {
constexpr int kFirstLine = 50;
constexpr int kRows = 200;
constexpr int kWidth = 320;
constexpr int kCells = 40;
constexpr int kMaxXScroll = 7;
constexpr int kNarrowBorder = 7;  // pixels on each side of the 38-column window

uint8_t lineBuffer[kWidth + kMaxXScroll];
uint8_t matrixRow[kCells];
uint8_t colourRow[kCells];

// Where the VIC reads a run of bytes from: byte i of the run at address is memory[(address + i) &
// mask].
struct VicView {
  const uint8_t* memory;
  uint16_t mask;
};

VicView ViewAt(uint16_t address) {
  if ((address & 0x7000) == 0x1000) return {CharRom, kCharRomSize - 1};
  return {Ram, 0xFFFF};
}

uint8_t Read(const VicView& view, unsigned address) { return view.memory[address & view.mask]; }

enum DisplayMode { kStandardText, kMulticolourText, kStandardBitmap, kMulticolourBitmap, kExtendedText };

// For each graphics byte, 0xFF in the pixel positions of its set bits (bit 7 leftmost), so a cell
// of two colours is written as one 8-byte blend rather than 8 tests.
constexpr auto kHiresMasks = [] {
  std::array<std::array<uint8_t, 8>, 256> masks{};
  for (int bits = 0; bits < 256; ++bits) {
    for (int b = 0; b < 8; ++b) masks[bits][b] = (bits & (0x80 >> b)) ? 0xFF : 0x00;
  }
  return masks;
}();

uint64_t EightOf(uint8_t colour) { return colour * 0x0101010101010101ULL; }

void HiresByte(uint8_t* out, uint8_t bits, uint64_t ones, uint64_t zeros) {
  uint64_t mask;
  std::memcpy(&mask, kHiresMasks[bits].data(), 8);
  const uint64_t pixels = (ones & mask) | (zeros & ~mask);
  std::memcpy(out, &pixels, 8);
}

void PairByte(uint8_t* out, uint8_t bits, const uint8_t* colours) {
  for (int q = 0; q < 4; ++q) out[2 * q] = out[2 * q + 1] = colours[(bits >> (6 - 2 * q)) & 3];
}

void FetchRow(uint16_t matrixAddress, int row) {
  const VicView matrix = ViewAt(matrixAddress);
  const unsigned start = matrixAddress & matrix.mask;
  if (start + kCells <= matrix.mask + 1u) {
    std::memcpy(matrixRow, matrix.memory + start, kCells);
  } else {
    for (int k = 0; k < kCells; ++k) matrixRow[k] = Read(matrix, start + k);
  }
  for (int k = 0; k < kCells; ++k) colourRow[k] = ColorRam[(kCells * row + k) & (kColorRamSize - 1)] & 0x0F;
}

void StandardText(uint8_t* out, const VicView& glyphs, uint16_t base) {
  const uint64_t background = EightOf(backgroundColor0);
  for (int k = 0; k < kCells; ++k, out += 8) {
    HiresByte(out, Read(glyphs, base + matrixRow[k] * 8), EightOf(colourRow[k]), background);
  }
}

void MulticolourText(uint8_t* out, const VicView& glyphs, uint16_t base) {
  uint8_t colours[4] = {backgroundColor0, backgroundColor1, backgroundColor2, 0};
  for (int k = 0; k < kCells; ++k, out += 8) {
    const uint8_t bits = Read(glyphs, base + matrixRow[k] * 8);
    const uint8_t c = colourRow[k];
    if (c & 0x08) {
      colours[3] = c & 0x07;
      PairByte(out, bits, colours);
    } else {
      HiresByte(out, bits, EightOf(c), EightOf(backgroundColor0));
    }
  }
}

void ExtendedText(uint8_t* out, const VicView& glyphs, uint16_t base) {
  const uint8_t backgrounds[4] = {backgroundColor0, backgroundColor1, backgroundColor2, backgroundColor3};
  for (int k = 0; k < kCells; ++k, out += 8) {
    const uint8_t m = matrixRow[k];
    HiresByte(out, Read(glyphs, base + (m & 63) * 8), EightOf(colourRow[k]), EightOf(backgrounds[m >> 6]));
  }
}

void StandardBitmap(uint8_t* out, const VicView& bitmap, uint16_t base) {
  for (int k = 0; k < kCells; ++k, out += 8) {
    const uint8_t m = matrixRow[k];
    HiresByte(out, Read(bitmap, base + 8 * k), EightOf(m >> 4), EightOf(m & 0x0F));
  }
}

void MulticolourBitmap(uint8_t* out, const VicView& bitmap, uint16_t base) {
  uint8_t colours[4] = {backgroundColor0, 0, 0, 0};
  for (int k = 0; k < kCells; ++k, out += 8) {
    const uint8_t m = matrixRow[k];
    colours[1] = m >> 4;
    colours[2] = m & 0x0F;
    colours[3] = colourRow[k];
    PairByte(out, Read(bitmap, base + 8 * k), colours);
  }
}

// The 40 cells of character row (0-24), pixel line (0-7) of the cell, into out.
void DrawCells(int mode, uint8_t* out, int row, int line) {
  FetchRow(static_cast<uint16_t>(vicBankBase + videoMatrixOffset + kCells * row), row);
  const bool bitmap = mode == kStandardBitmap || mode == kMulticolourBitmap;
  const auto base = static_cast<uint16_t>(
      bitmap ? vicBankBase + (charBaseOffset & 0x2000) + kWidth * row + line : vicBankBase + charBaseOffset + line);
  const VicView graphics = ViewAt(base);
  switch (mode) {
    case kStandardText: StandardText(out, graphics, base); break;
    case kMulticolourText: MulticolourText(out, graphics, base); break;
    case kStandardBitmap: StandardBitmap(out, graphics, base); break;
    case kMulticolourBitmap: MulticolourBitmap(out, graphics, base); break;
    default: ExtendedText(out, graphics, base); break;
  }
}
}  // namespace

void RenderRasterLine() {
  const int r = rasterLine - kFirstLine;
  if (r < 0 || r >= kRows) return;
  uint8_t* frameRow = FrameBuffer + r * kWidth;
  const int mode = (vicEcm ? 4 : 0) | (vicBmm ? 2 : 0) | (vicMcm ? 1 : 0);
  const bool blank = vicDen == 0 || (vicRsel == 0 && (r < 4 || r >= kRows - 4)) || mode > kExtendedText;
  if (blank) {
    std::memset(frameRow, borderColor, kWidth);
    return;
  }

  // Unscrolled cells fill the row exactly and go straight into it; scrolled ones are drawn into
  // lineBuffer after XSCROLL border pixels, their last pixels falling past position 319.
  uint8_t* cells = lineBuffer + vicXScroll;
  if (vicXScroll == 0) {
    cells = frameRow;
  } else {
    std::memset(lineBuffer, borderColor, vicXScroll);
  }
  const int t = r - vicYScroll + 3;
  if (t < 0 || t >= kRows) {
    std::memset(cells, backgroundColor0, kWidth);
  } else {
    DrawCells(mode, cells, t >> 3, t & 7);
  }
  if (cells != frameRow) std::memcpy(frameRow, lineBuffer, kWidth);

  if (vicCsel == 0) {
    std::memset(frameRow, borderColor, kNarrowBorder);
    std::memset(frameRow + kWidth - kNarrowBorder, borderColor, kNarrowBorder);
  }
}
