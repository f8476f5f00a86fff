// float_convert_test.cpp: the built-in BASIC reading numbers from text (fin in float_convert.s)
// through CHRGET, against results recorded from the genuine BASIC and, where its images are
// present, against the genuine routine itself.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "core/machine.h"
#include "support/basic_call.h"

namespace {
constexpr uint16_t kText = 0xC100;

// Reads text with fin, entered as after CHRGOT; the stored number, the characters taken and A.
struct Reading {
  std::string stored;
  int taken = 0;
  int a = 0;
};

Reading Read(RomSet set, const std::string& text) {
  PrepareBasicCall(set);
  PutText(kText, text);
  const CallResult result = CallAfterChrgot(RoutineAddress(set, "fin"));
  Reading reading;
  if (result.error >= 0) {
    reading.stored = "error " + std::to_string(result.error);
    return reading;
  }
  reading.taken = (Ram[0x7A] | Ram[0x7B] << 8) - kText;
  reading.a = result.a;
  CallRoutine(RoutineAddress(set, "movmf"), 0, 0x20, 0xC0);
  // a zero's mantissa bytes are whatever the genuine package left there: only the exponent counts
  reading.stored = Ram[0xC020] == 0 ? "00" : PackedText(PeekPacked(0xC020));
  return reading;
}
}  // namespace

TEST(FloatConvert, ReadsNumbersAsTheGenuineBasicDoes) {
  const struct {
    const char* text;
    const char* stored;
    int taken;
  } cases[] = {
      {"1", "81 00 00 00 00", 1},
      {"123456789", "9B 6B 79 A2 A0", 9},
      {"1234567890", "9F 13 2C 05 A4", 10},
      {"4294967296", "A1 00 00 00 00", 10},
      {"12345678901234567890", "C0 2B 54 A9 8E", 20},
      {".5", "80 00 00 00 00", 2},
      {"0.1", "7D 4C CC CC CD", 3},
      {"3.14159265358979", "82 49 0F DA A2", 16},
      {"1E10", "A2 15 02 F9 00", 4},
      {"1E+10", "A2 15 02 F9 00", 5},
      {"1E-10", "5F 5B E6 FE D0", 5},
      {"1.5E-3", "77 44 9B A5 E4", 6},
      {"1E", "81 00 00 00 00", 2},
      {".", "00", 1},
      {"-", "00", 1},
      {"-1", "81 80 00 00 00", 2},
      {"+1", "81 00 00 00 00", 2},
      {"1E39", "error 15", 0},
      {"1.7E38", "FF 7F C9 9E 41", 6},
      {"1E-39", "00", 5},
      {"3E-39", "01 02 AB 1E 2A", 5},
      {"  12  34", "8B 1A 40 00 00", 8},
      {"1..2", "81 00 00 00 00", 2},
      {"1E5E5", "91 43 50 00 00", 3},
      {"99999999.9", "9B 3E BC 1F FD", 10},
      {"1E99", "error 15", 0},
      {"0E100", "error 15", 0},
      {"1E-100", "00", 6},
      {"123.456E2", "8E 40 E6 66 66", 9},
      {"1e5", "81 00 00 00 00", 1},
      {"12X", "84 40 00 00 00", 2},
      {"1E\xAB" "2", "7A 23 D7 0A 3E", 4},  // the exponent's sign may be a token
      {"\xAB" "5", "00", 0},     // the number's own may not
      {"1E+-5", "81 00 00 00 00", 3},
      {"E5", "00", 2},
      {".000000000000000000000000000000000000000000001E43", "7A 23 D7 0A 3E", 49},
  };
  for (RomSet set : SetsToRun()) {
    for (const auto& c : cases) {
      const Reading reading = Read(set, c.text);
      EXPECT_EQ(reading.stored, c.stored) << SetName(set) << ": " << c.text;
      if (reading.stored.rfind("error", 0) == 0) continue;
      EXPECT_EQ(reading.taken, c.taken) << SetName(set) << ": " << c.text;
      EXPECT_EQ(reading.a, Ram[0xC020] != 0 && (Ram[0xC021] & 0x80) ? 0xFF : 0x00)
          << SetName(set) << ": A is the sign, " << c.text;
    }
  }
}

TEST(FloatConvert, RandomNumbersReadAsTheGenuineBasicReadsThem) {
  if (SetsToRun().size() < 2) GTEST_SKIP() << "the genuine ROM images are not in $VORNCE_ROMS or ../shared/roms";
  std::mt19937 random(77);
  int differing = 0;
  for (int i = 0; i < 400; ++i) {
    std::string text;
    const int digits = 1 + random() % 14;
    const int point = random() % 2 ? static_cast<int>(random() % (digits + 1)) : -1;
    for (int d = 0; d < digits; ++d) {
      if (d == point) text += '.';
      text += static_cast<char>('0' + random() % 10);
    }
    if (random() % 2) text += (random() % 2 ? "E-" : "E") + std::to_string(random() % 40);
    const Reading genuine = Read(RomSet::Genuine, text), builtin = Read(RomSet::Builtin, text);
    const bool same = genuine.stored == builtin.stored && genuine.taken == builtin.taken;
    if (!same && ++differing <= 5)
      ADD_FAILURE() << text << ": genuine " << genuine.stored << ", built-in " << builtin.stored;
  }
  EXPECT_EQ(differing, 0);
}

TEST(FloatConvert, TakesAtMostTwiceTheGenuineCycles) {
  if (SetsToRun().size() < 2) GTEST_SKIP() << "the genuine ROM images are not in $VORNCE_ROMS or ../shared/roms";
  for (const char* text : {"3.14159265", "12345", "1E-20", "0.001", "123456789012", "1"}) {
    uint32_t cycles[2] = {};
    for (RomSet set : {RomSet::Genuine, RomSet::Builtin}) {
      PrepareBasicCall(set);
      PutText(kText, text);
      cycles[set == RomSet::Builtin] = CallAfterChrgot(RoutineAddress(set, "fin")).cycles;
    }
    std::printf("fin %-13s genuine %6u cycles, built-in %6u\n", text, cycles[0], cycles[1]);
    EXPECT_LE(cycles[1], 2 * cycles[0]) << text;
  }
}
