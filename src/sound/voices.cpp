// voices.cpp: the SID's three voices turned into samples.
//
// Emulated: per sample, each voice's oscillator (triangle, sawtooth, pulse and noise, ANDed when
// several are selected; ring modulation as a square of the two phases' top bits; hard sync; the
// TEST bit), its straight-line envelope, and the mix through the volume nibble, with silence at
// volume x 17 so that $D418 writes alone are audible. Samples are made only when a register
// operation or a flush asks for them, for all the cycles since the last run at once.
// Left out: the filter, combined-waveform quirks and the real chip's 24-bit accumulators.
// Called by: the SID register operations before every change, and SoundFlush.
#include "sound/voices.h"

#include "core/scheduler_state.h"
#include "sound/envelope_tables.h"
#include "sound/sound_output.h"

uint32_t soundPosition = 0;
int32_t sampleClockAcc = 0;
uint8_t sampleBuffer[kSampleBufferSize];
int32_t sampleCount = 0;

namespace {
constexpr int32_t kWholeCyclesPerSample = kCyclesPerSecond / kSampleRate;  // 42
constexpr int kPhaseUnits = 4096;
constexpr int kNoiseClockUnits = 256;

// Entry v is v x 17 x 768: the level of silence at volume v, scaled for the division by 768.
constexpr int32_t volumeTable[16] = {0,      13056,  26112,  39168,  52224,  65280,  78336,  91392,
                                     104448, 117504, 130560, 143616, 156672, 169728, 182784, 195840};

uint8_t triangleTable[kPhaseUnits];
uint8_t sawtoothTable[kPhaseUnits];
// 0 below 4096, 255 from there: indexed by pulseOffset + phase, and by 2048 + phase for the top bit.
uint8_t pulseTable[2 * kPhaseUnits];

int TopBit(int phase) { return pulseTable[2048 + phase]; }

void ResetOscillator(VoiceState& voice) {
  voice.fracAcc = 0;
  voice.noiseLfsr = kNoiseSeed;
  voice.noiseOut = 254;
  voice.phase = 0;
  voice.noiseClock = 0;
}

// Envelope levels move by step + frac / modulus per sample; returns the whole-level carry.
int EnvelopeCarry(VoiceState& voice) {
  voice.envAcc -= voice.envFrac;
  if (voice.envAcc >= 0) return 0;
  voice.envAcc += voice.envModulus;
  return 1;
}

void LoadDecay(VoiceState& voice, int nibble) {
  voice.envStep = static_cast<int32_t>(decayStepTable[nibble]);
  voice.envModulus = voice.envAcc = static_cast<int32_t>(decayModulusTable[nibble]);
  voice.envFrac = static_cast<int32_t>(decayFracTable[nibble]);
}
}  // namespace

void CatchUpSound() {
  const uint32_t target = cycleClock;
  // Without a device nothing can be heard, so the voices need not be worked out.
  if (soundDeviceState.load() != 0) {
    soundPosition = target;
    return;
  }
  // cycleClock wraps at 2^32: the signed difference orders the two across the wrap.
  while (static_cast<int32_t>(target - soundPosition) > 0) {
    MixSample();
    soundPosition += kWholeCyclesPerSample;
    sampleClockAcc -= kSampleRate;
    if (sampleClockAcc < 0) {
      soundPosition += 1;
      sampleClockAcc += static_cast<int32_t>(kCyclesPerSecond);
    }
  }
}

void MixSample() {
  const int w1 = VoiceWaveform(voices[0], sidRegs[4]);
  const int e1 = StepEnvelope(voices[0], 0);
  const int w2 = VoiceWaveform(voices[1], sidRegs[11]);
  const int e2 = StepEnvelope(voices[1], 1);
  int32_t sum = w1 * e1 + w2 * e2;
  const uint8_t mode = sidRegs[kModeRegister];
  if ((mode & 0x80) == 0) {
    const int w3 = VoiceWaveform(voices[2], sidRegs[18]);
    sum += w3 * StepEnvelope(voices[2], 2);
  }
  const int32_t vol = mode & 15;
  const int32_t s = sum / 256;
  if (sampleCount >= kSampleBufferSize) return;
  sampleBuffer[sampleCount++] = static_cast<uint8_t>((volumeTable[vol] - s * vol * 17) / 768);
}

int VoiceWaveform(VoiceState& voice, uint8_t c) {
  if (c & 0x08) {
    ResetOscillator(voice);
    return 0;
  }
  if ((c & 0xF0) == 0) return 0;
  const int p = voice.phase;
  int out = 255;
  if (c & 0x10) out &= (c & 0x04) ? (TopBit(p) ^ TopBit(voice.modSource->phase)) : triangleTable[p];
  if (c & 0x20) out &= sawtoothTable[p];
  if (c & 0x40) out &= pulseTable[voice.pulseOffset + p];
  if (c & 0x80) out &= voice.noiseOut;
  StepOscillator(voice);
  return out;
}

void StepOscillator(VoiceState& voice) {
  voice.fracAcc -= voice.fracStep;
  if (voice.fracAcc < 0) {
    voice.fracAcc += kSampleRate;
    voice.phase += 1;
    voice.noiseClock += 1;
  }
  voice.phase += voice.phaseStep;
  if (voice.phase >= kPhaseUnits) {
    voice.phase &= kPhaseUnits - 1;
    if (voice.targetSyncBits & 0x02) {
      VoiceState& driven = *voice.syncTarget;
      driven.noiseClock = 0;
      driven.phase = 0;
      driven.fracAcc = kSampleRate;
    }
  }
  voice.noiseClock += voice.phaseStep;
  if (voice.noiseClock >= kNoiseClockUnits) {
    voice.noiseClock &= kNoiseClockUnits - 1;
    voice.noiseOut = NoiseByte(voice.noiseLfsr);
    voice.noiseLfsr = NextNoise(voice.noiseLfsr);
  }
}

int StepEnvelope(VoiceState& voice, int v) {
  switch (voice.envState) {
    case kEnvAttack:
      voice.envLevel += voice.envStep + EnvelopeCarry(voice);
      if (voice.envLevel >= 255) {
        voice.envLevel = 255;
        voice.envState = kEnvDecay;
        LoadDecay(voice, sidRegs[v * kVoiceRegisters + 5] & 15);
      }
      break;
    case kEnvDecay:
      voice.envLevel -= voice.envStep + EnvelopeCarry(voice);
      if (voice.envLevel <= voice.sustainLevel) {
        voice.envLevel = voice.sustainLevel;
        voice.envState = kEnvSustain;
      }
      break;
    case kEnvSustain:
      voice.envLevel = voice.sustainLevel;
      break;
    case kEnvRelease:
      voice.envLevel -= voice.envStep + EnvelopeCarry(voice);
      if (voice.envLevel <= 0) {
        voice.envLevel = 0;
        voice.envState = kEnvIdle;
      }
      break;
    default:
      break;
  }
  return voice.envLevel;
}

void BuildWaveTables() {
  for (int i = 0; i < kPhaseUnits; ++i) {
    triangleTable[i] = static_cast<uint8_t>(i < 2048 ? i >> 3 : 255 - ((i - 2048) >> 3));
    sawtoothTable[i] = static_cast<uint8_t>(i >> 4);
  }
  for (int i = 0; i < 2 * kPhaseUnits; ++i) pulseTable[i] = i < kPhaseUnits ? 0 : 255;
}
