// kernal_entries_test.cpp: the KERNAL's variables after start-up and the entry points programs
// call directly (inside the editor, the clock, the vectors, the interrupt exits), under the
// genuine ROMs (when present) and the built-in ones. The expected results were taken from the
// genuine KERNAL's run.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "core/builtin_roms.h"
#include "core/cpu.h"
#include "core/machine.h"
#include "machine/scheduler.h"
#include "support/kernal_call.h"
#include "support/temp_folder.h"

namespace {
uint16_t Word(uint16_t at) { return Ram[at] | Ram[at + 1] << 8; }

void Print(const std::string& text) {
  for (char c : text) CallRoutine(0xFFD2, static_cast<uint8_t>(c), 0, 0, false);
}
}  // namespace

TEST(KernalEntries, StartUpLeavesTheGenuineVariablesAndVectors) {
  const uint16_t vectors[] = {0xEA31, 0xFE66, 0xFE47, 0xF34A, 0xF291, 0xF20E, 0xF250, 0xF333,
                              0xF157, 0xF1CA, 0xF6ED, 0xF13E, 0xF32F, 0xFE66, 0xF4A5, 0xF5ED};
  const struct {
    uint16_t address;
    uint8_t value;
  } bytes[] = {{0x0281, 0x00}, {0x0282, 0x08}, {0x0283, 0x00}, {0x0284, 0xA0}, {0x0286, 14},   {0x0288, 0x04},
               {0x0289, 10},   {0x028A, 0},    {0x028B, 4},    {0x028F, 0x48}, {0x0290, 0xEB}, {0x0291, 0},
               {0x0292, 0},    {0x02A6, 0},    {0x9A, 3},      {0x99, 0},      {0x98, 0},      {0xB2, 0x3C},
               {0xB3, 0x03},   {0xD5, 39},     {0xF2, 0x87},   {0xD9, 0x84},   {0xF1, 0x87},   {0xCC, 0},
               {0xC6, 0},      {0xD0, 0},      {0xD3, 0},      {0xD4, 0},      {0xD6, 6},      {0xD8, 0},
               {0xC7, 0}};
  for (RomSet set : AvailableRomSets()) {
    ASSERT_TRUE(BootToReady(set));
    for (int i = 0; i < 16; ++i) EXPECT_EQ(Word(0x0314 + 2 * i), vectors[i]) << RomSetName(set) << " vector " << i;
    for (const auto& b : bytes) EXPECT_EQ(Ram[b.address], b.value) << RomSetName(set) << std::hex << " at $" << b.address;
    for (uint16_t reg = 0xD011; reg <= 0xD02E; ++reg) {
      if (reg == 0xD012 || reg == 0xD019 || reg == 0xD01E || reg == 0xD01F) continue;  // moving or latched
      const uint8_t expected[] = {0x1B, 0, 0, 0, 0, 0xA8, 0, 0x15, 0, 0xF0, 0, 0, 0, 0, 0, 0xFE,
                                  0xF6, 0xF1, 0xF2, 0xF3, 0x04, 0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x4C};
      EXPECT_EQ(MemRead(reg), expected[reg - 0xD011]) << RomSetName(set) << std::hex << " VIC-II $" << reg;
    }
  }
}

TEST(KernalEntries, DirectEntriesGiveTheGenuineResults) {
  struct Case {
    const char* what;
    std::function<void()> before;
    uint16_t routine;
    uint8_t a, x, y;
    bool carry;
    std::function<void(const CallOutcome&, const std::string&)> check;
  };
  const std::vector<Case> cases = {
      {"IOBASE $E500", [] {}, 0xE500, 0, 0, 0, false,
       [](const CallOutcome& out, const std::string& set) { EXPECT_EQ(out.x | out.y << 8, 0xDC00) << set; }},
      {"SCREEN $E505", [] {}, 0xE505, 0, 0, 0, false,
       [](const CallOutcome& out, const std::string& set) {
         EXPECT_EQ(out.x, 40) << set;
         EXPECT_EQ(out.y, 25) << set;
       }},
      {"PLOT $E50A sets the cursor and its pointers", [] {}, 0xE50A, 0, 5, 10, false,
       [](const CallOutcome& out, const std::string& set) {
         EXPECT_EQ(out.x, 5) << set;
         EXPECT_EQ(out.y, 10) << set;
         EXPECT_EQ(Word(0xD1), 0x04C8) << set;
         EXPECT_EQ(Word(0xF3), 0xD8C8) << set;
       }},
      {"clear screen $E544", [] { Print("\x13HELLO\r\x12WORLD"); }, 0xE544, 0, 0, 0, false,
       [](const CallOutcome&, const std::string& set) {
         EXPECT_EQ(Ram[0x0400], 0x20) << set;
         EXPECT_EQ(Ram[0x0428], 0x20) << set;
         EXPECT_EQ(Ram[0xD6], 0) << set;
         EXPECT_EQ(Ram[0xD3], 0) << set;
         EXPECT_EQ(ColorRam[0x28] & 15, 14) << set;
       }},
      {"home $E566", [] { CallRoutine(0xFFF0, 0, 7, 3, false); }, 0xE566, 0, 0, 0, false,
       [](const CallOutcome&, const std::string& set) {
         EXPECT_EQ(Ram[0xD6], 0) << set;
         EXPECT_EQ(Ram[0xD3], 0) << set;
         EXPECT_EQ(Word(0xD1), 0x0400) << set;
       }},
      {"set pointers $E56C on a continued row",
       [] {
         Print("\x93" + std::string(45, 'A'));
         Ram[0xD6] = 1, Ram[0xD3] = 5;
       },
       0xE56C, 0, 0, 0, false,
       [](const CallOutcome&, const std::string& set) {
         EXPECT_EQ(Ram[0xD3], 45) << set;
         EXPECT_EQ(Word(0xD1), 0x0400) << set;
         EXPECT_EQ(Ram[0xD5], 79) << set;
         EXPECT_EQ(Word(0xF3), 0xD800) << set;
       }},
      {"KBDREAD $E5B4",
       [] {
         Ram[0x0277] = 'A', Ram[0x0278] = 'B', Ram[0xC6] = 2;
       },
       0xE5B4, 0, 0, 0, true,
       [](const CallOutcome& out, const std::string& set) {
         EXPECT_EQ(out.a, 'A') << set;
         EXPECT_EQ(out.carry, 0) << set;
         EXPECT_EQ(Ram[0xC6], 1) << set;
         EXPECT_EQ(Ram[0x0277], 'B') << set;
       }},
      {"print to the screen $E716", [] { Print("\x93"); }, 0xE716, 'X', 0x11, 0x22, true,
       [](const CallOutcome& out, const std::string& set) {
         EXPECT_EQ(Ram[0x0400], 0x18) << set;
         EXPECT_EQ(out.a, 'X') << set;
         EXPECT_EQ(out.x, 0x11) << set;
         EXPECT_EQ(out.y, 0x22) << set;
         EXPECT_EQ(out.carry, 0) << set;
       }},
      {"scroll $E8EA", [] { Print("\x93\rSECOND\r\x12THIRD"); }, 0xE8EA, 0, 0, 0, false,
       [](const CallOutcome&, const std::string& set) {
         EXPECT_EQ(Ram[0x0400], 0x13) << set;
         EXPECT_EQ(Ram[0x0428], 0x94) << set;
         EXPECT_EQ(Ram[0x0400 + 24 * 40], 0x20) << set;
       }},
      {"start of a row $E9F0", [] {}, 0xE9F0, 0, 3, 0, false,
       [](const CallOutcome&, const std::string& set) { EXPECT_EQ(Word(0xD1), 0x0478) << set; }},
      {"clear line $E9FF", [] { Print("\x93\r\rLINE"); }, 0xE9FF, 0, 2, 0, false,
       [](const CallOutcome&, const std::string& set) {
         EXPECT_EQ(Ram[0x0450], 0x20) << set;
         EXPECT_EQ(Word(0xD1), 0x0450) << set;
       }},
      {"character and colour at the cursor $EA13", [] { CallRoutine(0xFFF0, 0, 2, 3, false); }, 0xEA13, 0x01, 0x02, 0,
       false,
       [](const CallOutcome&, const std::string& set) {
         EXPECT_EQ(Ram[0x0453], 0x01) << set;
         EXPECT_EQ(ColorRam[0x53] & 15, 2) << set;
       }},
      {"colour pointer $EA24", [] { Ram[0xD1] = 0x28, Ram[0xD2] = 0x05; }, 0xEA24, 0, 0, 0, false,
       [](const CallOutcome&, const std::string& set) { EXPECT_EQ(Word(0xF3), 0xD928) << set; }},
      {"RESTOR $FD15", [] { Ram[0x0314] = 0, Ram[0x0315] = 0xC0, Ram[0x0333] = 0; }, 0xFD15, 0, 0, 0, false,
       [](const CallOutcome&, const std::string& set) {
         EXPECT_EQ(Word(0x0314), 0xEA31) << set;
         EXPECT_EQ(Word(0x0332), 0xF5ED) << set;
       }},
      {"VECTOR $FD1A reads the vectors out", [] {}, 0xFD1A, 0, 0x00, 0xC0, true,
       [](const CallOutcome&, const std::string& set) {
         EXPECT_EQ(Word(0xC000), 0xEA31) << set;
         EXPECT_EQ(Word(0xC01E), 0xF5ED) << set;
       }},
      {"MEMTOP $FE25 reads the top", [] {}, 0xFE25, 0, 0, 0, true,
       [](const CallOutcome& out, const std::string& set) { EXPECT_EQ(out.x | out.y << 8, 0xA000) << set; }},
      {"READST $FE07", [] { Ram[0x90] = 0x42; }, 0xFE07, 0, 0, 0, false,
       [](const CallOutcome& out, const std::string& set) { EXPECT_EQ(out.a, 0x42) << set; }},
      {"the clock starts again after 24 hours",
       [] {
         Ram[0xA0] = 0x4F, Ram[0xA1] = 0x1A, Ram[0xA2] = 0x00;
       },
       0xF69B, 0, 0, 0, false,
       [](const CallOutcome&, const std::string& set) {
         EXPECT_EQ(Ram[0xA0] | Ram[0xA1] | Ram[0xA2], 0) << set;
       }},
      {"the clock's last tick of the day",
       [] {
         Ram[0xA0] = 0x4F, Ram[0xA1] = 0x19, Ram[0xA2] = 0xFF;
       },
       0xFFEA, 0, 0, 0, false,
       [](const CallOutcome&, const std::string& set) {
         EXPECT_EQ(Ram[0xA0] << 16 | Ram[0xA1] << 8 | Ram[0xA2], 0x4F1A00) << set;
       }},
      {"SETTIM then RDTIM", [] { CallRoutine(0xFFDB, 0x56, 0x34, 0x12, false); }, 0xFFDE, 0, 0, 0, false,
       [](const CallOutcome& out, const std::string& set) {
         EXPECT_EQ(out.a, 0x56) << set;
         EXPECT_EQ(out.x, 0x34) << set;
         EXPECT_EQ(out.y, 0x12) << set;
       }},
      {"NMIEXIT $FEBC pulls the registers and returns from the interrupt",
       [] {
         // An interrupt frame back to the call's return trap, with A, X and Y on top of it; the
         // stub at $0340 drops the call's own return address and goes to $FEBC.
         const uint8_t frame[] = {0x02, 0xA7, 0x00, 0xA1, 0xB2, 0xC3};
         for (uint8_t byte : frame) Ram[0x0100 + CpuRegs.sp--] = byte;
         const uint8_t stub[] = {0x68, 0x68, 0x4C, 0xBC, 0xFE};
         std::copy(std::begin(stub), std::end(stub), Ram + 0x0340);
       },
       0x0340, 0, 0, 0, false,
       [](const CallOutcome& out, const std::string& set) {
         EXPECT_EQ(out.a, 0xA1) << set;
         EXPECT_EQ(out.x, 0xB2) << set;
         EXPECT_EQ(out.y, 0xC3) << set;
       }},
  };
  for (RomSet set : AvailableRomSets()) {
    for (const Case& c : cases) {
      ASSERT_TRUE(BootToReady(set));
      c.before();
      const CallOutcome out = CallRoutine(c.routine, c.a, c.x, c.y, c.carry);
      ASSERT_TRUE(out.returned) << RomSetName(set) << ": " << c.what;
      c.check(out, std::string(RomSetName(set)) + ": " + c.what);
    }
  }
}

TEST(KernalEntries, ChrinHandsOutTheTypedLineWithoutThePrompt) {
  const struct {
    const char* what;
    std::string prompt;
    std::string typed;
    std::string expected;
  } cases[] = {
      {"a prompt before the input is not read back", "NAME? ", "AB\r", "AB\r"},
      {"a line edited with DEL", "", "ABX\x14" "C\r", "ABC\r"},
      {"an empty line hands out one blank", "", "\r", " \r"},
      {"a two-row line on the screen, entered from its start", std::string(45, 'Q') + "\x13", "\r",
       std::string(45, 'Q') + "\r"},
  };
  for (RomSet set : AvailableRomSets()) {
    for (const auto& c : cases) {
      ASSERT_TRUE(BootToReady(set));
      // BASIC was waiting with the cursor blinking: hide it, as a running program has it.
      Ram[0xCC] = 1;
      if (Ram[0xCF] != 0) Ram[Word(0xD1) + Ram[0xD3]] ^= 0x80;
      Ram[0xCF] = 0;
      Print("\x93" + c.prompt);
      for (size_t i = 0; i < c.typed.size(); ++i) Ram[0x0277 + i] = static_cast<uint8_t>(c.typed[i]);
      Ram[0xC6] = static_cast<uint8_t>(c.typed.size());
      std::string got;
      for (int i = 0; i < 100 && (got.empty() || got.back() != '\r'); ++i) {
        const CallOutcome out = CallRoutine(0xFFCF, 0, 0x11, 0x22, false, nullptr, 10000000);
        ASSERT_TRUE(out.returned) << RomSetName(set) << ": " << c.what;
        EXPECT_EQ(out.x, 0x11) << RomSetName(set) << ": " << c.what;
        EXPECT_EQ(out.y, 0x22) << RomSetName(set) << ": " << c.what;
        got += static_cast<char>(out.a);
      }
      EXPECT_EQ(got, c.expected) << RomSetName(set) << ": " << c.what;
      EXPECT_EQ(Ram[0xD6], 0) << RomSetName(set) << ": " << c.what << ": the cursor stays on the line";
    }
  }
}

TEST(KernalEntries, RunStopWithRestoreAndBrkMakeAWarmStart) {
  for (RomSet set : AvailableRomSets()) {
    for (bool brk : {false, true}) {
      ASSERT_TRUE(BootToReady(set));
      Ram[0x0314] = 0x00, Ram[0x0315] = 0xC0;  // a hooked IRQ vector the warm start restores
      Ram[0xC000] = 0x4C, Ram[0xC001] = 0x31, Ram[0xC002] = 0xEA;
      Ram[0x0286] = 2;
      if (brk) {
        Ram[0x0334] = 0x00;  // BRK
        CpuRegs.pc = 0x0334;
      } else {
        KeyMatrix[7].store(0x7F);  // RUN/STOP held while RESTORE pulls the NMI
        TypeAndRun("", 0.1);
        nmiPending = 1;
      }
      TypeAndRun("", 0.5);
      KeyMatrix[7].store(0xFF);
      TypeAndRun("", 0.5);
      const std::string what = std::string(RomSetName(set)) + (brk ? ": BRK" : ": RUN/STOP+RESTORE");
      EXPECT_EQ(Word(0x0314), 0xEA31) << what;
      EXPECT_EQ(Ram[0x0286], 14) << what << ": the screen editor starts again";
      const auto lines = ScreenLines();
      EXPECT_EQ(lines[0], "") << what << ": the screen was cleared";
      EXPECT_EQ(lines[1], "READY.") << what;
    }
  }
}

namespace {
// The screen editor's variables, the line links, the input variables, the text colour and a
// digest of colour memory.
std::string EditorVariables() {
  std::string text;
  char cell[8];
  for (int address = 0xD0; address <= 0xF2; ++address) {
    if (address == 0xD7) continue;  // the last character handled: scratch
    std::snprintf(cell, sizeof cell, "%02X ", Ram[address]);
    text += cell;
  }
  for (int address : {0xC6, 0xC7, 0xC8, 0xC9, 0xCA, 0x0286}) {
    std::snprintf(cell, sizeof cell, "%02X ", Ram[address]);
    text += cell;
  }
  uint32_t digest = 0;
  for (int i = 0; i < 1000; ++i) digest = digest * 31 + (ColorRam[i] & 15);
  return text + std::to_string(digest);
}
}  // namespace

TEST(KernalEntries, GenuineBasicRunsOnTheBuiltinKernal) {
  // The genuine BASIC calls the KERNAL at its own fixed places: with the built-in KERNAL from
  // $E500 on (the genuine $E000-$E4FF is BASIC's), a session must look as on the genuine ROMs,
  // down to the editor's variables and the colours.
  if (GenuineRomFolder().empty()) GTEST_SKIP() << "the genuine ROM images are not in $VORNCE_ROMS or ../shared/roms";
  const struct {
    const char* what;
    std::string typed;
    bool stopped = false;  // RUN/STOP is held afterwards and another line typed
  } sessions[] = {
      {"a program with INPUT, the file layer with no devices, LIST and colours",
       "10 INPUT \"NAME\";A$\r20 PRINT \"HI \";A$;3.5*2\rRUN\rBOB\rLOAD\"X\",8\rOPEN1,4:PRINT#1,\"A\"\r"
       "PRINT ST\rLIST\rPOKE 646,2:PRINT CHR$(18);\"RED\"\r"},
      {"lines edited on the screen with the cursor keys, INST and DEL, and quote mode",
       "10 PRINT \"HELLO\"\r20 PRINT \"WORLD\"\rLIST\r\x91\x91\x91\x91\x1D\x1D\x1D\x1D\x1D\x1D\x1D\x1D\x1D\x94\x94XY\r"
       "\x91\x91\x91\x91\x91\x91\x1D\x1D\x1D\x1D\x1D\x1D\x1D\x1D\x1D\x1D\x1D\x1D\x1D\x14\x14\r\x11\x11\x11\rLIST\r"
       "PRINT \"\x11\x12\x1C\"\r30 REM \"\x93\x13\x12\x1D\x11\"ABC\rLIST 30\r"},
      {"the screen scrolling under short lines", "FOR I=1 TO 30:PRINT I;\"LINE\";I*I:NEXT\r"},
      {"the screen scrolling under two-row lines",
       "FOR I=1 TO 30:PRINT \"AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA\";I:NEXT\r"},
      {"INPUT of a line longer than a row",
       "10 INPUT A$:PRINT A$:GOTO 10\rRUN\rABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMNOPQRSTUVWXYZ\r12345\r"},
      {"cursor down past the bottom", "\x13" + std::string(27, '\x11') + "PRINT 1\r"},
      {"colour and reverse codes", "PRINT \"\x05" "WHITE\x1C" "RED\x9F" "CYAN\x12" "REV\";:PRINT \"PLAIN\"\r"},
      {"INST and DEL across a two-row line",
       "\x93" + std::string(45, 'A') + "\x13\x11\x94\x94\x94X\x13\x14\x14\r"},
      {"RUN/STOP breaks a running program", "10 GOTO 10\rRUN\r", true},
  };
  static uint8_t mixed[kKernalRomSize];
  for (const auto& session : sessions) {
    std::vector<std::string> screens[2];
    std::string variables[2];
    for (int run = 0; run < 2; ++run) {
      ASSERT_TRUE(BootToReady(RomSet::Genuine));
      if (run == 1) {
        std::copy(KernalRom, KernalRom + 0x0500, mixed);
        std::copy(kBuiltinKernalRom + 0x0500, kBuiltinKernalRom + kKernalRomSize, mixed + 0x0500);
        KernalRom = mixed;
        PowerOnToReady();
      }
      TypeAndRun(session.typed, 8);
      if (session.stopped) {
        KeyMatrix[7].store(0x7F);
        TypeAndRun("", 0.5);
        KeyMatrix[7].store(0xFF);
        TypeAndRun("PRINT 7\r", 1);
      }
      screens[run] = ScreenLines();
      variables[run] = EditorVariables();
    }
    EXPECT_EQ(screens[1], screens[0]) << session.what;
    EXPECT_EQ(variables[1], variables[0]) << session.what;
  }
}
