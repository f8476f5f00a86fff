// voices.h: sample generation: the three voices mixed through the volume register into 8-bit
// unsigned samples at 22050 per second, made lazily up to cycleClock.
#pragma once

#include <cstdint>

#include "platform/wave_output.h"
#include "sound/sid.h"

inline constexpr int kSampleRate = kWaveSampleRate;  // the output grid the voices are sampled on
inline constexpr int kSampleBufferSize = 32768;

extern uint32_t soundPosition;   // the cycleClock value up to which samples exist
extern int32_t sampleClockAcc;   // fraction of a cycle per sample
extern uint8_t sampleBuffer[kSampleBufferSize];
extern int32_t sampleCount;      // samples in sampleBuffer, handed out and cleared by SoundFlush

// Makes the samples for the cycles since the last run, up to cycleClock.
void CatchUpSound();
// Appends one sample; a sample beyond a full buffer is dropped.
void MixSample();
// The voice's waveform output 0..255 for control byte c; steps the oscillator when one sounds.
int VoiceWaveform(VoiceState& voice, uint8_t c);
void StepOscillator(VoiceState& voice);
// Advances the envelope of voice v by one sample and returns its level.
int StepEnvelope(VoiceState& voice, int v);
void BuildWaveTables();
