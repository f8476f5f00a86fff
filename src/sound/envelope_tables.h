// envelope_tables.h: the attack durations and the envelope rate tables derived from them.
#pragma once

#include <cstdint>

// Attack duration in cycles per attack nibble; decay and release take three times as long.
extern const uint32_t attackTimes[16];

extern uint32_t attackStepTable[16];
extern uint32_t attackModulusTable[16];
extern uint32_t attackFracTable[16];
extern uint32_t decayStepTable[16];  // for decay and release alike
extern uint32_t decayModulusTable[16];
extern uint32_t decayFracTable[16];

void BuildEnvelopeTables();
