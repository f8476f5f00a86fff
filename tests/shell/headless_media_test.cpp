// Tests of programs, cartridges and snapshots named on vornce's command line, run as a user
// would run them. Most need the genuine ROMs: BASIC's READY and the KERNAL's cartridge start.
#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "core/machine.h"
#include "support/run_vornce.h"
#include "support/temp_folder.h"

namespace {
using Bytes = std::vector<unsigned char>;

Bytes Concat(const Bytes& head, const Bytes& tail) {
  Bytes joined(head.size() + tail.size());
  std::copy(tail.begin(), tail.end(), std::copy(head.begin(), head.end(), joined.begin()));
  return joined;
}

// Loads at $0801: 10 SYS2061, then machine code from $080D on.
Bytes SysProgram(const Bytes& code) {
  return Concat({0x01, 0x08, 0x0B, 0x08, 0x0A, 0x00, 0x9E, '2', '0', '6', '1', 0x00, 0x00, 0x00}, code);
}

// Adds 6 seven times and prints the sum's two digits through CHROUT.
const Bytes kSixTimesSeven = {
    0xA9, 0x00, 0xA2, 0x07,                    // LDA #0, LDX #7
    0x18, 0x69, 0x06, 0xCA, 0xD0, 0xFA,        // CLC, ADC #6, DEX, BNE back
    0xA2, 0x2F,                                // LDX #'0'-1
    0xE8, 0x38, 0xE9, 0x0A, 0xB0, 0xFA,        // tens: INX, SEC, SBC #10, BCS back
    0x69, 0x3A, 0x48, 0x8A,                    // ADC #'0'+10, PHA, TXA
    0x20, 0xD2, 0xFF, 0x68, 0x20, 0xD2, 0xFF,  // JSR CHROUT, PLA, JSR CHROUT
    0x60,                                      // RTS
};

// About a second of arithmetic on CIA 1's timer A and the raster line, with the KERNAL's
// interrupts running, so its sums depend on every cycle; then it notes the raster line, the timer
// and the jiffy clock at $C000-$C002, prints OK and idles with interrupts off.
const Bytes kTimingSums = {
    0xA9, 0x00, 0x85, 0xFB, 0x85, 0xFC,  // LDA #0, STA $FB, STA $FC
    0xA0, 0xA0,                          // LDY #160
    0xA2, 0x00,                          // outer: LDX #0
    0xAD, 0x04, 0xDC, 0x65, 0xFB, 0x85, 0xFB, 0x45, 0xFC,  // inner: LDA $DC04, ADC $FB, STA $FB, EOR $FC
    0x4D, 0x12, 0xD0, 0x2A, 0x85, 0xFC,                    // EOR $D012, ROL A, STA $FC
    0xCA, 0xD0, 0xEE, 0x88, 0xD0, 0xE9,                    // DEX, BNE inner, DEY, BNE outer
    0x78, 0xAD, 0x12, 0xD0, 0x8D, 0x00, 0xC0,              // SEI, LDA $D012, STA $C000
    0xAD, 0x04, 0xDC, 0x8D, 0x01, 0xC0,                    // LDA $DC04, STA $C001
    0xA5, 0xA2, 0x8D, 0x02, 0xC0, 0x58,                    // LDA $A2, STA $C002, CLI
    0xA9, 'O', 0x20, 0xD2, 0xFF, 0xA9, 'K', 0x20, 0xD2, 0xFF,  // print OK
    0x78, 0x4C, 0x4A, 0x08,                                // SEI, $084A: JMP $084A
};

// An 8 KiB cartridge at $8000 with the autostart signature. It initialises the machine as the
// KERNAL would, prints CART, overwrites its own signature and, on its first start only ($DFFF
// alternates $AA and $55 across resets), runs a jam opcode, which resets the machine.
Bytes AutostartCartridge() {
  Bytes header(64, 0);
  const std::string signature = "C64 CARTRIDGE   ";
  std::copy(signature.begin(), signature.end(), header.begin());
  const Bytes packet = {'C', 'H', 'I', 'P', 0x00, 0x00, 0x20, 0x10, 0x00, 0x00, 0x00, 0x00, 0x80, 0x00, 0x20, 0x00};
  Bytes image = {
      0x09, 0x80, 0x09, 0x80, 0xC3, 0xC2, 0xCD, 0x38, 0x30,  // cold and warm start $8009, CBM80
      0x20, 0xA3, 0xFD, 0x20, 0x50, 0xFD,                    // JSR IOINIT, JSR RAMTAS
      0x20, 0x15, 0xFD, 0x20, 0x5B, 0xFF, 0x58,              // JSR RESTOR, JSR CINT, CLI
      0xA2, 0x00, 0xBD, 0x33, 0x80, 0xF0, 0x06,              // LDX #0, $8018: LDA $8033,X, BEQ +6
      0x20, 0xD2, 0xFF, 0xE8, 0xD0, 0xF5,                    // JSR CHROUT, INX, BNE $8018
      0xA9, 0x00, 0x8D, 0x04, 0x80,                          // LDA #0, STA $8004
      0xAD, 0xFF, 0xDF, 0xC9, 0xAA, 0xD0, 0x01, 0x02,        // LDA $DFFF, CMP #$AA, BNE +1, jam
      0x4C, 0x30, 0x80, 'C', 'A', 'R', 'T', 0x00,            // $8030: JMP $8030, $8033: "CART"
  };
  image.resize(0x2000, 0);
  return Concat(Concat(header, packet), image);
}

size_t Count(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

std::string GenuineRomsOption() {
  const std::string roms = GenuineRomFolder();
  return roms.empty() ? roms : "--headless --roms " + roms + " ";
}
}  // namespace

TEST(HeadlessMedia, ProgramsStartThroughTheTypedRun) {
  const std::string vornce = GenuineRomsOption();
  if (vornce.empty()) GTEST_SKIP() << "the genuine ROM images are not in $VORNCE_ROMS or ../shared/roms";
  const Bytes program = SysProgram(kSixTimesSeven);
  Bytes tape(96, 0);
  tape[66] = 0x01;
  tape[67] = 0x08;
  tape[72] = 96;
  TempFolder folder;
  for (const std::string& path : {folder.Write("six.prg", program), folder.Write("SIX.P00", Concat(Bytes(26, 0), program)),
                                  folder.Write("six.t64", Concat(tape, Bytes(program.begin() + 2, program.end())))}) {
    const VornceRun run = RunVornce(vornce + path + " --seconds 4 --dump-screen");
    EXPECT_EQ(run.exitStatus, 0) << path << "\n" << run.err;
    EXPECT_NE(run.out.find("\nREADY.\nRUN\n42\nREADY.\n"), std::string::npos) << path << "\n" << run.out;
  }
}

TEST(HeadlessMedia, ACartridgeStartsAfterTheResetAndAgainAfterTheNext) {
  const std::string vornce = GenuineRomsOption();
  if (vornce.empty()) GTEST_SKIP() << "the genuine ROM images are not in $VORNCE_ROMS or ../shared/roms";
  TempFolder folder;
  const VornceRun run = RunVornce(vornce + folder.Write("auto.crt", AutostartCartridge()) + " --seconds 6 --dump-screen");
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_EQ(run.out.rfind("CART\n", 0), 0u) << run.out;
  EXPECT_EQ(Count(run.err, "Unrecognized CPU instruction"), 1u) << "the second start did not happen\n" << run.err;
}

TEST(HeadlessMedia, FilesThatCannotBeUsedEndTheRunWithStatus2) {
  TempFolder roms;
  roms.Write("basic", Bytes(kBasicRomSize, 0));
  roms.Write("kernal", Bytes(kKernalRomSize, 0));
  roms.Write("chargen", Bytes(kCharRomSize, 0));
  TempFolder folder;
  Bytes type5(80 + 16, 0);
  type5[23] = 5;
  std::filesystem::create_directory(folder.path() / "folder.prg");
  const std::string vornce = "--headless --roms " + roms.path().string() + " --seconds 0.2 ";
  const struct {
    std::string arguments;
    std::string message;
  } cases[] = {
      {folder.Write("notes.txt", {1, 2, 3}), "unknown kind of file"},
      {(folder.path() / "missing.prg").string(), "cannot read"},
      {(folder.path() / "folder.prg").string(), "cannot read"},
      {folder.Write("simons.crt", type5), "hardware type 0 or 4"},
      {"--load-state " + folder.Write("short.sta", {1, 2, 3}), "exactly 132304 bytes"},
      {"a.prg b.prg", "only one file"},
  };
  for (const auto& c : cases) {
    const VornceRun run = RunVornce(vornce + c.arguments);
    EXPECT_NE(run.exitStatus, 0) << c.arguments;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << c.arguments << "\n" << run.err;
  }
}

// Equal snapshots at the end would need the two runs to stop at the same cycle; they stop at
// different frames of the program's final idle loop instead, so everything that loop leaves
// still is compared: memory (with the sums and the timing notes), colour memory, the picture and
// the CPU registers, the first 132117 bytes of the file. The raster position, the CIA timers and
// the scheduler's counters move on while the program idles. What the file leaves out (CIA
// registers 8-15, the SID's voices, cycleClock) does not steer this program.
TEST(HeadlessMedia, ARestoredSnapshotContinuesExactlyLikeARunThatNeverStopped) {
  const std::string vornce = GenuineRomsOption();
  if (vornce.empty()) GTEST_SKIP() << "the genuine ROM images are not in $VORNCE_ROMS or ../shared/roms";
  TempFolder folder;
  const std::string program = folder.Write("sums.prg", SysProgram(kTimingSums));
  const std::string saved = (folder.path() / "saved.sta").string();
  const std::string restored = (folder.path() / "restored.sta").string();
  const std::string straight = (folder.path() / "straight.sta").string();

  const VornceRun first = RunVornce(vornce + program + " --seconds 2.8 --dump-screen --save-state " + saved);
  ASSERT_EQ(first.exitStatus, 0) << first.err;
  ASSERT_NE(first.out.find("\nRUN\n\n"), std::string::npos) << "not saved while the sums run\n" << first.out;
  const VornceRun resumed = RunVornce(vornce + "--load-state " + saved + " --seconds 2 --dump-screen --save-state " + restored);
  const VornceRun unbroken = RunVornce(vornce + program + " --seconds 5 --dump-screen --save-state " + straight);
  ASSERT_EQ(resumed.exitStatus, 0) << resumed.err;
  ASSERT_EQ(unbroken.exitStatus, 0) << unbroken.err;
  EXPECT_NE(unbroken.out.find("\nRUN\nOK\n"), std::string::npos) << unbroken.out;
  EXPECT_EQ(resumed.out, unbroken.out);

  const Bytes a = ReadFile(restored);
  const Bytes b = ReadFile(straight);
  ASSERT_EQ(a.size(), 132304u);
  ASSERT_EQ(b.size(), 132304u);
  constexpr size_t kStillPart = 132117;
  EXPECT_TRUE(std::equal(a.begin(), a.begin() + kStillPart, b.begin()));
}
