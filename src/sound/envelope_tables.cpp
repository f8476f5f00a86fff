// envelope_tables.cpp: the envelope rates of the SID as whole levels plus a fraction per sample.
//
// Emulated: the sixteen attack durations and, from them, straight-line attack, decay and release
// rates on the 22050-per-second sample grid; decay and release share one set of tables.
// Left out: the real chip's exponential decay and release curves.
// Called by: InitSound once the wave output has opened; the register operations and the
// generator read the tables.
#include "sound/envelope_tables.h"

#include "sound/voices.h"

const uint32_t attackTimes[16] = {2000,   8000,   16000,  24000,   38000,   56000,   68000,   80000,
                                  100000, 250000, 500000, 800000, 1000000, 3000000, 5000000, 8000000};

uint32_t attackStepTable[16];
uint32_t attackModulusTable[16];
uint32_t attackFracTable[16];
uint32_t decayStepTable[16];
uint32_t decayModulusTable[16];
uint32_t decayFracTable[16];

namespace {
constexpr uint32_t kLevelsPerSecond = 255 * 930000;
constexpr uint32_t kFracPerLevelRun = 255000;  // envAcc units making up one whole level move
}  // namespace

void BuildEnvelopeTables() {
  const int32_t rate = kSampleRate;
  for (int i = 0; i < 16; ++i) {
    const uint32_t t = attackTimes[i];
    const uint32_t levels = kLevelsPerSecond / t;
    attackStepTable[i] = levels / rate;
    attackModulusTable[i] = static_cast<uint32_t>(static_cast<double>(t) * rate * (1.0 / 930));
    attackFracTable[i] = kFracPerLevelRun - attackModulusTable[i] * attackStepTable[i];
    decayStepTable[i] = (levels / 3) / rate;
    decayModulusTable[i] = static_cast<uint32_t>(static_cast<double>(t) * rate * (1.0 / 310));
    decayFracTable[i] = kFracPerLevelRun - decayModulusTable[i] * decayStepTable[i];
  }
}
