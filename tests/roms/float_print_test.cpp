// float_print_test.cpp: the built-in BASIC's number output (fout and linprt in float_print.s)
// against texts recorded from the genuine BASIC and, where its images are present, against the
// genuine routines themselves.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "core/machine.h"
#include "support/basic_call.h"

namespace {
std::string Printed(RomSet set, const Packed& number, CallResult* call = nullptr) {
  PrepareBasicCall(set);
  PokePacked(0xC000, number);
  CallRoutine(RoutineAddress(set, "movfm"), 0x00, 0, 0xC0);
  const CallResult result = CallRoutine(RoutineAddress(set, "fout"));
  if (call) *call = result;
  std::string text;
  for (uint16_t at = 0x0100; Ram[at] != 0 && at < 0x0120; ++at) text += static_cast<char>(Ram[at]);
  return text;
}
}  // namespace

TEST(FloatPrint, NumbersReadAsTheGenuineBasicPrintsThem) {
  const struct {
    const char* number;
    const char* text;
  } cases[] = {
      {"0", " 0"},
      {"1", " 1"},
      {"-1", "-1"},
      {"0.5", " .5"},
      {"0.25", " .25"},
      {"80 2A AA AA AB", " .666666667"},
      {"80 2A AA AA AA", " .666666667"},
      {"81 2A AA AA AB", " 1.33333333"},
      {"0.01", " .01"},
      {"0.001", " 1E-03"},
      {"0.1", " .1"},
      {"0.011", " .011"},
      {"0.0099", " 9.9E-03"},
      {"99999999.9", " 99999999.9"},
      {"999999999", " 999999999"},
      {"999999999.25", " 999999999"},
      {"1E9", " 1E+09"},
      {"1E10", " 1E+10"},
      {"123456789012", " 1.23456789E+11"},
      {"1.5E-3", " 1.5E-03"},
      {"1E-10", " 1E-10"},
      {"1E38", " 1E+38"},
      {"1.7E38", " 1.7E+38"},
      {"3.14159265", " 3.14159265"},
      {"100", " 100"},
      {"1000000", " 1000000"},
      {"12345.678", " 12345.678"},
      {"-0.05", "-.05"},
      {"9E-3", " 9E-03"},
      {"-123.25", "-123.25"},
      {"1.23456789E-5", " 1.23456789E-05"},
      {"4294967295", " 4.2949673E+09"},
      {"65535", " 65535"},
      {"00 E2 3D 79 3B", "-0"},  // a zero that kept its sign
      {"FF 7F FF FF FF", " 1.70141183E+38"},
      {"01 00 00 00 00", " 2.93873588E-39"},
      {"7F 4C CC CC CD", " .4"},
      {"1E15", " 1E+15"},
  };
  for (RomSet set : SetsToRun()) {
    for (const auto& c : cases) {
      CallResult call;
      EXPECT_EQ(Printed(set, Operand(c.number), &call), c.text) << SetName(set) << ": " << c.number;
      EXPECT_EQ(call.a, 0x00) << "the text's address, low byte";
      EXPECT_EQ(call.y, 0x01) << "the text's address, high byte";
    }
  }
}

TEST(FloatPrint, LineNumbersPrintWithoutSpaces) {
  const int numbers[] = {0, 1, 9, 10, 99, 100, 12345, 32767, 32768, 63999, 65535};
  for (RomSet set : SetsToRun()) {
    for (int number : numbers) {
      PrepareBasicCall(set);
      const CallResult result = CallRoutine(RoutineAddress(set, "linprt"), number >> 8, number & 0xFF, 0);
      EXPECT_EQ(result.printed, std::to_string(number)) << SetName(set);
    }
  }
}

TEST(FloatPrint, RandomNumbersPrintAsTheGenuineBasicPrintsThem) {
  if (SetsToRun().size() < 2) GTEST_SKIP() << "the genuine ROM images are not in $VORNCE_ROMS or ../shared/roms";
  std::mt19937 random(31);
  int differing = 0;
  for (int i = 0; i < 600; ++i) {
    Packed number = RandomPacked(random);
    if (i % 3 == 0) number[0] = static_cast<uint8_t>(random());
    const std::string genuine = Printed(RomSet::Genuine, number), builtin = Printed(RomSet::Builtin, number);
    if (genuine != builtin && ++differing <= 5)
      ADD_FAILURE() << PackedText(number) << ": genuine '" << genuine << "', built-in '" << builtin << "'";
  }
  EXPECT_EQ(differing, 0);
}

TEST(FloatPrint, TakesAtMostTwiceTheGenuineCycles) {
  if (SetsToRun().size() < 2) GTEST_SKIP() << "the genuine ROM images are not in $VORNCE_ROMS or ../shared/roms";
  for (const char* number : {"3.14159265", "12345", "1E-20", "0.001", "123456789012", "1"}) {
    CallResult call[2];
    for (RomSet set : {RomSet::Genuine, RomSet::Builtin}) Printed(set, Operand(number), &call[set == RomSet::Builtin]);
    std::printf("fout %-13s genuine %6u cycles, built-in %6u\n", number, call[0].cycles, call[1].cycles);
    EXPECT_LE(call[1].cycles, 2 * call[0].cycles) << number;
  }
}
