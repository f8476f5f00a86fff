// float_functions_test.cpp: the built-in BASIC's number functions (float_functions.s): the
// digits they print and the bytes they leave against those of the genuine BASIC (recorded, and
// compared live where its images are present, also for random arguments), their special cases
// and errors, and their speed against the genuine ones.
#include <gtest/gtest.h>

#include <cstdio>
#include <initializer_list>
#include <random>
#include <string>

#include "core/machine.h"
#include "support/basic_call.h"

namespace {
// FAC = x with facov as its extension byte (ARG = base for fpwrt, which computes base ^ x), then
// the routine; "" when it returned, else "ran away" or "error N".
std::string Call(RomSet set, const std::string& routine, const Packed& x, const Packed& base, uint8_t facov,
                 uint32_t* cycles) {
  PrepareBasicCall(set);
  PokePacked(0xC000, x);
  CallRoutine(RoutineAddress(set, "movfm"), 0x00, 0, 0xC0);
  Ram[0x70] = facov;
  if (routine == "fpwrt") {
    PokePacked(0xC010, base);
    CallRoutine(RoutineAddress(set, "conupk"), 0x10, 0, 0xC0);
  }
  // the genuine ^ takes FAC's exponent in A, as its caller leaves it
  const CallResult result = routine == "fpwrt" ? CallWithFacExponent(RoutineAddress(set, "fpwrt"))
                                               : CallRoutine(RoutineAddress(set, routine.c_str()));
  if (cycles) *cycles += result.cycles;
  if (!result.finished) return "ran away";
  if (result.error >= 0) return "error " + std::to_string(result.error);
  return "";
}

// The result as fout prints it.
std::string Printed(RomSet set, const std::string& routine, const Packed& x, const Packed& base) {
  const std::string failed = Call(set, routine, x, base, 0, nullptr);
  if (!failed.empty()) return failed;
  CallRoutine(RoutineAddress(set, "fout"));
  std::string text;
  for (uint16_t at = 0x0100; Ram[at] != 0 && at < 0x0120; ++at) text += static_cast<char>(Ram[at]);
  return text;
}

// The result as movmf stores it ("00" for zero); the call's cycles added to *cycles.
std::string Stored(RomSet set, const std::string& routine, const Packed& x, const Packed& base, uint8_t facov = 0,
                   uint32_t* cycles = nullptr) {
  const std::string failed = Call(set, routine, x, base, facov, cycles);
  if (!failed.empty()) return failed;
  CallRoutine(RoutineAddress(set, "movmf"), 0, 0x20, 0xC0);
  return Ram[0xC020] == 0 ? "00" : PackedText(PeekPacked(0xC020));
}

// A function of x (of base and x for fpwrt, base ^ x) and what it gives.
struct FunctionCase {
  const char* routine;
  const char* x;
  const char* base;
  const char* expected;
};

enum class Result { Printed, Stored };

// Each case in each set that runs, the result taken as Printed or Stored gives it.
void ExpectEach(std::initializer_list<FunctionCase> cases, Result taken) {
  for (RomSet set : SetsToRun())
    for (const FunctionCase& c : cases) {
      const Packed x = Operand(c.x), base = Operand(c.base);
      EXPECT_EQ(taken == Result::Printed ? Printed(set, c.routine, x, base) : Stored(set, c.routine, x, base),
                c.expected)
          << SetName(set) << ": " << c.routine << " " << c.x << " (" << c.base << ")";
    }
}

struct Range {
  const char* routine;
  double low, high;
};
const Range ranges[] = {{"sqr", 0, 1000},  {"exp", -80, 88},   {"log", 0.001, 1e6}, {"sin", -1e4, 1e4},
                        {"cos", -10, 10},  {"tan", -1.5, 1.5}, {"atn", -20, 20},    {"fpwrt", 0.1, 5}};
}  // namespace

TEST(FloatFunctions, PrintTheGenuineDigits) {
  ExpectEach({
      {"sqr", "2", "0", " 1.41421356"},        {"sqr", "9", "0", " 3"},
      {"sqr", "0.25", "0", " .5"},             {"sqr", "1e+10", "0", " 100000"},
      {"sqr", "12345.678", "0", " 111.111107"}, {"sqr", "1e-38", "0", " 1E-19"},
      {"sqr", "1.7e+38", "0", " 1.30384048E+19"}, {"sqr", "0", "0", " 0"},
      {"exp", "0", "0", " 1"},                 {"exp", "1", "0", " 2.71828183"},
      {"exp", "-1", "0", " .367879441"},       {"exp", "10", "0", " 22026.4658"},
      {"exp", "0.5", "0", " 1.64872127"},      {"exp", "-89", "0", " 0"},
      {"exp", "1e-10", "0", " 1"},             {"exp", "-200", "0", " 0"},
      {"log", "1", "0", " 0"},                 {"log", "2", "0", " .693147181"},
      {"log", "10", "0", " 2.30258509"},       {"log", "2.718281828", "0", " 1"},
      {"log", "1e+38", "0", " 87.4982335"},    {"log", "1e-38", "0", "-87.4982335"},
      {"log", "1000", "0", " 6.90775528"},     {"sin", "0", "0", " 0"},
      {"sin", "1", "0", " .841470985"},        {"sin", "-1", "0", "-.841470985"},
      {"sin", "0.5", "0", " .479425539"},      {"sin", "3", "0", " .141120008"},
      {"cos", "0", "0", " 1"},                 {"cos", "1", "0", " .540302306"},
      {"cos", "10", "0", "-.839071529"},       {"tan", "0", "0", " 0"},
      {"tan", "1", "0", " 1.55740772"},        {"tan", "-0.5", "0", "-.54630249"},
      {"tan", "0.785398163", "0", " .999999999"}, {"atn", "0", "0", " 0"},
      {"atn", "1", "0", " .785398163"},        {"atn", "-1", "0", "-.785398163"},
      {"atn", "0.5", "0", " .463647609"},      {"atn", "2", "0", " 1.10714872"},
      {"atn", "1e+10", "0", " 1.57079633"},    {"atn", "-1e-05", "0", "-1E-05"},
      {"atn", "0.4", "0", " .380506377"},      {"fpwrt", "2", "3", " 9"},
      {"fpwrt", "0.5", "2", " 1.41421356"},    {"fpwrt", "10", "2", " 1024"},
      {"fpwrt", "-1", "2", " .5"},             {"fpwrt", "3", "-2", "-8"},
      {"fpwrt", "2", "-2", " 4"},              {"fpwrt", "1.5", "7", " 18.5202592"},
      {"fpwrt", "3.5", "1.1", " 1.39596458"},
  }, Result::Printed);
}

TEST(FloatFunctions, SpecialCasesAndErrorsAreTheGenuineOnes) {
  ExpectEach({
      {"sqr", "-1", "0", "error 14"},     {"log", "0", "0", "error 14"},     {"log", "-5", "0", "error 14"},
      {"exp", "88.03", "0", "error 15"},  {"exp", "200", "0", "error 15"},   {"fpwrt", "0", "5", " 1"},
      {"fpwrt", "0", "0", " 1"},          {"fpwrt", "-1", "0", " 0"},        {"fpwrt", "5", "0", " 0"},
      {"fpwrt", "0.5", "-8", "error 14"}, {"fpwrt", "128", "2", "error 15"}, {"fpwrt", "127", "2", "error 15"},
      {"tan", "81 49 0F DA A2", "0", "error 20"},
  }, Result::Printed);
}

TEST(FloatFunctions, LeaveTheGenuineBytes) {
  // Arguments where an intermediate result's last bits show: LOG at and next to powers of two,
  // EXP's split of x * log2(e), ^ and SQR handing EXP a product with its extension byte, SIN
  // and COS at whole and half turns, TAN below 0, ATN either side of 1.
  ExpectEach({
      {"log", "81 00 00 00 00", "0", "00"},                {"log", "82 00 00 00 00", "0", "80 31 72 17 F8"},
      {"log", "80 00 00 00 00", "0", "80 B1 72 17 F7"},    {"log", "80 7F FF FF FF", "0", "00"},
      {"log", "82 00 00 00 01", "0", "80 31 72 17 FA"},    {"log", "8A 1A 2B 3C 4D", "0", "83 4D 94 37 DD"},
      {"exp", "80 1D 5C FC 47", "0", "81 6C AF 5F 84"},    {"exp", "87 28 AE D2 15", "0", "FA 4C EE 0D D2"},
      {"exp", "82 DD 8D 13 1A", "0", "7C 00 83 58 EE"},    {"exp", "-88", "0", "02 03 DB 88 9E"},
      {"exp", "88", "0", "FF 78 82 B6 D5"},                {"exp", "87 30 0A 3D 71", "0", "FF 7D 87 E5 ED"},
      {"exp", "87 31 72 17 F7", "0", "error 15"},          {"exp", "-88.5", "0", "00"},
      {"exp", "87 B1 72 17 F7", "0", "00"},                {"sqr", "89 63 CA DE 41", "0", "85 2A C1 67 2B"},
      {"sqr", "1", "0", "81 00 00 00 00"},                 {"sqr", "9", "0", "82 40 00 00 01"},
      {"sin", "82 49 0F DA A2", "0", "00"},                {"sin", "83 49 0F DA A1", "0", "63 C9 0F DA A2"},
      {"sin", "10000", "0", "7F 9C 79 6E D2"},             {"sin", "75 B9 14 8E 32", "0", "75 B9 14 8D 8E"},
      {"cos", "82 49 0F DA A2", "0", "80 FF FF FF FE"},    {"cos", "1", "0", "80 0A 51 40 7E"},
      {"atn", "20", "0", "81 42 AA D1 3C"},                {"atn", "-0.5", "0", "7F ED 63 38 2B"},
      {"atn", "7F 4C CC CC CD", "0", "7F 42 D1 BB 5C"},    {"tan", "1", "0", "81 47 59 22 E5"},
      {"tan", "75 B9 14 8E 32", "0", "75 B9 14 8E 50"},    {"tan", "7C 85 CC 6C 38", "0", "7C 85 D8 9C 64"},
      {"tan", "81 B1 C4 19 F6", "0", "83 AD E1 15 CB"},    {"cos", "0", "0", "80 7F FF FF FF"},
      {"fpwrt", "31", "2", "A0 00 00 00 00"},              {"fpwrt", "2", "2", "83 00 00 00 00"},
      {"fpwrt", "0.5", "10", "82 4A 62 C1 D7"},            {"fpwrt", "3", "-3", "85 D8 00 00 02"},
      {"fpwrt", "1", "10", "84 20 00 00 00"},
  }, Result::Stored);
}

TEST(FloatFunctions, LeaveTheGenuineBytesForRandomArgumentsInAtMostTwiceItsCycles) {
  if (SetsToRun().size() < 2) GTEST_SKIP() << "the genuine ROM images are not in $VORNCE_ROMS or ../shared/roms";
  for (const Range& range : ranges) {
    std::mt19937 random(11);
    const int count = 200;
    int same = 0, shown = 0;
    uint32_t cycles[2] = {};
    for (int i = 0; i < count; ++i) {
      Packed x = PackNumber(range.low + (range.high - range.low) * (random() / 4294967296.0));
      for (int byte = 2; byte < 5; ++byte) x[byte] = static_cast<uint8_t>(random());  // every mantissa bit
      const Packed base = PackNumber(0.5 + 10 * (random() / 4294967296.0));
      // every other argument as an expression leaves it, with bits in the extension byte
      const uint8_t facov = i % 2 ? static_cast<uint8_t>(random()) : 0;
      std::string stored[2];
      for (RomSet set : {RomSet::Genuine, RomSet::Builtin}) {
        const int which = set == RomSet::Builtin;
        stored[which] = Stored(set, range.routine, x, base, facov, &cycles[which]);
      }
      if (stored[0] == stored[1]) ++same;
      else if (shown++ < 3)
        ADD_FAILURE() << range.routine << " " << PackedText(x) << " extension " << int{facov} << " ("
                      << PackedText(base) << "): genuine " << stored[0] << ", built-in " << stored[1];
    }
    std::printf("%-5s same bytes %3d/%d; cycles: genuine %6u, built-in %6u\n", range.routine, same, count,
                cycles[0] / count, cycles[1] / count);
    EXPECT_EQ(same, count) << range.routine;
    EXPECT_LE(cycles[1], 2 * cycles[0]) << range.routine;
  }
}
