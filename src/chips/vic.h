// vic.h: the VIC-II register image and the values derived from it when registers are written.
#pragma once

#include <cstdint>

inline constexpr int kVicRegisterCount = 47;

extern uint8_t vicRegs[kVicRegisterCount];

// Mode flags hold the masked bit in place (0 or the bit's value).
extern uint16_t vicEcm, vicBmm, vicDen, vicRsel, vicYScroll;  // from $D011
extern uint16_t vicMcm, vicCsel, vicXScroll;                  // from $D016
extern uint16_t videoMatrixOffset;  // from $D018: the video matrix inside the VIC bank
extern uint16_t charBaseOffset;     // from $D018: character or bitmap base inside the VIC bank
extern uint16_t vicBankBase;        // from CIA 2 port A: $0000, $4000, $8000 or $C000
extern uint8_t borderColor;
extern uint8_t backgroundColor0, backgroundColor1, backgroundColor2, backgroundColor3;

// Register r is the address & $3F.
uint8_t VicRead(int r);
void VicWrite(int r, uint8_t v);

// The raster compare matched: latch the raster flag in $D019 and raise the IRQ when enabled.
void RaiseRasterInterrupt();
// Clears the register image, vicDen, borderColor and backgroundColor0, and disarms the raster
// compare, as a machine reset does; the other derived values keep theirs.
void ResetVic();
