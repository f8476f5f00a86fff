// Tests of sample generation: exact sample values for the voices, the mix and the volume.
#include <gtest/gtest.h>

#include <vector>

#include "core/machine.h"
#include "machine/scheduler.h"
#include "sound/voices.h"
#include "sound_session.h"

namespace {
std::vector<int> MixSamples(int count) {
  sampleCount = 0;
  for (int i = 0; i < count; ++i) MixSample();
  return std::vector<int>(sampleBuffer, sampleBuffer + count);
}

// Voice 3 as a pulse always high at full sustained level: waveform 255 x envelope 255.
void SoundVoice3AtFullLevel() {
  MemWrite(0xD40F, 0x10);
  MemWrite(0xD411, 0x00);  // pulse width 0: always high
  MemWrite(0xD413, 0x00);
  MemWrite(0xD414, 0xF0);
  MemWrite(0xD412, 0x41);
  MixSamples(100);  // the 2000-cycle attack is over within 48 samples
}
}  // namespace

TEST(Voices, SawtoothAttackGivesTheExactSampleSequence) {
  SoundSession session;
  MemWrite(0xD418, 0x0F);
  MemWrite(0xD400, 0xD6);
  MemWrite(0xD401, 0x1C);
  MemWrite(0xD405, 0x00);
  MemWrite(0xD406, 0xF0);
  MemWrite(0xD404, 0x21);
  EXPECT_EQ(MixSamples(12), (std::vector<int>{255, 255, 255, 254, 254, 254, 253, 253, 252, 252, 251, 250}));
  EXPECT_EQ(voices[0].phase, 912);
  EXPECT_EQ(voices[0].envLevel, 64);
}

TEST(Voices, MixThroughTheVolumeAndVoice3Off) {
  struct Case { const char* name; bool voice3; uint8_t mode; int sample; };
  const Case cases[] = {{"silent voices at full volume", false, 0x0F, 255},
                        {"volume 0", true, 0x00, 0},
                        {"voice 3 full alone", true, 0x0F, 170},
                        {"voice 3 switched off", true, 0x8F, 255}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SoundSession session;
    if (c.voice3) SoundVoice3AtFullLevel();
    MemWrite(0xD418, c.mode);
    const int phaseBefore = voices[2].phase;
    EXPECT_EQ(MixSamples(20), std::vector<int>(20, c.sample));
    // Switched off, voice 3 stands still; otherwise its phase moves on.
    if (c.voice3) {
      EXPECT_EQ(voices[2].phase == phaseBefore, (c.mode & 0x80) != 0);
    }
  }
}

TEST(Voices, Voice3OffHoldsItsReleaseUntilSwitchedOn) {
  SoundSession session;
  SoundVoice3AtFullLevel();
  MemWrite(0xD418, 0x8F);
  MemWrite(0xD412, 0x40);  // release, 2000 x 3 cycles
  MixSamples(500);
  EXPECT_EQ(voices[2].envLevel, 255);
  MemWrite(0xD418, 0x0F);
  MixSamples(500);
  EXPECT_EQ(voices[2].envLevel, 0);
}

TEST(Voices, TestBitHoldsTheOscillatorAtItsStartUntilCleared) {
  SoundSession session;
  MemWrite(0xD418, 0x0F);
  MemWrite(0xD401, 0x20);
  MemWrite(0xD406, 0xF0);
  MemWrite(0xD404, 0x91);  // noise: moves the noise register on
  MixSamples(100);
  MemWrite(0xD404, 0x19);
  EXPECT_EQ(MixSamples(10), std::vector<int>(10, 255));
  EXPECT_EQ(voices[0].phase, 0);
  EXPECT_EQ(voices[0].noiseOut, 254);
  EXPECT_EQ(voices[0].noiseLfsr, kNoiseSeed);
  MemWrite(0xD404, 0x11);  // the triangle starts from phase 0
  MixSamples(1);
  EXPECT_EQ(voices[0].phase, voices[0].phaseStep + 1);
}

TEST(Voices, VolumeWritesAloneAreHeardAtTheCycleTheyAreMade) {
  SoundSession session;
  // Samples stand for 42 or 43 cycles: 420 cycles at each level give 10 samples each.
  for (uint32_t cycle = 0; cycle < 4200; cycle += 420) {
    cycleClock = cycle;
    MemWrite(0xD418, (cycle / 420) % 2 == 0 ? 0x0F : 0x00);
  }
  cycleClock = 4200;
  CatchUpSound();
  std::vector<int> expected;
  for (int run = 0; run < 10; ++run) expected.insert(expected.end(), 10, run % 2 == 0 ? 255 : 0);
  EXPECT_EQ(std::vector<int>(sampleBuffer, sampleBuffer + sampleCount), expected);
}
