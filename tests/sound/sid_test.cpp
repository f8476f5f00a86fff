// Tests of the SID registers: frequency conversion, envelope rate tables and the voice 3 readouts.
#include <gtest/gtest.h>

#include <vector>

#include "core/machine.h"
#include "machine/scheduler.h"
#include "sound/envelope_tables.h"
#include "sound/sid.h"
#include "sound_session.h"

TEST(SidTables, EnvelopeRatesMatchTheAttackDurations) {
  struct Row { uint32_t attackStep, attackModulus, attackFrac, decayStep, decayModulus, decayFrac; };
  const Row expected[16] = {
      {5, 47419, 17905, 1, 142258, 112742},     {1, 189677, 65323, 0, 569032, 255000},
      {0, 379354, 255000, 0, 1138064, 255000},   {0, 569032, 255000, 0, 1707096, 255000},
      {0, 900967, 255000, 0, 2702903, 255000},   {0, 1327741, 255000, 0, 3983225, 255000},
      {0, 1612258, 255000, 0, 4836774, 255000},  {0, 1896774, 255000, 0, 5690322, 255000},
      {0, 2370967, 255000, 0, 7112903, 255000},  {0, 5927419, 255000, 0, 17782258, 255000},
      {0, 11854838, 255000, 0, 35564516, 255000}, {0, 18967741, 255000, 0, 56903225, 255000},
      {0, 23709677, 255000, 0, 71129032, 255000}, {0, 71129032, 255000, 0, 213387096, 255000},
      {0, 118548387, 255000, 0, 355645161, 255000}, {0, 189677419, 255000, 0, 569032258, 255000}};
  BuildEnvelopeTables();
  for (int i = 0; i < 16; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(attackStepTable[i], expected[i].attackStep);
    EXPECT_EQ(attackModulusTable[i], expected[i].attackModulus);
    EXPECT_EQ(attackFracTable[i], expected[i].attackFrac);
    EXPECT_EQ(decayStepTable[i], expected[i].decayStep);
    EXPECT_EQ(decayModulusTable[i], expected[i].decayModulus);
    EXPECT_EQ(decayFracTable[i], expected[i].decayFrac);
  }
}

TEST(SidRegisters, FrequencyWritesSetWholeAndFractionalPhaseSteps) {
  struct Case { int f16, phaseStep, fracStep; };
  const Case cases[] = {{0, 0, 0}, {18, 0, 0}, {19, 0, 4095}, {0x1CD6, 75, 24570}, {0xFFFF, 674, 12285}};
  SoundSession session;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.f16);
    MemWrite(0xD407, static_cast<uint8_t>(c.f16 & 0xFF));  // voice 2, through the I/O decode
    MemWrite(0xD408, static_cast<uint8_t>(c.f16 >> 8));
    EXPECT_EQ(voices[1].phaseStep, c.phaseStep);
    EXPECT_EQ(voices[1].fracStep, c.fracStep);
  }
}

TEST(SidReadouts, Osc3GivesSuccessiveNoiseBytes) {
  SoundSession session;
  const std::vector<uint8_t> expected = {0xFE, 0xFE, 0xFC, 0xFC, 0xFC, 0xF8, 0xF8, 0xF8};
  std::vector<uint8_t> read;
  for (size_t i = 0; i < expected.size(); ++i) read.push_back(MemRead(0xD41B));
  EXPECT_EQ(read, expected);
}

TEST(SidReadouts, Env3FollowsAttackDecaySustainAndReleaseInTime) {
  SoundSession session;
  MemWrite(0xD413, 0x00);  // attack 2000 cycles, decay 6000
  MemWrite(0xD414, 0x80);  // sustain 136, release 2000
  struct Step { uint32_t cycle; int control; int env3; };  // control -1: no write
  const Step steps[] = {
      {0, 0x11, 0},       {1000, -1, 127}, {2000, -1, 255},   {5000, -1, 196}, {9000, -1, 136},
      {10000, 0x10, 136}, {11000, -1, 68}, {12000, -1, 0},    {20000, -1, 0},  {20000, 0x11, 0},
      {20500, 0x11, 63},  {21000, -1, 127}};  // a second gate write does not restart the attack
  for (const Step& step : steps) {
    SCOPED_TRACE(step.cycle);
    cycleClock = step.cycle;
    if (step.control >= 0) MemWrite(0xD412, static_cast<uint8_t>(step.control));
    EXPECT_EQ(MemRead(0xD41C), step.env3);
  }
}
