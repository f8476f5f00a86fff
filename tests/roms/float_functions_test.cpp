// float_functions_test.cpp: the built-in BASIC's number functions (float_functions.s): the
// digits they print against those the genuine BASIC prints (recorded, and compared live where
// its images are present), their special cases and errors, their accuracy against the host's
// own functions, and their speed against the genuine ones.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "core/machine.h"
#include "support/basic_call.h"

namespace {
// FAC = x (ARG = base for fpwrt, which computes base ^ x), the routine, then fout's text or
// "error N".
std::string Printed(RomSet set, const std::string& routine, const Packed& x, const Packed& base,
                    uint32_t* cycles = nullptr) {
  PrepareBasicCall(set);
  PokePacked(0xC000, x);
  CallRoutine(RoutineAddress(set, "movfm"), 0x00, 0, 0xC0);
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
  CallRoutine(RoutineAddress(set, "fout"));
  std::string text;
  for (uint16_t at = 0x0100; Ram[at] != 0 && at < 0x0120; ++at) text += static_cast<char>(Ram[at]);
  return text;
}

double Exact(const std::string& routine, double x, double base) {
  if (routine == "sqr") return std::sqrt(x);
  if (routine == "exp") return std::exp(x);
  if (routine == "log") return std::log(x);
  if (routine == "sin") return std::sin(x);
  if (routine == "cos") return std::cos(x);
  if (routine == "tan") return std::tan(x);
  if (routine == "atn") return std::atan(x);
  return std::pow(base, x);
}

struct Range {
  const char* routine;
  double low, high;
};
const Range ranges[] = {{"sqr", 0, 1000},    {"exp", -80, 88}, {"log", 0.001, 1e6}, {"sin", -10, 10},
                        {"cos", -10, 10},    {"tan", -1.5, 1.5}, {"atn", -20, 20},  {"fpwrt", 0.1, 5}};
}  // namespace

TEST(FloatFunctions, PrintTheGenuineDigits) {
  const struct {
    const char* routine;
    const char* x;
    const char* base;  // fpwrt: base ^ x
    const char* printed;
  } cases[] = {
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
  };
  for (RomSet set : SetsToRun())
    for (const auto& c : cases)
      EXPECT_EQ(Printed(set, c.routine, Operand(c.x), Operand(c.base)), c.printed)
          << SetName(set) << ": " << c.routine << " " << c.x << " (" << c.base << ")";
}

TEST(FloatFunctions, SpecialCasesAndErrorsAreTheGenuineOnes) {
  const struct {
    const char* routine;
    const char* x;
    const char* base;
    const char* printed;
  } cases[] = {
      {"sqr", "-1", "0", "error 14"},     {"log", "0", "0", "error 14"},     {"log", "-5", "0", "error 14"},
      {"exp", "88.03", "0", "error 15"},  {"exp", "200", "0", "error 15"},   {"fpwrt", "0", "5", " 1"},
      {"fpwrt", "0", "0", " 1"},          {"fpwrt", "-1", "0", " 0"},        {"fpwrt", "5", "0", " 0"},
      {"fpwrt", "0.5", "-8", "error 14"}, {"fpwrt", "128", "2", "error 15"}, {"fpwrt", "127", "2", "error 15"},
  };
  for (RomSet set : SetsToRun())
    for (const auto& c : cases)
      EXPECT_EQ(Printed(set, c.routine, Operand(c.x), Operand(c.base)), c.printed)
          << SetName(set) << ": " << c.routine << " " << c.x << " (" << c.base << ")";
}

TEST(FloatFunctions, StayWithinTheNinthDigitOfTheExactValues) {
  ASSERT_TRUE(PrepareBasicCall(RomSet::Builtin));
  for (const Range& range : ranges) {
    std::mt19937 random(5);
    double worst = 0;
    for (int i = 0; i < 150; ++i) {
      const Packed x = PackNumber(range.low + (range.high - range.low) * (random() / 4294967296.0));
      const Packed base = PackNumber(0.5 + 10 * (random() / 4294967296.0));
      const double exact = Exact(range.routine, UnpackNumber(x), UnpackNumber(base));
      const std::string printed = Printed(RomSet::Builtin, range.routine, x, base);
      const double error = std::fabs(std::strtod(printed.c_str(), nullptr) - exact) / std::fabs(exact);
      if (error > worst) worst = error;
      EXPECT_LT(error, 1e-8) << range.routine << " " << UnpackNumber(x) << ": printed " << printed;
    }
    std::printf("%-5s largest relative error %.2g\n", range.routine, worst);
  }
}

TEST(FloatFunctions, AgreeWithTheGenuineAndTakeAtMostTwiceItsCycles) {
  if (SetsToRun().size() < 2) GTEST_SKIP() << "the genuine ROM images are not in $VORNCE_ROMS or ../shared/roms";
  for (const Range& range : ranges) {
    std::mt19937 random(11);
    const int count = 200;
    int same = 0, correct[2] = {};
    uint32_t cycles[2] = {};
    for (int i = 0; i < count; ++i) {
      const Packed x = PackNumber(range.low + (range.high - range.low) * (random() / 4294967296.0));
      const Packed base = PackNumber(0.5 + 10 * (random() / 4294967296.0));
      char rounded[32];
      std::snprintf(rounded, sizeof rounded, "%.8e", Exact(range.routine, UnpackNumber(x), UnpackNumber(base)));
      std::string printed[2];
      for (RomSet set : {RomSet::Genuine, RomSet::Builtin}) {
        const int which = set == RomSet::Builtin;
        printed[which] = Printed(set, range.routine, x, base, &cycles[which]);
        if (std::strtod(printed[which].c_str(), nullptr) == std::strtod(rounded, nullptr)) ++correct[which];
      }
      if (printed[0] == printed[1]) ++same;
    }
    std::printf("%-5s same text %3d/%d; correctly rounded: genuine %3d, built-in %3d; cycles: genuine %6u, "
                "built-in %6u\n",
                range.routine, same, count, correct[0], correct[1], cycles[0] / count, cycles[1] / count);
    EXPECT_GE(same, count / 2) << range.routine;
    EXPECT_GE(correct[1], correct[0] - count / 50) << range.routine << ": fewer correct digits than the genuine";
    EXPECT_LE(cycles[1], 2 * cycles[0]) << range.routine;
  }
}
