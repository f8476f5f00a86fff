// sid.h: the SID register image and the operations register accesses reach.
#pragma once

#include <cstdint>

inline constexpr int kSidRegisterCount = 32;

extern uint8_t sidRegs[kSidRegisterCount];

// v is the voice 0-2; each stores the byte into sidRegs.
void SidWriteFreqLo(int v, uint8_t value);
void SidWriteFreqHi(int v, uint8_t value);
void SidWritePulseLo(int v, uint8_t value);
void SidWritePulseHi(int v, uint8_t value);
void SidWriteControl(int v, uint8_t value);
void SidWriteAttackDecay(int v, uint8_t value);
void SidWriteSustainRelease(int v, uint8_t value);
void SidWriteMode(uint8_t value);
uint8_t ReadOsc3();
uint8_t ReadEnvelope3();
