// sid.h: the SID register image, the per-voice synthesis state and the operations register
// accesses reach.
#pragma once

#include <cstdint>

inline constexpr int kSidRegisterCount = 32;
inline constexpr int kVoiceCount = 3;
inline constexpr int kVoiceRegisters = 7;  // voice v owns sidRegs[7v] to sidRegs[7v + 6]
inline constexpr int kModeRegister = 24;   // $D418: low nibble volume, bit 7 voice 3 off
inline constexpr uint32_t kNoiseSeed = 0x7FFFF8;

// Indexed by register number; the generator reads the control and mode bytes from here each sample.
extern uint8_t sidRegs[kSidRegisterCount];

struct VoiceState {
  int32_t fracStep;        // taken from fracAcc every sample
  int64_t fracAcc;         // fractional phase; sinks while fracStep exceeds the sample rate
  int32_t phaseStep;       // whole phase units added every sample
  int32_t phase;           // 0..4095
  int32_t pulseOffset;     // 4096 minus the 12-bit pulse width, 1..4096
  uint32_t noiseLfsr;      // bits 0-22 significant
  int32_t noiseOut;        // 0..255
  int32_t noiseClock;      // phase units modulo 256; its overflow clocks the noise register
  int32_t envState;        // one of EnvelopeState
  int32_t envLevel;        // 0..255
  int32_t envModulus;      // added back to envAcc when it goes negative
  int32_t envFrac;         // taken from envAcc every sample
  int32_t envAcc;
  int32_t envStep;         // whole levels moved every sample
  int32_t sustainLevel;    // sustain nibble times 17
  int32_t targetSyncBits;  // SYNC and RING bits of the voice this one drives; only SYNC is used
  VoiceState* modSource;   // the voice that drives this one (ring and sync source)
  VoiceState* syncTarget;  // the voice this one drives
};

enum EnvelopeState : int32_t { kEnvIdle = 0, kEnvAttack = 1, kEnvDecay = 2, kEnvSustain = 3, kEnvRelease = 4 };

// When the gate of a voice last changed, for the ENV3 readout alone.
struct GateRecord {
  int32_t gatePhase;   // an EnvelopeState
  uint32_t gateCycle;  // cycleClock when gatePhase began
};

extern VoiceState voices[kVoiceCount];
extern GateRecord gateRecords[kVoiceCount];
extern uint32_t osc3Lfsr;  // the noise register behind $D41B, separate from every voice

// The noise output: bits 22, 20, 16, 13, 11, 7, 4 and 2 of a noise register as one byte.
inline int NoiseByte(uint32_t lfsr) {
  return static_cast<int>(((lfsr >> 15) & 0x80) | ((lfsr >> 14) & 0x40) | ((lfsr >> 11) & 0x20) |
                          ((lfsr >> 9) & 0x10) | ((lfsr >> 8) & 0x08) | ((lfsr >> 5) & 0x04) |
                          ((lfsr >> 3) & 0x02) | ((lfsr >> 2) & 0x01));
}
// One clock of a noise register: shift left, feeding in bit 22 XOR bit 17.
inline uint32_t NextNoise(uint32_t lfsr) { return (lfsr << 1) | (((lfsr >> 22) ^ (lfsr >> 17)) & 1); }

// v is the voice 0-2; each brings the samples up to date, then stores the byte into sidRegs.
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

// Derives phaseStep and fracStep from a 16-bit frequency value; phase and fracAcc stay.
void SetVoiceFrequency(VoiceState& voice, int f16);
// The start of the program: clears the image, the voices and the gate records, seeds the noise
// registers and links each voice to its neighbours.
void SetUpVoices();
