// builtin_roms_test.cpp: VornCE's own BASIC, KERNAL and character ROMs, run as a user would,
// with no genuine images anywhere.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/builtin_roms.h"
#include "core/cpu.h"
#include "core/machine.h"
#include "core/rom_images.h"
#include "machine/machine_reset.h"
#include "machine/scheduler.h"
#include "sound/sound_output.h"
#include "support/run_vornce.h"
#include "support/temp_folder.h"
#include "support/test_machine.h"

namespace {
std::string RunBuiltin(const std::string& arguments) {
  const VornceRun run = RunVornce("--headless --builtin-roms --dump-screen " + arguments);
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  return run.out;
}

void RunCycles(uint32_t cycles) {
  const uint32_t start = cycleClock;
  while (cycleClock - start < cycles) RunEmulationPass();
}

// Prints "text" through CHROUT from code at address and returns: LDX #0, LDA text,X, BEQ,
// JSR $FFD2, INX, BNE, RTS.
std::vector<unsigned char> PrintingCode(uint16_t address, const std::string& text) {
  const uint16_t textAt = address + 14;
  std::vector<unsigned char> code = {0xA2, 0x00, 0xBD, static_cast<unsigned char>(textAt & 0xFF),
                                     static_cast<unsigned char>(textAt >> 8), 0xF0, 0x06, 0x20, 0xD2, 0xFF,
                                     0xE8, 0xD0, 0xF5, 0x60};
  for (char c : text) code.push_back(static_cast<unsigned char>(c));
  code.push_back(0);
  return code;
}
}  // namespace

TEST(BuiltinRoms, TheirSizesAndVectorsAreWhereTheMachineLooks) {
  EXPECT_GE(kBuiltinKernalRom[0x1FFC] | kBuiltinKernalRom[0x1FFD] << 8, 0xE000) << "reset into the KERNAL";
  EXPECT_EQ(kBuiltinKernalRom[0x1FFE] | kBuiltinKernalRom[0x1FFF] << 8, 0xFF48);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(kBuiltinBasicRom + 4), 8), "CBMBASIC");
  EXPECT_EQ(kBuiltinCharRom[0x01 * 8 + 1] ^ 0xFF, kBuiltinCharRom[0x81 * 8 + 1]) << "reverse glyphs";
}

TEST(BuiltinRoms, BootToReadyWithABlinkingCursor) {
  PrepareTestMachine();
  InstallBuiltinRoms();
  InitMachine();
  const uint32_t soundState = soundDeviceState.exchange(3);  // no wave output: silent
  ResetCpu();
  RunCycles(2 * kCyclesPerSecond);
  EXPECT_EQ(Ram[0xD3], 0) << "cursor column";
  const uint16_t cursor = 0x0400 + Ram[0xD6] * 40;
  bool shown = false, hidden = false;
  for (int sample = 0; sample < 40; ++sample) {
    RunCycles(kCyclesPerSecond / 20);
    (Ram[cursor] == 0xA0 ? shown : hidden) = true;
  }
  EXPECT_TRUE(shown && hidden) << "the cursor should blink";
  EXPECT_EQ(Ram[0x2B] | Ram[0x2C] << 8, 0x0801);
  EXPECT_EQ(Ram[0x0288], 0x04);
  soundDeviceState.store(soundState);
}

TEST(BuiltinRoms, BasicRunsTypedLines) {
  const struct {
    const char* typed;
    double seconds;
    const char* shown;
  } cases[] = {
      {"", 3, "\n  **** VORNCE BUILT-IN ROMS V0.1 ****\n\n 64K RAM SYSTEM  38911 BASIC BYTES FREE\n\nREADY.\n"},
      {"PRINT 2+2\\n", 4, "READY.\nPRINT 2+2\n 4\n\nREADY.\n"},
      {"10 FOR I=1 TO 15 STEP 7\\n20 PRINT I*I;\\n30 NEXT\\nRUN\\n", 6, "RUN\n 1  64  225\nREADY.\n"},
      {"10 GOSUB 30:PRINT \"BACK\":END\\n30 IF 2>1 THEN PRINT \"SUB\";-7/2;\\n40 RETURN\\nRUN\\nLIST 30\\n", 8,
       "RUN\nSUB-3.5 BACK\n\nREADY.\nLIST 30\n\n30 IF 2>1 THEN PRINT \"SUB\";-7/2;\n\nREADY.\n"},
      {"FROB\\nPRINT 1/0\\nGOTO 99\\n", 6,
       "FROB\n\n?SYNTAX  ERROR\nREADY.\nPRINT 1/0\n\n?DIVISION BY ZERO  ERROR\nREADY.\nGOTO 99\n\n?UNDEF'D STATEMENT  ERROR\n"},
  };
  for (const auto& c : cases) {
    const std::string out = RunBuiltin("--seconds " + std::to_string(c.seconds) + " --keybuf '" + c.typed + "'");
    EXPECT_NE(out.find(c.shown), std::string::npos) << c.typed << "\n" << out;
  }
}

TEST(BuiltinRoms, AProgramHookingTheIrqKeepsTypingAlive) {
  // At $C000: SEI, $0314/$0315 = $C00D, CLI, RTS; at $C00D: INC $C100, JMP $EA31.
  const std::string out = RunBuiltin(
      "--seconds 8 --keybuf '"
      "POKE 49152,120:POKE 49153,169:POKE 49154,13:POKE 49155,141\\n"
      "POKE 49156,20:POKE 49157,3:POKE 49158,169:POKE 49159,192\\n"
      "POKE 49160,141:POKE 49161,21:POKE 49162,3:POKE 49163,88\\n"
      "POKE 49164,96:POKE 49165,238:POKE 49166,0:POKE 49167,193\\n"
      "POKE 49168,76:POKE 49169,49:POKE 49170,234\\nSYS 49152\\n"
      "PRINT PEEK(49408)>0\\nPRINT 6*7\\n'");
  EXPECT_NE(out.find("PRINT PEEK(49408)>0\n-1\n"), std::string::npos) << out;
  EXPECT_NE(out.find("PRINT 6*7\n 42\n"), std::string::npos) << out;
}

TEST(BuiltinRoms, AMachineCodeProgramStartsThroughItsSysLine) {
  TempFolder folder;
  // 10 SYS2061, then the code at $080D.
  std::vector<unsigned char> prg = {0x01, 0x08, 0x0B, 0x08, 0x0A, 0x00, 0x9E, '2', '0', '6', '1', 0, 0, 0};
  const auto code = PrintingCode(0x080D, "PRG RAN");
  prg.insert(prg.end(), code.begin(), code.end());
  const std::string out = RunBuiltin("--seconds 4 " + folder.Write("ran.prg", prg));
  EXPECT_NE(out.find("RUN\nPRG RAN\nREADY.\n"), std::string::npos) << out;
}

TEST(BuiltinRoms, ACartridgeWithTheSignatureStartsItself) {
  TempFolder folder;
  std::vector<unsigned char> crt(80, 0);
  const std::string signature = "C64 CARTRIDGE   ";
  std::copy(signature.begin(), signature.end(), crt.begin());
  crt[19] = 0x40;  // header length, big-endian
  crt[20] = 0x01;  // version 1.0
  crt[64] = 'C', crt[65] = 'H', crt[66] = 'I', crt[67] = 'P';
  crt[70] = 0x20, crt[71] = 0x10;  // packet length $2010
  crt[76] = 0x80;                  // load address $8000
  crt[78] = 0x20;                  // size $2000
  std::vector<unsigned char> image(0x2000, 0);
  // $8000: start vectors, "CBM80"; $8009: IOINIT, RAMTAS, RESTOR, CINT, CLI, print, JMP *.
  const std::vector<unsigned char> start = {0x09, 0x80, 0x09, 0x80, 0xC3, 0xC2, 0xCD, 0x38, 0x30,
                                            0x20, 0x84, 0xFF, 0x20, 0x87, 0xFF, 0x20, 0x8A, 0xFF,
                                            0x20, 0x81, 0xFF, 0x58, 0x20, 0x20, 0x80, 0x4C, 0x19, 0x80};
  std::copy(start.begin(), start.end(), image.begin());
  const auto code = PrintingCode(0x8020, "CART OK");
  std::copy(code.begin(), code.end(), image.begin() + 0x20);
  crt.insert(crt.end(), image.begin(), image.end());
  const std::string out = RunBuiltin("--seconds 2 " + folder.Write("start.crt", crt));
  EXPECT_EQ(out.rfind("CART OK\n", 0), 0u) << out;
}
