// io.h: the I/O area $D000-$DFFF, reached from MemRead and MemWrite while the processor port
// makes it visible.
#pragma once

#include <cstdint>

#include "core/machine.h"

extern uint8_t idToggle;  // what the next read of $DFFF returns; complemented by each read

// The test harness's exit register at $D7FF, inside a SID mirror. Set before the emulation thread
// starts; while clear, $D7FF is the SID register it mirrors, as on the machine.
extern bool exitRegisterEnabled;
// The value last written to the exit register, -1 before any write. A write also halts the
// processor (kHaltRequest), so the program stops at the write.
extern int exitRegisterValue;

// IoRead and IoWrite, declared with the memory map that calls them, are defined here.
