// float_muldiv_test.cpp: the built-in BASIC's multiplication, division and steps by ten
// (float_muldiv.s), against results recorded from the genuine BASIC, and, where its images are
// present, against the genuine package itself: random operands bit for bit, and speed.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "core/machine.h"
#include "support/basic_call.h"

TEST(FloatMulDiv, MultiplyAndDivideGiveTheGenuineResults) {
  ExpectMemoryOperations({
      {"fmult", "3", "4", 0x00, "84 40 00 00 00"},
      {"fmult", "0.1", "10", 0x00, "81 00 00 00 00"},
      {"fmult", "1E20", "1E20", 0x00, "error 15"},
      {"fmult", "1E-20", "1E-20", 0x00, "00"},
      {"fmult", "-2", "3", 0x00, "83 C0 00 00 00"},
      {"fmult", "80 2A AA AA AB", "3", 0x00, "82 00 00 00 00"},
      {"fmult", "65535", "65535", 0x00, "A0 7F FE 00 01"},
      {"fmult", "0", "-7", 0x00, "00"},
      {"fmult", "-7", "0", 0x00, "00"},
      {"fmult", "8C EB 8C 48 FF", "4F C0 90 81 CC", 0x00, "5B 31 2E 2D 16"},
      // the extension byte is the multiplier's lowest byte
      {"fmult", "9B 19 B2 14 FE", "8B FC EA 9C 9D", 0x80, "A6 97 D8 27 78"},
      {"fmult", "C0 7F FF FF FF", "C1 7F FF FF FF", 0x00, "error 15"},
      // each zero multiplier byte after another zero byte drops one bit more of the product
      {"fmult", "81 7F FF FF FF", "81 00 00 00 00", 0x80, "81 7F FF FF FF"},
      {"fmult", "81 00 00 00 00", "81 00 00 00 01", 0x80, "81 00 00 00 01"},
      {"fdiv", "1", "3", 0x00, "7F 2A AA AA AB"},
      {"fdiv", "2", "3", 0x00, "80 2A AA AA AB"},
      {"fdiv", "1", "0", 0x00, "error 20"},
      {"fdiv", "0", "5", 0x00, "00"},
      {"fdiv", "10", "4", 0x00, "82 20 00 00 00"},
      {"fdiv", "-1", "7", 0x00, "7E 92 49 24 92"},
      {"fdiv", "1E38", "1E-5", 0x00, "error 15"},
      {"fdiv", "1E-38", "1E5", 0x00, "00"},
      // the exponent is checked as if the quotient were 1 or more, before it is normalised
      {"fdiv", "05 D7 D4 5E 00", "85 93 DA 1D CD", 0x00, "01 3A D9 A8 C0"},
      {"fdiv", "9B 01 FE 9F F5", "1C CB 72 63 1F", 0xA0, "error 15"},
      // the divisor is rounded first
      {"fdiv", "80 01 80 3C D1", "73 AF EA 79 C8", 0xC6, "8D BC 74 7B E4"},
      {"fdiv", "2B 14 1E 24 67", "85 39 F0 FC D2", 0x7C, "26 4B EC DE B6"},
  });
}

TEST(FloatMulDiv, StepsByTenLeaveTheGenuineFac) {
  ExpectFacAfter({
      {"mul10", "0", 0x00, "00"},
      {"mul10", "1.5", 0x00, "84 F0 00 00 00 40 00"},
      {"mul10", "0.1", 0x00, "81 80 00 00 00 4C 20"},
      {"mul10", "-3", 0x00, "85 F0 00 00 00 C0 00"},
      {"mul10", "1.7E38", 0x00, "error 15"},
      {"mul10", "7F 4C CC CC CD", 0x90, "83 80 00 00 00 4C C0"},
      {"div10", "1", 0x00, "7D CC CC CC CC 00 80"},
      {"div10", "0", 0x00, "00"},
      {"div10", "35", 0x00, "82 E0 00 00 00 00 00"},
      {"div10", "1E-38", 0x00, "00"},
      {"div10", "99999999.9", 0x00, "98 98 96 7F FD 00 80"},
  });
}

TEST(FloatMulDiv, DividingANegativeNumberByTenKeepsItsSign) {
  // The genuine div10 turns -35 into 3.5; ours keeps the sign.
  ASSERT_TRUE(PrepareBasicCall(RomSet::Builtin));
  EXPECT_EQ(FacAfter(RomSet::Builtin, "div10", Operand("-35")), "82 E0 00 00 00 80 00");
}

namespace {
bool GenuinePresent() { return SetsToRun().size() == 2; }

// FAC and its extension after the routine, as both packages leave them.
std::string RandomCase(RomSet set, const char* routine, const Packed& left, const Packed& fac, uint8_t facov) {
  PrepareBasicCall(set);
  PokePacked(0xC000, fac);
  CallRoutine(RoutineAddress(set, "movfm"), 0x00, 0, 0xC0);
  Ram[0x70] = facov;
  PokePacked(0xC010, left);
  const CallResult result = CallRoutine(RoutineAddress(set, routine), 0x10, 0, 0xC0);
  if (result.error >= 0) return "error " + std::to_string(result.error);
  return Ram[0x61] == 0 ? "00" : FacText();
}
}  // namespace

TEST(FloatArithmetic, RandomOperandsLeaveTheGenuineFacBitForBit) {
  if (!GenuinePresent()) GTEST_SKIP() << "the genuine ROM images are not in $VORNCE_ROMS or ../shared/roms";
  for (const char* routine : {"fadd", "fsub", "fmult", "fdiv"}) {
    std::mt19937 random(2024);
    int differing = 0;
    for (int i = 0; i < 400; ++i) {
      const Packed left = RandomPacked(random), fac = RandomPacked(random);
      const uint8_t facov = random() % 2 ? static_cast<uint8_t>(random()) : 0;
      const std::string genuine = RandomCase(RomSet::Genuine, routine, left, fac, facov);
      const std::string builtin = RandomCase(RomSet::Builtin, routine, left, fac, facov);
      // The sign byte's low bits are the sign of neither; only its top bit is compared.
      const bool same = genuine.size() != builtin.size() || genuine.size() < 20
                            ? genuine == builtin
                            : genuine.substr(0, 14) == builtin.substr(0, 14) && genuine.substr(18) == builtin.substr(18) &&
                                  (std::stoi(genuine.substr(15, 2), nullptr, 16) & 0x80) ==
                                      (std::stoi(builtin.substr(15, 2), nullptr, 16) & 0x80);
      if (!same && ++differing <= 5)
        ADD_FAILURE() << PackedText(left) << " " << routine << " " << PackedText(fac) << " extension " << int(facov)
                      << ": genuine " << genuine << ", built-in " << builtin;
    }
    EXPECT_EQ(differing, 0) << routine;
  }
}

TEST(FloatArithmetic, TakesAtMostTwiceTheGenuineCycles) {
  if (!GenuinePresent()) GTEST_SKIP() << "the genuine ROM images are not in $VORNCE_ROMS or ../shared/roms";
  const char* operands[][2] = {{"3.14159265", "2.71828183"}, {"-1234.5678", "0.00123"}, {"1E10", "7"}, {"0.1", "0.3"}};
  for (const char* routine : {"fadd", "fsub", "fmult", "fdiv"}) {
    uint32_t cycles[2] = {};
    for (RomSet set : {RomSet::Genuine, RomSet::Builtin}) {
      for (const auto& pair : operands) {
        PrepareBasicCall(set);
        PokePacked(0xC000, Operand(pair[1]));
        CallRoutine(RoutineAddress(set, "movfm"), 0x00, 0, 0xC0);
        PokePacked(0xC010, Operand(pair[0]));
        cycles[set == RomSet::Builtin] += CallRoutine(RoutineAddress(set, routine), 0x10, 0, 0xC0).cycles;
      }
    }
    std::printf("%-6s genuine %5u cycles, built-in %5u cycles (4 operations)\n", routine, cycles[0], cycles[1]);
    EXPECT_LE(cycles[1], 2 * cycles[0]) << routine;
  }
}
