// basic_call.h: calls routines of a BASIC ROM directly, in-process, the way machine code calls
// them: registers in, JSR, registers, flags, memory, printed text and raised errors out. Either
// the genuine BASIC and KERNAL images or VornCE's built-in ones are installed, in a machine whose
// KERNAL catches CHROUT and whose RAM holds CHRGET and a caught error vector.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

enum class RomSet { Genuine, Builtin };

// Installs the set in a freshly reset test machine; false when the genuine images are absent.
bool PrepareBasicCall(RomSet set);

struct CallResult {
  uint8_t a = 0, x = 0, y = 0;
  bool carry = false, zero = false, negative = false;
  int error = -1;          // the error number BASIC raised through $0300, -1 for none
  uint32_t cycles = 0;     // from the JSR to the return
  std::string printed;     // what went out through CHROUT
  bool finished = false;   // false when the routine ran away
};

// JSR address with the given registers; runs until it returns or raises an error.
CallResult CallRoutine(uint16_t address, uint8_t a = 0, uint8_t x = 0, uint8_t y = 0);
// The same, entered as BASIC enters FAC/ARG operations: LDA $61 (FAC's exponent), then JSR.
CallResult CallWithFacExponent(uint16_t address);
// The same, entered as BASIC enters routines that read text: JSR CHRGOT, then JSR.
CallResult CallAfterChrgot(uint16_t address);

// The address of a routine by its name in float.inc: for the genuine BASIC its documented
// address, for the built-in one its exported label. 0 (and a test failure) when unknown.
uint16_t RoutineAddress(RomSet set, const char* name);

// BASIC's 5-byte memory format.
using Packed = std::array<uint8_t, 5>;
// value rounded to the nearest 32-bit mantissa, ties away from zero; 0 outside the range.
Packed PackNumber(double value);
double UnpackNumber(const Packed& packed);
std::string PackedText(const Packed& packed);  // "81 00 00 00 00"
Packed PackedFromText(const std::string& text);

// An operand written in a test: a number ("1.5E-3") or packed bytes ("81 00 00 00 00").
Packed Operand(const std::string& text);

// The sets a differential test runs: the built-in one, and the genuine one when its images are
// there (which also checks the expected values the test keeps).
std::vector<RomSet> SetsToRun();
const char* SetName(RomSet set);

// FAC = fac (with facov as its extension byte), then routine with A/Y pointing at left in
// memory; returns what movmf then stores, or "error N".
std::string MemoryOperation(RomSet set, const char* routine, const Packed& left, const Packed& fac,
                            uint8_t facov = 0);
// FAC = fac (with facov), then routine with A/X/Y as given; returns FAC and its extension as
// FacText does (just "00" for zero), or "error N".
std::string FacAfter(RomSet set, const char* routine, const Packed& fac, uint8_t facov = 0, uint8_t a = 0,
                     uint8_t x = 0, uint8_t y = 0);

// A number of any sign and mantissa, its exponent mostly near 1 (so that operations mix the
// two operands' bits), sometimes anywhere, sometimes zero.
Packed RandomPacked(std::mt19937& random);

// Tables of the two kinds above, each case run in every set of SetsToRun.
struct MemoryOperationCase {
  const char* routine;
  const char* left;  // in memory
  const char* fac;
  uint8_t facov;
  const char* stored;
};
void ExpectMemoryOperations(std::initializer_list<MemoryOperationCase> cases);
struct FacAfterCase {
  const char* routine;
  const char* fac;
  uint8_t facov;
  const char* after;
};
void ExpectFacAfter(std::initializer_list<FacAfterCase> cases);

void PokePacked(uint16_t address, const Packed& packed);
Packed PeekPacked(uint16_t address);
// FAC ($61-$66) and its rounding byte ($70), as "exp m1 m2 m3 m4 sign ov".
std::string FacText();
// Places text (as typed, not tokenised) in RAM with a zero after it and points TXTPTR at it.
void PutText(uint16_t address, const std::string& text);
