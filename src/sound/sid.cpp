// sid.cpp: the SID as the I/O decode reaches it.
//
// Emulated so far: the register image; every write lands in sidRegs.
// Left out until the voices exist: frequencies, envelopes and sample generation; the oscillator
// and envelope readouts of voice 3 read 0.
// Called by: the I/O decode for $D400-$D7FF.
#include "sound/sid.h"

uint8_t sidRegs[kSidRegisterCount];

namespace {
constexpr int kVoiceRegisters = 7;
void StoreVoiceRegister(int v, int offset, uint8_t value) { sidRegs[v * kVoiceRegisters + offset] = value; }
}  // namespace

void SidWriteFreqLo(int v, uint8_t value) { StoreVoiceRegister(v, 0, value); }
void SidWriteFreqHi(int v, uint8_t value) { StoreVoiceRegister(v, 1, value); }
void SidWritePulseLo(int v, uint8_t value) { StoreVoiceRegister(v, 2, value); }
void SidWritePulseHi(int v, uint8_t value) { StoreVoiceRegister(v, 3, value); }
void SidWriteControl(int v, uint8_t value) { StoreVoiceRegister(v, 4, value); }
void SidWriteAttackDecay(int v, uint8_t value) { StoreVoiceRegister(v, 5, value); }
void SidWriteSustainRelease(int v, uint8_t value) { StoreVoiceRegister(v, 6, value); }
void SidWriteMode(uint8_t value) { sidRegs[24] = value; }
uint8_t ReadOsc3() { return 0; }
uint8_t ReadEnvelope3() { return 0; }
