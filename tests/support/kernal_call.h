// kernal_call.h: a machine booted to READY with either ROM set, and one ROM routine called on
// it as a program's JSR would call it. Differential tests run the same call under the genuine
// ROMs and under the built-in ones and compare what each leaves behind.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

enum class RomSet { Genuine, Builtin };

// The built-in set, and the genuine one when its images are there.
std::vector<RomSet> AvailableRomSets();
const char* RomSetName(RomSet set);

// Installs the ROM set, powers the machine on and runs it until BASIC waits at READY. Returns
// false (and leaves the machine alone) when the genuine images are not there.
bool BootToReady(RomSet set);
// Powers the machine on again with the ROM images installed now and runs it to READY.
void PowerOnToReady();

struct CallOutcome {
  uint8_t a = 0, x = 0, y = 0, carry = 0, status = 0;  // status: the KERNAL's ST at $90
  bool returned = false;                               // false: the cycle limit ran out
};

// A device on the serial bus, played by the test: called whenever execution reaches one of
// the eight bus routines (TALK $ED09 ... ACPTR $EE13) with their address; it sets what the
// routine would return in CpuRegs and Ram[$90]. The call then returns to its caller.
using BusDevice = std::function<void(uint16_t routine)>;

// Calls the routine at address with the given registers and carry, running the whole machine
// (interrupts included) until it returns or cycleLimit cycles have passed.
CallOutcome CallRoutine(uint16_t address, uint8_t a, uint8_t x, uint8_t y, bool carry,
                        const BusDevice& device = nullptr, uint32_t cycleLimit = 2000000);

// Types text into the keyboard buffer a piece at a time and runs the machine for the seconds
// given, as a user at the keyboard would.
void TypeAndRun(const std::string& text, double seconds);

// The 25 lines of the text screen, trailing blanks dropped, as the screen codes' characters.
std::vector<std::string> ScreenLines();
