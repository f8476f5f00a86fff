// float_core_test.cpp: the built-in BASIC's floating-point core (float_core.s) called as machine
// code calls it: loads and stores, addition and subtraction, rounding, signs, comparison and the
// integer conversions. The expected values were recorded from the genuine BASIC; where its
// images are present every case runs there too.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/machine.h"
#include "support/basic_call.h"

TEST(FloatCore, AddAndSubtractGiveTheGenuineResults) {
  ExpectMemoryOperations({
      {"fadd", "1", "2", 0x00, "82 40 00 00 00"},
      {"fadd", "0.1", "0.2", 0x00, "7F 19 99 99 9A"},
      {"fadd", "1E10", "1", 0x00, "A2 15 02 F9 00"},
      {"fadd", "1", "1E-20", 0x00, "81 00 00 00 00"},
      {"fadd", "-1", "1", 0x00, "00"},
      {"fadd", "1.5", "-1.25", 0x00, "7F 00 00 00 00"},
      {"fadd", "1.7E38", "1.7E38", 0x00, "error 15"},
      {"fadd", "0", "5", 0x00, "83 20 00 00 00"},
      {"fadd", "5", "0", 0x00, "83 20 00 00 00"},
      {"fadd", "4294967295", "1", 0x00, "A1 00 00 00 00"},
      {"fadd", "-5", "3", 0x00, "82 80 00 00 00"},
      // FAC's extension byte takes part, and equal exponents round it up on a carry
      {"fadd", "7F EE 75 24 36", "7F 91 EC 15 6C", 0x0F, "80 C0 30 9C D1"},
      {"fadd", "7B 22 3B 87 4B", "7A 78 57 6B 05", 0xB6, "7C 0F 33 9E 67"},
      {"fadd", "81 40 00 00 00", "81 40 00 00 01", 0xFF, "82 40 00 00 01"},
      {"fadd", "84 7D 64 9B A5", "88 20 A2 0A 17", 0x19, "88 30 78 53 D1"},
      // a difference left only in the extension byte is 0
      {"fadd", "80 80 00 00 00", "80 00 00 00 00", 0xB0, "00"},
      {"fsub", "5", "2", 0x00, "82 40 00 00 00"},
      {"fsub", "2", "5", 0x00, "82 C0 00 00 00"},
      {"fsub", "1", "1", 0x00, "00"},
      {"fsub", "0.3", "0.1", 0x00, "7E 4C CC CC CE"},
      {"fsub", "1E9", "1E-9", 0x00, "9E 6E 6B 28 00"},
      {"fsub", "81 40 00 00 00", "81 40 00 00 01", 0x01, "62 80 80 00 00"},
      {"fsub", "7E E6 1F B2 59", "7E 79 F1 BB 7A", 0x39, "7F F0 08 B6 EA"},
      {"fsub", "-1.7E38", "1.7E38", 0x00, "error 15"},
  });
}

TEST(FloatCore, RoundingSignsAndIntegersLeaveTheGenuineFac) {
  // The FAC as "exponent, mantissa, sign byte, extension", "00" for zero.
  ExpectFacAfter({
      {"round", "81 00 00 00 00", 0x80, "81 80 00 00 01 00 00"},
      {"round", "81 00 00 00 00", 0x7F, "81 80 00 00 00 00 FE"},
      {"round", "81 7F FF FF FF", 0x80, "82 80 00 00 00 7F 00"},
      {"round", "FF 7F FF FF FF", 0x80, "error 15"},
      {"round", "00 00 00 00 00", 0xFF, "00"},
      {"movaf", "81 7F FF FF FF", 0x80, "82 80 00 00 00 7F 00"},
      {"faddh", "0", 0x00, "80 80 00 00 00 00 00"},
      {"faddh", "-0.5", 0x00, "00"},
      {"faddh", "1E10", 0x00, "A2 95 02 F9 00 15 20"},
      {"sgn", "0", 0x00, "00"},
      {"sgn", "-7.5", 0x00, "81 80 00 00 00 FF 00"},
      {"sgn", "1E-30", 0x00, "81 80 00 00 00 00 00"},
      {"abs", "-7.5", 0x00, "83 F0 00 00 00 78 00"},
      {"abs", "7.5", 0x00, "83 F0 00 00 00 38 00"},
      {"negop", "2", 0x00, "82 80 00 00 00 FF 00"},
      {"negop", "-2", 0x00, "82 80 00 00 00 7F 00"},
      {"negop", "0", 0x00, "00"},
      {"int", "1.5", 0x00, "81 80 00 00 00 00 00"},
      {"int", "-1.5", 0x00, "82 80 00 00 00 FF 00"},
      {"int", "-1", 0x00, "81 80 00 00 00 FF 00"},
      {"int", "0.999", 0x00, "00"},
      {"int", "-0.001", 0x00, "81 80 00 00 00 FF 00"},
      {"int", "123456789.9", 0x00, "9B EB 79 A2 A0 00 00"},
      {"int", "-2147483648.5", 0x00, "A0 80 00 00 01 80 00"},
      {"int", "1E10", 0x00, "A2 95 02 F9 00 15 00"},
      {"int", "-1E20", 0x00, "C3 AD 78 EB C6 AD 00"},
      {"int", "81 00 00 00 00", 0xFF, "81 80 00 00 00 00 00"},
  });
}

TEST(FloatCore, IntegerPartsComeOutAsTheGenuineOnesDo) {
  // The exponent and the 32-bit integer qint leaves in $62-$65; ayint's 16 bits are the last two.
  const struct {
    const char* routine;
    const char* fac;
    const char* after;
  } cases[] = {
      {"qint", "1.5", "81 00 00 00 01"},
      {"qint", "-1.5", "81 FF FF FF FE"},
      {"qint", "65535.9", "90 00 00 FF FF"},
      {"qint", "-65536", "91 FF FF 00 00"},
      {"qint", "2147483647", "9F 7F FF FF FF"},
      {"qint", "-2147483648", "A0 FF FF FF FF"},
      {"qint", "0.25", "7F 00 00 00 00"},
      {"qint", "-0.25", "7F FF FF FF FF"},
      {"qint", "3E9", "A0 00 00 00 00"},
      {"qint", "-3E9", "A0 FF FF FF FF"},
      {"ayint", "32767", "8F 00 00 7F FF"},
      {"ayint", "-32768", "90 FF FF 80 00"},
      {"ayint", "32768", "error 14"},
      {"ayint", "-32769", "error 14"},
      {"ayint", "-32768.5", "error 14"},
      {"ayint", "1.9", "81 00 00 00 01"},
      {"ayint", "-1.9", "81 FF FF FF FE"},
      {"ayint", "1E10", "error 14"},
  };
  for (RomSet set : SetsToRun()) {
    ASSERT_TRUE(PrepareBasicCall(set));
    for (const auto& c : cases)
      EXPECT_EQ(FacAfter(set, c.routine, Operand(c.fac)).substr(0, 14), c.after)
          << SetName(set) << ": " << c.routine << " " << c.fac;
  }
}

TEST(FloatCore, IntegersBecomeNumbersAndBack) {
  const struct {
    const char* routine;
    uint8_t a, y;
    double value;
  } toNumber[] = {
      {"givayf", 0x00, 0x00, 0},     {"givayf", 0x7F, 0xFF, 32767}, {"givayf", 0x80, 0x00, -32768},
      {"givayf", 0xFF, 0xFF, -1},    {"givayf", 0x12, 0x34, 4660},  {"sngflt", 0x00, 0xFF, 255},
      {"sngflt", 0x00, 0x80, 128},   {"sngflt", 0x00, 0x00, 0},     {"float", 0x80, 0x00, -128},
      {"float", 0x7F, 0x00, 127},    {"float", 0xFF, 0x00, -1},
  };
  for (RomSet set : SetsToRun()) {
    ASSERT_TRUE(PrepareBasicCall(set));
    for (const auto& c : toNumber) {
      const CallResult result = CallRoutine(RoutineAddress(set, c.routine), c.a, 0, c.y);
      ASSERT_TRUE(result.finished);
      CallRoutine(RoutineAddress(set, "movmf"), 0, 0x20, 0xC0);
      EXPECT_EQ(UnpackNumber(PeekPacked(0xC020)), c.value) << SetName(set) << ": " << c.routine;
      EXPECT_EQ(Ram[0x66], c.value < 0 ? 0xFF : 0x00) << SetName(set) << ": the sign byte of " << c.value;
    }
  }

  const struct {
    const char* routine;
    double value;
    int error;
    uint8_t a, y;  // high, low
  } toInteger[] = {
      {"facinx", 1234.9, -1, 0x04, 0xD2}, {"facinx", -2, -1, 0xFF, 0xFE},      {"facinx", 40000, 14, 0, 0},
      {"getadr", 65535, -1, 0xFF, 0xFF},  {"getadr", 40000.5, -1, 0x9C, 0x40}, {"getadr", 65536, 14, 0, 0},
      {"getadr", -1, 14, 0, 0},
  };
  for (RomSet set : SetsToRun()) {
    ASSERT_TRUE(PrepareBasicCall(set));
    for (const auto& c : toInteger) {
      SCOPED_TRACE(std::string(SetName(set)) + ": " + c.routine + " " + std::to_string(c.value));
      PokePacked(0xC000, PackNumber(c.value));
      CallRoutine(RoutineAddress(set, "movfm"), 0x00, 0, 0xC0);
      const CallResult result = CallRoutine(RoutineAddress(set, c.routine));
      EXPECT_EQ(result.error, c.error);
      if (c.error >= 0) continue;
      EXPECT_EQ(result.a, c.a);
      EXPECT_EQ(result.y, c.y);
      if (std::string(c.routine) == "getadr") {
        EXPECT_EQ(Ram[0x14] | Ram[0x15] << 8, c.a << 8 | c.y);
      }
    }
  }
}

TEST(FloatCore, LoadsAndStoresKeepTheirRegisterConventions) {
  for (RomSet set : SetsToRun()) {
    ASSERT_TRUE(PrepareBasicCall(set));
    SCOPED_TRACE(SetName(set));
    // movfm: A = the exponent with Z for zero, Y = 0, X kept, the extension cleared.
    for (const char* value : {"-2.5", "0"}) {
      PokePacked(0xC000, Operand(value));
      Ram[0x70] = 0x55;
      const CallResult load = CallRoutine(RoutineAddress(set, "movfm"), 0x00, 0x5A, 0xC0);
      EXPECT_EQ(load.a, Ram[0xC000]);
      EXPECT_EQ(load.zero, Ram[0xC000] == 0);
      EXPECT_EQ(load.x, 0x5A);
      EXPECT_EQ(load.y, 0);
      EXPECT_EQ(Ram[0x70], 0);
    }
    // conupk: ARG unpacked, arisgn the two signs' difference, A = FAC's exponent.
    PokePacked(0xC000, Operand("3"));
    CallRoutine(RoutineAddress(set, "movfm"), 0x00, 0, 0xC0);
    PokePacked(0xC010, Operand("-0.75"));
    const CallResult arg = CallRoutine(RoutineAddress(set, "conupk"), 0x10, 0x33, 0xC0);
    EXPECT_EQ(arg.a, 0x82);
    EXPECT_EQ(arg.x, 0x33);
    EXPECT_EQ(Ram[0x69], 0x80);
    EXPECT_EQ(Ram[0x6A], 0xC0);
    EXPECT_TRUE(Ram[0x6E] & 0x80);
    EXPECT_TRUE(Ram[0x6F] & 0x80);
    // movmf rounds on the way out; mov1f and mov2f store to $57 and $5C.
    PokePacked(0xC000, Operand("81 00 00 00 00"));
    CallRoutine(RoutineAddress(set, "movfm"), 0x00, 0, 0xC0);
    Ram[0x70] = 0x80;
    const CallResult store = CallRoutine(RoutineAddress(set, "movmf"), 0, 0x30, 0xC0);
    EXPECT_EQ(PackedText(PeekPacked(0xC030)), "81 00 00 00 01");
    EXPECT_EQ(store.x, 0x30);
    EXPECT_EQ(Ram[0x70], 0);
    CallRoutine(RoutineAddress(set, "mov1f"));
    CallRoutine(RoutineAddress(set, "mov2f"));
    EXPECT_EQ(PackedText(PeekPacked(0x57)), "81 00 00 00 01");
    EXPECT_EQ(PackedText(PeekPacked(0x5C)), "81 00 00 00 01");
    // movfa and movef copy the six bytes across.
    PokePacked(0xC000, Operand("-6"));
    CallRoutine(RoutineAddress(set, "conupk"), 0x00, 0, 0xC0);
    CallRoutine(RoutineAddress(set, "movfa"));
    EXPECT_EQ(FacText().substr(0, 14), "83 C0 00 00 00");
    EXPECT_TRUE(Ram[0x66] & 0x80);
    Ram[0x70] = 0xC0;
    CallRoutine(RoutineAddress(set, "movef"));
    EXPECT_EQ(Ram[0x69], 0x83);
    EXPECT_EQ(Ram[0x6D], 0x00) << "movef does not round";
    EXPECT_EQ(Ram[0x70], 0x00);
  }
}

TEST(FloatCore, CompareAnswersWhichIsLarger) {
  const char* values[] = {"0", "1", "-1", "1.0000001", "0.5", "-0.5", "1E30", "-1E30", "81 00 00 00 01", "81 00 00 00 00"};
  for (RomSet set : SetsToRun()) {
    ASSERT_TRUE(PrepareBasicCall(set));
    for (const char* fac : values) {
      for (const char* memory : values) {
        const double facValue = UnpackNumber(Operand(fac)), memoryValue = UnpackNumber(Operand(memory));
        const uint8_t expected = facValue == memoryValue ? 0 : facValue > memoryValue ? 1 : 0xFF;
        PokePacked(0xC000, Operand(fac));
        CallRoutine(RoutineAddress(set, "movfm"), 0x00, 0, 0xC0);
        PokePacked(0xC010, Operand(memory));
        const CallResult result = CallRoutine(RoutineAddress(set, "fcomp"), 0x10, 0, 0xC0);
        EXPECT_EQ(result.a, expected) << SetName(set) << ": FAC " << fac << " against " << memory;
        const CallResult sign = CallRoutine(RoutineAddress(set, "fsign"), 0, 0x11, 0x22);
        EXPECT_EQ(sign.a, facValue == 0 ? 0 : facValue > 0 ? 1 : 0xFF) << SetName(set) << ": sign of " << fac;
        EXPECT_EQ(sign.x, 0x11);
        EXPECT_EQ(sign.y, 0x22);
      }
    }
  }
}

TEST(FloatCore, TheFacArgFormsTakeArgAsItStands) {
  // conupk, then the t-form entered with nothing in A: the same stored result as the memory form.
  const char* pairs[][2] = {{"1.5", "-2.25"}, {"1E10", "3"}, {"-7", "-0.001"}, {"0", "4"}};
  const char* forms[][2] = {{"fadd", "faddt"}, {"fsub", "fsubt"}, {"fmult", "fmultt"}, {"fdiv", "fdivt"}};
  ASSERT_TRUE(PrepareBasicCall(RomSet::Builtin));
  for (const auto& pair : pairs) {
    for (const auto& form : forms) {
      const std::string expected = MemoryOperation(RomSet::Builtin, form[0], Operand(pair[0]), Operand(pair[1]));
      PokePacked(0xC000, Operand(pair[1]));
      CallRoutine(RoutineAddress(RomSet::Builtin, "movfm"), 0x00, 0, 0xC0);
      PokePacked(0xC010, Operand(pair[0]));
      CallRoutine(RoutineAddress(RomSet::Builtin, "conupk"), 0x10, 0, 0xC0);
      Ram[0x6F] = 0x5A;  // arisgn is worked out again
      const CallResult result = CallRoutine(RoutineAddress(RomSet::Builtin, form[1]), 0, 0, 0);
      std::string stored = "error " + std::to_string(result.error);
      if (result.error < 0) {
        CallRoutine(RoutineAddress(RomSet::Builtin, "movmf"), 0, 0x20, 0xC0);
        stored = Ram[0xC020] == 0 ? "00" : PackedText(PeekPacked(0xC020));
      }
      EXPECT_EQ(stored, expected) << pair[0] << " " << form[1] << " " << pair[1];
    }
  }
}
