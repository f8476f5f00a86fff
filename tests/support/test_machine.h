// test_machine.h: a freshly reset machine for tests, with a KERNAL image made by the test.
#pragma once

#include <cstdint>
#include <initializer_list>

struct TestVectors {
  uint16_t reset = 0x1000;
  uint16_t irq = 0x2000;
  uint16_t nmi = 0x3000;
};

// Installs blank BASIC and character ROMs and a KERNAL that holds only the given vectors, runs
// InitMachine, puts every scheduler flag and counter back to its start-up value and performs the
// CPU reset, so the next pass executes at vectors.reset.
void PrepareTestMachine(const TestVectors& vectors = {});

// Places code in the test KERNAL image at address ($E000-$FFFF), after PrepareTestMachine. Code
// there survives machine resets, which refill Ram.
void PutKernalCode(uint16_t address, std::initializer_list<uint8_t> bytes);

// Copies bytes into Ram from address on.
void PokeBytes(uint16_t address, std::initializer_list<uint8_t> bytes);

// Runs passes of the emulation loop until the raster reaches line (or the pass limit runs out);
// returns the number of passes run.
int RunPassesUntilLine(int line, int passLimit = 1000000);
