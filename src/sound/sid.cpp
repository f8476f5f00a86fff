// sid.cpp: the SID as the I/O decode reaches it.
//
// Emulated: the register image; frequency, pulse width, control (gate, sync, ring, test and
// waveform bits), attack/decay, sustain/release and mode writes, each taking effect at the cycle
// the CPU made it; the $D41B noise readout and the $D41C envelope readout of voice 3, the latter
// worked out from the time since voice 3's last gate change rather than from the generator.
// Left out: the filter registers (stored only) and the real chip's readout of voice 3's oscillator.
// Called by: the I/O decode for $D400-$D7FF, and InitSound for the voice set-up.
#include "sound/sid.h"

#include <algorithm>

#include "core/scheduler_state.h"
#include "sound/envelope_tables.h"
#include "sound/sound_output.h"
#include "sound/voices.h"

uint8_t sidRegs[kSidRegisterCount];
VoiceState voices[kVoiceCount];
GateRecord gateRecords[kVoiceCount];
uint32_t osc3Lfsr = kNoiseSeed;

namespace {
// Exactly 930000 / 16777216: a frequency register step in hertz.
constexpr double kHertzPerFrequencyStep = 0.05543231964111328;
constexpr int kPhaseScale = 4095;  // the conversion's scale; the phase itself wraps at 4096

uint8_t& VoiceRegister(int v, int offset) { return sidRegs[v * kVoiceRegisters + offset]; }

void LoadAttack(VoiceState& voice, int nibble) {
  voice.envStep = static_cast<int32_t>(attackStepTable[nibble]);
  voice.envModulus = voice.envAcc = static_cast<int32_t>(attackModulusTable[nibble]);
  voice.envFrac = static_cast<int32_t>(attackFracTable[nibble]);
}

void LoadDecayOrRelease(VoiceState& voice, int nibble) {
  voice.envStep = static_cast<int32_t>(decayStepTable[nibble]);
  voice.envModulus = voice.envAcc = static_cast<int32_t>(decayModulusTable[nibble]);
  voice.envFrac = static_cast<int32_t>(decayFracTable[nibble]);
}

void UpdateFrequency(int v) { SetVoiceFrequency(voices[v], VoiceRegister(v, 0) + 256 * VoiceRegister(v, 1)); }

void UpdatePulseWidth(int v) {
  voices[v].pulseOffset = 4096 - ((VoiceRegister(v, 2) + 256 * VoiceRegister(v, 3)) & 0xFFF);
}

// Level along a straight line from `from` to `to` that takes `duration` cycles, `elapsed` in.
uint32_t AlongLine(uint32_t from, uint32_t to, uint32_t elapsed, uint32_t duration) {
  const uint64_t moved = static_cast<uint64_t>(from > to ? from - to : to - from) * elapsed / duration;
  return from > to ? from - static_cast<uint32_t>(moved) : from + static_cast<uint32_t>(moved);
}
}  // namespace

void SetVoiceFrequency(VoiceState& voice, int f16) {
  const int hz = static_cast<int>(f16 * kHertzPerFrequencyStep);
  voice.phaseStep = hz * kPhaseScale / kSampleRate;
  voice.fracStep = (hz - voice.phaseStep * kSampleRate / kPhaseScale) * kPhaseScale;
}

void SetUpVoices() {
  std::fill(std::begin(sidRegs), std::end(sidRegs), 0);
  for (int v = 0; v < kVoiceCount; ++v) {
    voices[v] = VoiceState{};
    voices[v].noiseLfsr = kNoiseSeed;
    // Each voice's SYNC and RING bits refer to the voice before it.
    voices[v].modSource = &voices[(v + kVoiceCount - 1) % kVoiceCount];
    voices[v].syncTarget = &voices[(v + 1) % kVoiceCount];
    gateRecords[v] = GateRecord{};
  }
  osc3Lfsr = kNoiseSeed;
}

void SidWriteFreqLo(int v, uint8_t value) {
  CatchUpSound();
  VoiceRegister(v, 0) = value;
  UpdateFrequency(v);
}

void SidWriteFreqHi(int v, uint8_t value) {
  CatchUpSound();
  VoiceRegister(v, 1) = value;
  UpdateFrequency(v);
}

void SidWritePulseLo(int v, uint8_t value) {
  CatchUpSound();
  VoiceRegister(v, 2) = value;
  UpdatePulseWidth(v);
}

void SidWritePulseHi(int v, uint8_t value) {
  CatchUpSound();
  VoiceRegister(v, 3) = value;
  UpdatePulseWidth(v);
}

void SidWriteControl(int v, uint8_t value) {
  CatchUpSound();
  VoiceState& voice = voices[v];
  voice.modSource->targetSyncBits = value & 6;
  const bool gate = (value & 1) != 0;
  if (gate != ((VoiceRegister(v, 4) & 1) != 0)) {
    // Attack and release both start from the level reached.
    if (gate) {
      voice.envState = kEnvAttack;
      LoadAttack(voice, VoiceRegister(v, 5) >> 4);
    } else {
      voice.envState = kEnvRelease;
      LoadDecayOrRelease(voice, VoiceRegister(v, 6) & 15);
    }
    gateRecords[v] = GateRecord{voice.envState, cycleClock};
  }
  VoiceRegister(v, 4) = value;
}

void SidWriteAttackDecay(int v, uint8_t value) {
  CatchUpSound();
  VoiceState& voice = voices[v];
  if (voice.envState == kEnvAttack) LoadAttack(voice, value >> 4);
  if (voice.envState == kEnvDecay) LoadDecayOrRelease(voice, value & 15);
  VoiceRegister(v, 5) = value;
}

void SidWriteSustainRelease(int v, uint8_t value) {
  CatchUpSound();
  VoiceState& voice = voices[v];
  if (voice.envState == kEnvRelease) LoadDecayOrRelease(voice, value & 15);
  voice.sustainLevel = (value >> 4) * 17;
  VoiceRegister(v, 6) = value;
}

void SidWriteMode(uint8_t value) {
  CatchUpSound();
  // Without a device the volume stays 0.
  sidRegs[kModeRegister] = soundDeviceState.load() == 0 ? value : (value & 0xF0);
}

uint8_t ReadOsc3() {
  CatchUpSound();
  const int out = NoiseByte(osc3Lfsr);
  osc3Lfsr = NextNoise(osc3Lfsr);
  return static_cast<uint8_t>(out);
}

uint8_t ReadEnvelope3() {
  CatchUpSound();
  GateRecord& record = gateRecords[2];
  const uint8_t attackDecay = VoiceRegister(2, 5);
  const uint8_t sustainRelease = VoiceRegister(2, 6);
  const uint32_t attack = attackTimes[attackDecay >> 4];
  const uint32_t decay = 3 * attackTimes[attackDecay & 15];
  const uint32_t release = attackTimes[sustainRelease & 15];
  const uint32_t sustain = (sustainRelease >> 4) * 17u;
  // Elapsed cycles by unsigned difference, right across the wrap of cycleClock.
  auto elapsed = [&record]() { return cycleClock - record.gateCycle; };
  uint32_t level = 0;
  switch (record.gatePhase) {
    case kEnvAttack:
      if (elapsed() <= attack) {
        level = AlongLine(0, 255, elapsed(), attack);
        break;
      }
      record = GateRecord{kEnvDecay, record.gateCycle + attack};
      [[fallthrough]];
    case kEnvDecay:
      if (elapsed() > decay) {
        record.gatePhase = kEnvSustain;
        level = sustain;
      } else {
        level = AlongLine(255, sustain, elapsed(), decay);
      }
      break;
    case kEnvSustain:
      level = sustain;
      break;
    case kEnvRelease:
      if (elapsed() <= release) {
        level = AlongLine(sustain, 0, elapsed(), release);
      } else {
        record.gatePhase = kEnvIdle;
      }
      break;
    default:
      break;
  }
  return static_cast<uint8_t>(level);
}
