// Tests of the headless runner, as a user or a script runs it.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/machine.h"
#include "machine/scheduler.h"
#include "shell/headless_runner.h"
#include "support/run_vornce.h"
#include "support/temp_folder.h"

namespace {
// A KERNAL of our own: selects the screen at $0400, writes "HI" and runs a jam opcode on its
// first start only ($DFFF alternates $AA, $55 and keeps doing so across resets), then loops.
std::vector<unsigned char> HelloKernal() {
  std::vector<unsigned char> kernal(kKernalRomSize, 0);
  const unsigned char code[] = {
      0xA9, 0x14, 0x8D, 0x18, 0xD0,  // LDA #$14, STA $D018
      0xA9, 0x08, 0x8D, 0x00, 0x04,  // "H"
      0xA9, 0x09, 0x8D, 0x01, 0x04,  // "I"
      0xAD, 0xFF, 0xDF,              // LDA $DFFF
      0xC9, 0xAA, 0xD0, 0x01,        // CMP #$AA, BNE over the jam
      0x02,                          // jam
      0x4C, 0x17, 0xE0,              // $E017: JMP $E017
  };
  std::copy(std::begin(code), std::end(code), kernal.begin());
  kernal[0x1FFC] = 0x00;
  kernal[0x1FFD] = 0xE0;
  return kernal;
}

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// "3.03 emulated seconds" from the summary line: where the run ended.
std::string EmulatedSeconds(const std::string& err) {
  const size_t end = err.find(" emulated seconds in ");
  const size_t start = err.rfind("vornce: ", end);
  return end == std::string::npos || start == std::string::npos ? "" : err.substr(start, end - start);
}

void WriteHelloRoms(const TempFolder& folder) {
  folder.Write("basic", std::vector<unsigned char>(kBasicRomSize, 0));
  folder.Write("kernal", HelloKernal());
  folder.Write("chargen", std::vector<unsigned char>(kCharRomSize, 0));
}
}  // namespace

TEST(HeadlessRunner, RunsOurOwnKernalReportsTheJamOnceAndCarriesOn) {
  TempFolder roms;
  WriteHelloRoms(roms);
  const VornceRun run = RunVornce("--headless --roms " + roms.path().string() + " --seconds 0.5 --dump-screen");
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_EQ(run.out.substr(0, 2), "HI");
  size_t jams = 0;
  for (size_t at = 0; (at = run.err.find("Error!: Unrecognized CPU instruction was executed", at)) != std::string::npos; ++at) {
    ++jams;
  }
  EXPECT_EQ(jams, 1u) << run.err;
  EXPECT_NE(run.err.find("not the standard 0xDBE3E7C7"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("0.5"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("times real time"), std::string::npos) << run.err;
}

TEST(HeadlessRunner, BadOptionsAndMissingRomsExitWithAMessage) {
  TempFolder empty;
  TempFolder shortBasic;
  WriteHelloRoms(shortBasic);
  shortBasic.Write("basic", std::vector<unsigned char>(100, 0));
  struct Case {
    std::string arguments;
    int exitStatus;
    std::string message;
  } cases[] = {
      {"--headless --frobnicate", 2, "unknown option '--frobnicate'"},
      {"--headless --seconds", 2, "--seconds needs a value"},
      {"--headless --seconds ten", 2, "--seconds needs a positive number of seconds, not 'ten'"},
      {"--headless --seconds -1", 2, "positive number of seconds"},
      {"--headless --keybuf 'LIST{clear}'", 2, "--keybuf has an unknown key name {clear}"},
      {"--headless --roms /nonexistent/roms --seconds 0.1", 0, "no ROM images in /nonexistent/roms; running VornCE's built-in"},
      {"--headless --roms " + empty.path().string() + " --seconds 0.1", 0, "running VornCE's built-in"},
      {"--headless --roms " + shortBasic.path().string(), 2, "has 100 bytes; expected 8192 bytes"},
  };
  for (const Case& c : cases) {
    const VornceRun run = RunVornce(c.arguments);
    EXPECT_EQ(run.exitStatus, c.exitStatus) << c.arguments << "\n" << run.err;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << c.arguments << "\n" << run.err;
  }
}

TEST(HeadlessRunner, EmulatedTimeStaysRightAcrossTheCycleClockWrap) {
  TempFolder roms;
  WriteHelloRoms(roms);
  LaunchOptions options;
  options.romFolder = roms.path().string();
  options.seconds = 6;  // 5.58 million cycles: the clock wraps about a million cycles in
  cycleClock = 0xFFFFFFFFu - 1000000u;
  testing::internal::CaptureStderr();
  EXPECT_EQ(RunHeadless(options), 0);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_LT(cycleClock, 6000000u) << "the clock did not wrap";
  EXPECT_NE(err.find("vornce: 6.0"), std::string::npos) << err;
}

TEST(HeadlessRunner, BootsGenuineRomsToReadyAndTypesIntoBasic) {
  const std::string roms = GenuineRomFolder();
  if (roms.empty()) GTEST_SKIP() << "the genuine ROM images are not in $VORNCE_ROMS or ../shared/roms";

  VornceRun run = RunVornce("--headless --roms " + roms + " --seconds 3 --dump-screen");
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_EQ(run.out.rfind("\n    **** COMMODORE 64 BASIC V2 ****\n\n 64K RAM SYSTEM  38911 BASIC BYTES FREE\n\nREADY.\n", 0), 0u)
      << run.out;
  EXPECT_EQ(run.err.find("warning"), std::string::npos) << run.err;

  run = RunVornce("--headless --roms " + roms + " --seconds 4 --dump-screen --keybuf 'PRINT 2+2\\n'");
  EXPECT_NE(run.out.find("READY.\nPRINT 2+2\n 4\n\nREADY.\n"), std::string::npos) << run.out;

  run = RunVornce("--headless --roms " + roms +
                  " --seconds 8 --dump-screen --keybuf '10 FOR I=1 TO 15 STEP 7\\n20 PRINT I*I;\\n30 NEXT\\nRUN\\n'");
  EXPECT_NE(run.out.find("RUN\n 1  64  225\nREADY.\n"), std::string::npos) << run.out;
}

// A plain run leaves its drawn frames unrendered until near its end; the same run as a harness
// run (an --until-text that never shows) renders every one and times out at the same frame. The
// last picture, rotated to show all 320 columns, and the screen must be the same to the byte.
TEST(HeadlessRunner, UnrenderedFramesLeaveTheLastPictureAsRenderingEveryOne) {
  std::vector<std::string> romOptions = {"--builtin-roms"};
  if (const std::string roms = GenuineRomFolder(); !roms.empty()) romOptions.push_back("--roms " + roms);
  const std::string programs[] = {
      "--seconds 2.5 " VORNCE_TEST_PROGRAMS "/raster_sprites.prg",
      "--seconds 4 --keybuf '10 PRINT A;:A=A+1:POKE 53280,A:GOTO 10\\nRUN\\n'",
  };
  for (const std::string& rom : romOptions) {
    for (const std::string& program : programs) {
      SCOPED_TRACE(rom + " " + program);
      TempFolder folder;
      const std::string skipped = (folder.path() / "skipped.png").string();
      const std::string rendered = (folder.path() / "rendered.png").string();
      const std::string run = "--headless --landscape --dump-screen " + rom + " " + program + " --screenshot ";
      const VornceRun skipping = RunVornce(run + skipped);
      const VornceRun rendering = RunVornce(run + rendered + " --until-text 'NEVER SHOWN'");
      EXPECT_EQ(skipping.exitStatus, 0) << skipping.err;
      EXPECT_EQ(rendering.exitStatus, 124) << rendering.err;
      EXPECT_NE(EmulatedSeconds(skipping.err), "");
      EXPECT_EQ(EmulatedSeconds(skipping.err), EmulatedSeconds(rendering.err));
      EXPECT_EQ(skipping.out, rendering.out);
      EXPECT_FALSE(FileBytes(skipped).empty());
      EXPECT_TRUE(FileBytes(skipped) == FileBytes(rendered)) << "the last pictures differ";
    }
  }
}
