// io.h: the I/O area $D000-$DFFF, reached from MemRead and MemWrite while the processor port
// makes it visible.
#pragma once

#include <cstdint>

extern uint8_t idToggle;  // what the next read of $DFFF returns; complemented by each read

uint8_t IoRead(uint16_t address);
void IoWrite(uint16_t address, uint8_t value);
