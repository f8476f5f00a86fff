// screen_editor_test.cpp: the screen editor driven through CHROUT under the genuine ROMs (when
// present) and the built-in ones. Each case clears the screen, prints its bytes and compares the
// editor's state: cursor row and column, line length, quote and insert modes, reverse, colour,
// character set, the line links, the first cells of the first four rows and their colours. The
// expected states were taken from the genuine KERNAL's run.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "core/machine.h"
#include "machine/scheduler.h"
#include "support/kernal_call.h"

namespace {
using Bytes = std::vector<uint8_t>;

Bytes Runs(std::initializer_list<std::pair<uint8_t, int>> runs) {
  Bytes bytes;
  for (const auto& run : runs) bytes.insert(bytes.end(), run.second, run.first);
  return bytes;
}

void Print(const Bytes& bytes) {
  for (uint8_t byte : bytes) CallRoutine(0xFFD2, byte, 0, 0, false);
}

std::string Hex(uint16_t from, int count) {
  std::string text;
  char cell[4];
  for (int i = 0; i < count; ++i) {
    std::snprintf(cell, sizeof cell, "%02X ", Ram[from + i]);
    text += cell;
  }
  return text;
}

std::string EditorState() {
  char head[160];
  std::snprintf(head, sizeof head, "tblx=%d pntr=%d lnmx=%d qt=%d ins=%d rvs=%d col=%d d018=%02X links=", Ram[0xD6],
                Ram[0xD3], Ram[0xD5], Ram[0xD4], Ram[0xD8], Ram[0xC7], Ram[0x0286], MemRead(0xD018));
  std::string colours;
  for (int i = 0; i < 8; ++i) colours += "0123456789ABCDEF"[ColorRam[i] & 15];
  std::string state = head + Hex(0xD9, 5);
  state.pop_back();
  state += " / " + Hex(0x0400, 14) + "| " + Hex(0x0428, 8) + "| " + Hex(0x0450, 4) + "| " + Hex(0x0478, 4) +
           "| col " + colours;
  return state;
}

}  // namespace

TEST(ScreenEditor, PrintsAsTheGenuineEditorDoes) {
  const struct {
    const char* what;
    Bytes printed;
    const char* expected;
  } cases[] = {
      {"quote mode prints the cursor and RVS codes as symbols",
       {'"', 0x11, 0x12, '"', 0x11, 'A'},
       "tblx=1 pntr=5 lnmx=39 qt=0 ins=0 rvs=0 col=14 d018=15 links=84 84 84 84 84 / 22 91 92 22 20 20 20 20 20 20 20 20 20 20 | 20 20 20 20 01 20 20 20 | 20 20 20 20 | 20 20 20 20 | col EEEEEEEE"},
      {"INST opens blanks that the next characters fill",
       {'A', 'B', 'C', 'D', 'E', 0x9D, 0x9D, 0x9D, 0x9D, 0x94, 0x94, 'X', 'Y'},
       "tblx=0 pntr=3 lnmx=39 qt=0 ins=0 rvs=0 col=14 d018=15 links=84 84 84 84 84 / 01 18 19 02 03 04 05 20 20 20 20 20 20 20 | 20 20 20 20 20 20 20 20 | 20 20 20 20 | 20 20 20 20 | col EEEEEEEE"},
      {"a control code typed into an INST blank is shown as a symbol",
       {'A', 'B', 0x9D, 0x94, 0x11, 'C'},
       "tblx=0 pntr=3 lnmx=39 qt=0 ins=0 rvs=0 col=14 d018=15 links=84 84 84 84 84 / 01 91 03 20 20 20 20 20 20 20 20 20 20 20 | 20 20 20 20 20 20 20 20 | 20 20 20 20 | 20 20 20 20 | col EEEEEEEE"},
      {"DEL closes up the line",
       {'H', 'E', 'L', 'L', 'O', 0x14, 0x14},
       "tblx=0 pntr=3 lnmx=39 qt=0 ins=0 rvs=0 col=14 d018=15 links=84 84 84 84 84 / 08 05 0C 20 20 20 20 20 20 20 20 20 20 20 | 20 20 20 20 20 20 20 20 | 20 20 20 20 | 20 20 20 20 | col EEEEEEEE"},
      {"a line that grows takes in the row below and frees the row after",
       Runs({{0x11, 1}, {'L', 40}, {'M', 2}, {0x13, 1}, {'T', 40}, {'U', 1}}),
       "tblx=1 pntr=41 lnmx=79 qt=0 ins=0 rvs=0 col=14 d018=15 links=84 04 84 84 84 / 14 14 14 14 14 14 14 14 14 14 14 14 14 14 | 15 0C 0C 0C 0C 0C 0C 0C | 0D 0D 20 20 | 20 20 20 20 | col EEEEEEEE"},
      {"DEL at the start of a row goes back to the end of the row above",
       {'A', 0x0D, 'B', 0x9D, 0x14, 'C'},
       "tblx=1 pntr=40 lnmx=79 qt=0 ins=0 rvs=0 col=14 d018=15 links=84 04 84 84 84 / 01 20 20 20 20 20 20 20 20 20 20 20 20 20 | 02 20 20 20 20 20 20 20 | 20 20 20 20 | 20 20 20 20 | col EEEEEEEE"},
      {"colour codes set the colour of what follows",
       {0x1C, 'R', 0x9E, 'Y', 0x05, 'W', 0x81, 'O'},
       "tblx=0 pntr=4 lnmx=39 qt=0 ins=0 rvs=0 col=8 d018=15 links=84 84 84 84 84 / 12 19 17 0F 20 20 20 20 20 20 20 20 20 20 | 20 20 20 20 20 20 20 20 | 20 20 20 20 | 20 20 20 20 | col 2718EEEE"},
      {"RVS ON reverses until RVS OFF or RETURN",
       {0x12, 'A', 'B', 0x92, 'C', 0x12, 0x0D, 'D'},
       "tblx=1 pntr=1 lnmx=39 qt=0 ins=0 rvs=0 col=14 d018=15 links=84 84 84 84 84 / 81 82 03 20 20 20 20 20 20 20 20 20 20 20 | 04 20 20 20 20 20 20 20 | 20 20 20 20 | 20 20 20 20 | col EEEEEEEE"},
      {"shifted and graphic characters map to their screen codes",
       {0xC1, 0xA0, 0xFF, 0x5F, 0x60, 0x7E, 0xE0, 0xDF},
       "tblx=0 pntr=8 lnmx=39 qt=0 ins=0 rvs=0 col=14 d018=15 links=84 84 84 84 84 / 41 60 5E 1F 40 5E 60 5F 20 20 20 20 20 20 | 20 20 20 20 20 20 20 20 | 20 20 20 20 | 20 20 20 20 | col EEEEEEEE"},
      {"the cursor keys stop at the screen's top left",
       {'A', 'B', 0x9D, 0x9D, 0x9D, 0x91, 0x11, 0x1D, 'C'},
       "tblx=1 pntr=2 lnmx=39 qt=0 ins=0 rvs=0 col=14 d018=15 links=84 84 84 84 84 / 01 02 20 20 20 20 20 20 20 20 20 20 20 20 | 20 03 20 20 20 20 20 20 | 20 20 20 20 | 20 20 20 20 | col EEEEEEEE"},
      {"printing past column 39 makes a two-row line",
       Runs({{'A', 45}}),
       "tblx=1 pntr=45 lnmx=79 qt=0 ins=0 rvs=0 col=14 d018=15 links=84 04 84 84 84 / 01 01 01 01 01 01 01 01 01 01 01 01 01 01 | 01 01 01 01 01 20 20 20 | 20 20 20 20 | 20 20 20 20 | col EEEEEEEE"},
      {"printing past column 79 goes on at the next line",
       Runs({{'B', 80}}),
       "tblx=2 pntr=0 lnmx=39 qt=0 ins=0 rvs=0 col=14 d018=15 links=84 04 84 84 84 / 02 02 02 02 02 02 02 02 02 02 02 02 02 02 | 02 02 02 02 02 02 02 02 | 20 20 20 20 | 20 20 20 20 | col EEEEEEEE"},
      {"RETURN on the first row of a two-row line goes past both rows",
       Runs({{'A', 42}, {0x13, 1}, {0x0D, 1}, {'Z', 1}}),
       "tblx=2 pntr=1 lnmx=39 qt=0 ins=0 rvs=0 col=14 d018=15 links=84 04 84 84 84 / 01 01 01 01 01 01 01 01 01 01 01 01 01 01 | 01 01 20 20 20 20 20 20 | 1A 20 20 20 | 20 20 20 20 | col EEEEEEEE"},
      {"INST in a full row grows the line",
       Runs({{'Q', 40}, {0x13, 1}, {0x94, 1}, {'I', 1}, {0x13, 1}}),
       "tblx=0 pntr=0 lnmx=79 qt=0 ins=0 rvs=0 col=14 d018=15 links=84 04 84 84 84 / 09 11 11 11 11 11 11 11 11 11 11 11 11 11 | 11 20 20 20 20 20 20 20 | 20 20 20 20 | 20 20 20 20 | col EEEEEEEE"},
      {"CRSR LEFT at the top left stays and CRSR RIGHT moves on",
       {0x13, 0x9D, 0x1D},
       "tblx=0 pntr=1 lnmx=39 qt=0 ins=0 rvs=0 col=14 d018=15 links=84 84 84 84 84 / 20 20 20 20 20 20 20 20 20 20 20 20 20 20 | 20 20 20 20 20 20 20 20 | 20 20 20 20 | 20 20 20 20 | col EEEEEEEE"},
  };
  for (RomSet set : AvailableRomSets()) {
    for (const auto& c : cases) {
      ASSERT_TRUE(BootToReady(set));
      Print({0x93});
      Print(c.printed);
      EXPECT_EQ(EditorState(), c.expected) << RomSetName(set) << ": " << c.what;
    }
  }
}

TEST(ScreenEditor, CharacterSetCodesSwitchAndLockTheSet) {
  const struct {
    uint8_t code;
    uint8_t memory, mode;  // $D018 and $0291 after it
  } steps[] = {{0x0E, 0x17, 0x00}, {0x08, 0x17, 0x80}, {0x8E, 0x15, 0x80}, {0x09, 0x15, 0x00}};
  for (RomSet set : AvailableRomSets()) {
    ASSERT_TRUE(BootToReady(set));
    for (const auto& step : steps) {
      Print({step.code});
      EXPECT_EQ(MemRead(0xD018), step.memory) << RomSetName(set) << std::hex << " after $" << int(step.code);
      EXPECT_EQ(Ram[0x0291], step.mode) << RomSetName(set) << std::hex << " after $" << int(step.code);
    }
  }
}

TEST(ScreenEditor, TheScreenDeviceReadsTheLogicalLineFromTheCursor) {
  for (RomSet set : AvailableRomSets()) {
    ASSERT_TRUE(BootToReady(set));
    Print({0x93, 'O', 'N', 'E', ' ', 'T', 'W', 'O', 0x13, 0x1D, 0x1D, 0x1D, 0x1D});
    CallRoutine(0xFFBA, 3, 3, 0, false);  // OPEN 3,3
    CallRoutine(0xFFBD, 0, 0, 0, false);
    CallRoutine(0xFFC0, 0, 0, 0, false);
    CallRoutine(0xFFC6, 0, 3, 0, false);  // CHKIN 3
    std::string read;
    for (int i = 0; i < 40; ++i) read += static_cast<char>(CallRoutine(0xFFCF, 0, 0, 0, false).a);
    CallRoutine(0xFFCC, 0, 0, 0, false);
    // Up to column 38: the last column stands for RETURN; the reads after that go on below.
    EXPECT_EQ(read, "TWO" + std::string(32, ' ') + "\r" + std::string(4, ' ')) << RomSetName(set);
  }
}

TEST(ScreenEditor, HoldingCtrlSlowsTheScrollDown) {
  // The genuine KERNAL spends about 435000 cycles more on a scroll while CTRL is held.
  for (RomSet set : AvailableRomSets()) {
    uint32_t cycles[2] = {};
    for (int held = 0; held < 2; ++held) {
      ASSERT_TRUE(BootToReady(set));
      CallRoutine(0xFFF0, 0, 24, 0, false);
      KeyMatrix[7].store(held ? 0xFB : 0xFF);
      const uint32_t start = cycleClock;
      ASSERT_TRUE(CallRoutine(0xFFD2, 0x0D, 0, 0, false, nullptr, 5000000).returned) << RomSetName(set);
      cycles[held] = cycleClock - start;
      KeyMatrix[7].store(0xFF);
    }
    EXPECT_LT(cycles[0], 60000u) << RomSetName(set);
    EXPECT_GT(cycles[1] - cycles[0], 350000u) << RomSetName(set);
    EXPECT_LT(cycles[1] - cycles[0], 550000u) << RomSetName(set);
  }
}
