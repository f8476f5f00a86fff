// basic_memory_test.cpp: what BASIC leaves in memory for programs that PEEK and POKE it and for
// machine code that reads it: the variable and array layout, the pointers $2B-$38 and $3A, and
// string space after garbage collection. Each case runs under the built-in ROMs and, when they
// are present, under the genuine ones; both must leave the bytes the test keeps.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/machine.h"
#include "support/kernal_call.h"

namespace {
uint16_t Word(uint16_t address) { return static_cast<uint16_t>(Ram[address] | Ram[address + 1] << 8); }

std::string Hex(uint16_t from, uint16_t to) {
  std::string text;
  for (uint32_t address = from; address < to; ++address) {
    char byte[4];
    std::snprintf(byte, sizeof byte, "%02X ", Ram[address]);
    text += byte;
  }
  if (!text.empty()) text.pop_back();
  return text;
}

// Types the lines (each ended with RETURN) at READY and runs the machine for the seconds given.
void Type(RomSet set, const std::vector<std::string>& lines, double seconds) {
  ASSERT_TRUE(BootToReady(set));
  std::string typed;
  for (const std::string& line : lines) typed += line + "\r";
  TypeAndRun(typed, seconds);
}

bool ScreenShows(const std::string& text) {
  for (const std::string& line : ScreenLines())
    if (line == text) return true;
  return false;
}

std::string Screen() {
  std::string text;
  for (const std::string& line : ScreenLines()) text += line + "\n";
  return text;
}
}  // namespace

TEST(BasicMemory, VariablesAndArraysKeepTheirByteLayout) {
  const struct {
    const char* name;
    std::vector<std::string> lines;
    const char* variables;  // vartab up to arytab
    const char* arrays;     // arytab up to strend
  } cases[] = {
      {"a number, an integer, a string in string space and one in the program",
       {"10 A=1.5:B%=-2:C$=\"HI\"+\"\":D$=\"XY\":FC=-1E-3", "RUN"},
       "41 00 81 40 00 00 00 C2 80 FF FE 00 00 00 43 80 02 FE 9F 00 00 44 80 02 20 08 00 00 "
       "46 43 77 83 12 6E 98",
       ""},
      {"an integer array of two dimensions, the first subscript counting fastest",
       {"10 DIM D%(2,1):D%(1,1)=258:D%(2,0)=-1", "RUN"},
       "",
       "C4 80 15 00 02 00 02 00 03 00 00 00 00 FF FF 00 00 01 02 00 00"},
      {"arrays made by use have dimension 10; string elements are descriptors",
       {"10 E$(2)=\"Q\":F(1)=.5", "RUN"},
       "",
       "45 80 28 00 01 00 0B 00 00 00 00 00 00 01 0C 08 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
       "00 00 00 00 00 00 00 00 00 00 46 00 3E 00 01 00 0B 00 00 00 00 00 80 00 00 00 00 00 00 00 "
       "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
       "00 00 00 00 00 00 00 00 00 00 00 00"},
        {"reading a variable that was never set does not make it",
       {"10 PRINT Z;Z$;Z%:A=1", "RUN"},
       "41 00 81 00 00 00 00",
       ""},
  };
  for (RomSet set : AvailableRomSets())
    for (const auto& c : cases) {
      Type(set, c.lines, 3);
      const std::string context = std::string(c.name) + " under the " + RomSetName(set) + " ROMs\n" + Screen();
      EXPECT_EQ(Hex(Word(0x2D), Word(0x2F)), c.variables) << context;
      EXPECT_EQ(Hex(Word(0x2F), Word(0x31)), c.arrays) << context;
    }
}

TEST(BasicMemory, PointersFollowEditsRunsAndClr) {
  const struct {
    const char* name;
    std::vector<std::string> lines;
    uint16_t vartab, arytab, strend, fretop;
    uint8_t curlinHigh;
  } cases[] = {
      {"a fresh machine", {}, 0x0803, 0x0803, 0x0803, 0xA000, 0x00},
      {"a line stored", {"10 PRINT"}, 0x0809, 0x0809, 0x0809, 0xA000, 0xFF},
      {"a program run", {"10 A=1:B$=\"X\"+\"Y\":DIM C(3)", "RUN"}, 0x081D, 0x082B, 0x0846, 0x9FFE, 0x00},
      {"CLR after the run", {"10 A=1:B$=\"X\"+\"Y\":DIM C(3)", "RUN", "CLR"}, 0x081D, 0x081D, 0x081D, 0xA000, 0xFF},
      {"a program stopped in line 300", {"300 A=1:STOP", "RUN"}, 0x080D, 0x0814, 0x0814, 0xA000, 0x01},
      {"a direct line with an error", {"PRINT 1/0"}, 0x0803, 0x0803, 0x0803, 0xA000, 0xFF},
  };
  for (RomSet set : AvailableRomSets())
    for (const auto& c : cases) {
      Type(set, c.lines, 3);
      const std::string context = std::string(c.name) + " under the " + RomSetName(set) + " ROMs\n" + Screen();
      EXPECT_EQ(Word(0x2B), 0x0801) << context;
      EXPECT_EQ(Word(0x2D), c.vartab) << context;
      EXPECT_EQ(Word(0x2F), c.arytab) << context;
      EXPECT_EQ(Word(0x31), c.strend) << context;
      EXPECT_EQ(Word(0x33), c.fretop) << context;
      EXPECT_EQ(Word(0x37), 0xA000) << context;
      EXPECT_EQ(Ram[0x3A], c.curlinHigh) << context;
    }
}

// Strings rebuilt over and over in a small string space: garbage collection must keep every
// string that is still described, at a place inside string space.
TEST(BasicMemory, GarbageCollectionKeepsLiveStringsIntact) {
  const std::vector<std::string> program = {
      "5 POKE 56,16:CLR",
      "10 DIM A$(50):FOR K=1 TO 30:FOR I=0 TO 50",
      "20 A$(I)=LEFT$(A$(I)+CHR$(65+I/3)+STR$(K),20)",
      "30 NEXT:NEXT:PRINT \"DONE\"",
      "RUN",
  };
  for (RomSet set : AvailableRomSets()) {
    Type(set, program, 120);
    const std::string context = std::string("under the ") + RomSetName(set) + " ROMs\n" + Screen();
    ASSERT_TRUE(ScreenShows("DONE")) << context;
    const uint16_t fretop = Word(0x33), memsiz = Word(0x37);
    EXPECT_EQ(memsiz, 0x1000) << context;
    const uint16_t elements = Word(0x2F) + 7;  // the only array, one dimension
    for (int i = 0; i <= 50; ++i) {
      std::string expected;  // the first 20 characters of the letter and STR$(K) for K = 1..30
      for (int k = 1; k <= 30; ++k) expected = (expected + char('A' + i / 3) + " " + std::to_string(k)).substr(0, 20);
      const uint16_t descriptor = static_cast<uint16_t>(elements + 3 * i);
      const uint16_t text = Word(descriptor + 1);
      ASSERT_EQ(Ram[descriptor], expected.size()) << i << " " << context;
      ASSERT_TRUE(text >= fretop && text + expected.size() <= memsiz) << i << " " << context;
      EXPECT_EQ(std::string(reinterpret_cast<const char*>(&Ram[text]), expected.size()), expected) << i << context;
    }
  }
}

TEST(BasicMemory, StringBuildingRunsForMinutesWithoutRunningOutOfMemory) {
  for (RomSet set : AvailableRomSets()) {
    Type(set,
         {"10 FOR I=1 TO 3000:A$=RIGHT$(A$+CHR$(65+I-INT(I/26)*26),200)", "20 B$=A$+\"!\":NEXT",
          "30 PRINT LEN(A$);LEN(B$);MID$(A$,200)", "RUN"},
         150);
    EXPECT_TRUE(ScreenShows(" 200  201 K")) << RomSetName(set) << "\n" << Screen();
  }
}
