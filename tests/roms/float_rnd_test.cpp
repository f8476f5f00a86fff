// float_rnd_test.cpp: the built-in BASIC's RND (float_rnd.s): the genuine sequence from a given
// seed, reseeding by a negative argument, RND(0) from CIA 1's registers.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "chips/cia.h"
#include "core/machine.h"
#include "support/basic_call.h"

namespace {
constexpr uint16_t kSeed = 0x8B;

// RND(argument): FAC's value afterwards as stored, and the seed it left.
std::string Random(RomSet set, const Packed& argument) {
  PokePacked(0xC000, argument);
  CallRoutine(RoutineAddress(set, "movfm"), 0x00, 0, 0xC0);
  const CallResult result = CallRoutine(RoutineAddress(set, "rnd"));
  if (result.error >= 0) return "error " + std::to_string(result.error);
  CallRoutine(RoutineAddress(set, "movmf"), 0, 0x20, 0xC0);
  const std::string value = PackedText(PeekPacked(0xC020)), seed = PackedText(PeekPacked(kSeed));
  return value == seed ? value : value + " but the seed is " + seed;
}
}  // namespace

TEST(FloatRnd, PositiveArgumentsFollowTheGenuineSequence) {
  const struct {
    const char* seed;
    const char* next[3];
  } cases[] = {
      {"00 00 00 00 00", {"77 0D 63 50 D0", "80 4B 13 3A C9", "7F 65 D5 95 1F"}},
      {"80 00 00 00 00", {"77 74 89 6B 2E", "80 51 91 26 AE", "80 46 AE 63 95"}},
      {"81 40 00 00 00", {"80 00 5B F3 88", "80 0F B1 C6 B6", "7F 48 84 FD 97"}},
      {"93 12 34 56 78", {"7F 5A 72 19 9F", "80 06 1A AD 9B", "7F 74 EF D3 7B"}},
  };
  for (RomSet set : SetsToRun()) {
    ASSERT_TRUE(PrepareBasicCall(set));
    for (const auto& c : cases) {
      PokePacked(kSeed, Operand(c.seed));
      const double arguments[] = {8, 1, 0.5};  // any positive argument takes the next one
      for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Random(set, PackNumber(arguments[i])), c.next[i]) << SetName(set) << ": seed " << c.seed;
    }
  }
}

TEST(FloatRnd, NegativeArgumentsReseedFromThemselves) {
  const struct {
    const char* argument;
    const char* value;
  } cases[] = {{"-1", "68 00 81 00 00"}, {"-3.5", "68 60 82 00 00"}, {"-1E10", "78 79 02 95 A2"}, {"-0.001", "80 18 6E 12 83"}};
  for (RomSet set : SetsToRun()) {
    ASSERT_TRUE(PrepareBasicCall(set));
    for (const auto& c : cases) {
      PokePacked(kSeed, Operand("93 12 34 56 78"));
      EXPECT_EQ(Random(set, Operand(c.argument)), c.value) << SetName(set) << ": RND(" << c.argument << ")";
    }
  }
}

TEST(FloatRnd, ZeroTakesCiaOnesTimerAndClock) {
  const struct {
    uint8_t timerLow, timerHigh, tenths, seconds;
    const char* value;
  } cases[] = {
      {0x12, 0x34, 0x56, 0x78, "7D 12 B1 A3 C0"},
      {0x00, 0x9A, 0x05, 0x31, "73 33 46 20 00"},
      {0x00, 0x00, 0x00, 0x00, "00 00 00 00 00"},
  };
  for (RomSet set : SetsToRun()) {
    ASSERT_TRUE(PrepareBasicCall(set));
    for (const auto& c : cases) {
      cia1Regs[4] = c.timerLow;
      cia1Regs[5] = c.timerHigh;
      cia1Regs[8] = c.tenths;
      cia1Regs[9] = c.seconds;
      PokePacked(kSeed, Operand("93 12 34 56 78"));
      EXPECT_EQ(Random(set, Operand("0")), c.value) << SetName(set);
    }
  }
}

TEST(FloatRnd, RandomSeedsGiveTheGenuineNumbers) {
  if (SetsToRun().size() < 2) GTEST_SKIP() << "the genuine ROM images are not in $VORNCE_ROMS or ../shared/roms";
  std::mt19937 random(8);
  for (int i = 0; i < 200; ++i) {
    const Packed seed = RandomPacked(random), argument = i % 2 ? RandomPacked(random) : PackNumber(1);
    std::string values[2];
    for (RomSet set : {RomSet::Genuine, RomSet::Builtin}) {
      PrepareBasicCall(set);
      PokePacked(kSeed, seed);
      values[set == RomSet::Builtin] = Random(set, argument);
    }
    EXPECT_EQ(values[1], values[0]) << "seed " << PackedText(seed) << ", RND(" << PackedText(argument) << ")";
  }
}
