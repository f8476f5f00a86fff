// vic.cpp: the VIC-II as the CPU sees it, a register file with values derived at write time.
//
// Emulated: the 47 registers with their read-back quirks (unused bits of $D016, $D018, $D019,
// $D01A and the colour registers read as 1), the raster position in $D011/$D012, the raster
// compare line, the interrupt latch and its acknowledge, and the mode flags, offsets and colours
// the renderers use ready-made.
// Left out: collision detection (the collision registers are plain storage and their interrupt
// flags read as set), light pen, and every interrupt source but the raster compare.
// Called by: the I/O decode (register reads and writes), the emulation loop (raster interrupt)
// and the machine reset.
#include "chips/vic.h"

#include <algorithm>

#include "core/scheduler_state.h"

uint8_t vicRegs[kVicRegisterCount];

uint16_t vicEcm, vicBmm, vicDen, vicRsel, vicYScroll;
uint16_t vicMcm, vicCsel, vicXScroll;
uint16_t videoMatrixOffset;
uint16_t charBaseOffset;
uint16_t vicBankBase;
uint8_t borderColor;
uint8_t backgroundColor0, backgroundColor1, backgroundColor2, backgroundColor3;

namespace {
constexpr int kControl1 = 0x11;
constexpr int kRaster = 0x12;
constexpr int kControl2 = 0x16;
constexpr int kMemoryPointers = 0x18;
constexpr int kInterruptLatch = 0x19;
constexpr int kInterruptEnable = 0x1A;
constexpr int kBorderColor = 0x20;
constexpr int kBackgroundColor0 = 0x21;
constexpr int kBackgroundColor3 = 0x24;

constexpr uint8_t kRasterSource = 0x01;
constexpr uint8_t kSourceBits = 0x0F;
constexpr uint8_t kIrqBit = 0x80;
constexpr uint8_t kRasterBit8 = 0x80;

uint8_t* const backgroundColors[] = {&backgroundColor0, &backgroundColor1, &backgroundColor2,
                                     &backgroundColor3};

uint16_t CompareLine(uint8_t low, uint8_t control1) {
  return static_cast<uint16_t>(low | ((control1 & kRasterBit8) ? 0x100 : 0));
}

uint8_t AcknowledgeInterrupts(uint8_t v) {
  uint8_t latch = vicRegs[kInterruptLatch] & ~(v & kSourceBits);
  // The IRQ line drops only when no enabled source is left latched.
  if ((latch & vicRegs[kInterruptEnable] & kSourceBits) == 0 && (latch & kIrqBit)) {
    latch &= ~kIrqBit;
    irqPending = 0;
  }
  return latch | 0x70;
}
}  // namespace

uint8_t VicRead(int r) {
  if (r >= kVicRegisterCount) return 0xFF;
  switch (r) {
    case kControl1:
      return static_cast<uint8_t>((vicRegs[kControl1] & 0x7F) | ((rasterLine >> 1) & kRasterBit8));
    case kRaster:
      return static_cast<uint8_t>(rasterLine & 0xFF);
    case kInterruptLatch:
      // The collision flags are never cleared because collisions are never detected.
      return vicRegs[kInterruptLatch] | 0x06;
    default:
      return vicRegs[r];
  }
}

void VicWrite(int r, uint8_t v) {
  if (r >= kVicRegisterCount) return;
  switch (r) {
    case kControl1:
      vicEcm = v & 0x40;
      vicBmm = v & 0x20;
      vicDen = v & 0x10;
      vicRsel = v & 0x08;
      vicYScroll = v & 0x07;
      rasterCompareLine = CompareLine(vicRegs[kRaster], v);
      break;
    case kRaster:
      rasterCompareLine = CompareLine(v, vicRegs[kControl1]);
      break;
    case kControl2:
      // Bit 6 stays as written: only bits 7 and 5 are unused here.
      v |= 0xA0;
      vicMcm = v & 0x10;
      vicCsel = v & 0x08;
      vicXScroll = v & 0x07;
      break;
    case kMemoryPointers:
      v |= 0x01;
      videoMatrixOffset = static_cast<uint16_t>((v & 0xF0) << 6);
      charBaseOffset = static_cast<uint16_t>((v & 0x0E) << 10);
      break;
    case kInterruptLatch:
      v = AcknowledgeInterrupts(v);
      break;
    case kInterruptEnable:
      // Enabling a source that is already latched raises nothing until the next raster match.
      v |= 0xF0;
      break;
    case kBorderColor:
      borderColor = v & 0x0F;
      v |= 0xF0;
      break;
    default:
      if (r >= kBackgroundColor0 && r <= kBackgroundColor3) {
        *backgroundColors[r - kBackgroundColor0] = v & 0x0F;
        v |= 0xF0;
      }
      break;
  }
  vicRegs[r] = v;
}

void RaiseRasterInterrupt() {
  vicRegs[kInterruptLatch] |= kRasterSource;
  if (vicRegs[kInterruptEnable] & kRasterSource) {
    vicRegs[kInterruptLatch] |= kIrqBit;
    irqPending = 1;
  }
}

void ResetVic() {
  std::fill_n(vicRegs, kVicRegisterCount, 0);
  vicDen = 0;
  borderColor = 0;
  backgroundColor0 = 0;
  rasterCompareLine = 0xFFFF;
}
