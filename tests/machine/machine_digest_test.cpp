// machine_digest_test.cpp: whole runs of the machine, fixed programs for some emulated seconds,
// reduced to digests of everything they leave behind and compared with the values recorded when
// the test was written. Any change to what the machine computes, in which order, shows here: the
// snapshot holds RAM, colour RAM, the frame buffer, the CPU registers and the chips' and the
// scheduler's state; the WAV file every generated sample; the screenshot the presented picture.
// The runs go through the vornce program itself, so the emulation thread's own loop is measured.
// The picture is taken rotated, where all 320 columns of the frame buffer are shown.
// The built-in ROMs' values change with their code: record new ones with the emulation loop as
// it was, never with a changed loop.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/run_vornce.h"
#include "support/temp_folder.h"

namespace {
// 64-bit FNV-1a over a file's bytes; 0 for a missing or empty file.
uint64_t FileDigest(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(file), {}};
  if (bytes.empty()) return 0;
  uint64_t digest = 0xCBF29CE484222325ull;
  for (unsigned char byte : bytes) digest = (digest ^ byte) * 0x100000001B3ull;
  return digest;
}

struct Digests {
  uint64_t snapshot, samples, picture;
};

std::string Describe(const Digests& d) {
  char text[96];
  std::snprintf(text, sizeof text, "{0x%016llXull, 0x%016llXull, 0x%016llXull}",
                static_cast<unsigned long long>(d.snapshot), static_cast<unsigned long long>(d.samples),
                static_cast<unsigned long long>(d.picture));
  return text;
}

// Runs vornce headless with the given ROM options and program options, and digests the snapshot,
// the WAV file and the screenshot it writes at the end.
Digests RunAndDigest(const std::string& romOptions, const std::string& programOptions) {
  TempFolder folder;
  const std::string snapshot = (folder.path() / "state.vsf").string();
  const std::string wav = (folder.path() / "sound.wav").string();
  const std::string picture = (folder.path() / "picture.png").string();
  std::string arguments = "--headless --landscape";
  for (const std::string& part : {romOptions, "--save-state " + snapshot, "--wav " + wav, "--screenshot " + picture,
                                  programOptions}) {
    arguments += ' ';
    arguments += part;
  }
  const VornceRun run = RunVornce(arguments);
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  return {FileDigest(snapshot), FileDigest(wav), FileDigest(picture)};
}

struct Program {
  const char* name;
  std::string options;
  Digests builtin;  // with VornCE's own ROMs
  Digests genuine;  // with the genuine images
};

// A BASIC loop of floating-point work, as the speed benchmark runs it.
const std::string kBasicLoop =
    "--seconds 12 --keybuf '10 A=A+1:B=A*3.5:C=B/7+SIN(A):IF A<1E9 THEN 10\\nRUN\\n'";
// Machine code: a raster interrupt splitting the border and moving eight sprites of every size.
const std::string kRasterSprites = "--seconds 8 " VORNCE_TEST_PROGRAMS "/raster_sprites.prg";
// Three voices, triangle, sawtooth and pulse, swept through their frequencies by BASIC.
const std::string kThreeVoices =
    "--seconds 10 --keybuf '10 S=54272:POKES+24,15:FORV=0TO14STEP7:POKES+V+5,9:POKES+V+6,240:POKES+V+3,8"
    "\\n15 NEXT\\n20 FORI=0TO255STEP3:FORV=0TO2:W=S+7*V:POKEW,I:POKEW+1,(I*(V+1))AND255"
    "\\n30 POKEW+4,8*(V*V+V+2)+1:NEXT:NEXT:GOTO20\\nRUN\\n'";

std::vector<Program> Programs() {
  return {
      {"basic loop", kBasicLoop,
       {0xB6F7C319E4679666ull, 0x8502CA1668B5FE7Full, 0x9FF53E82FBE7A02Full},
       {0x4D6A787F6CA0FA33ull, 0x8502CA1668B5FE7Full, 0xB7D43B00F45E89D8ull}},
      {"raster sprites", kRasterSprites,
       {0x49359D3B9FB29901ull, 0xB5CE366A259DCBD3ull, 0xDD5ED87C08BA9929ull},
       {0x7C251FEC9FCDD8E8ull, 0xB5CE366A259DCBD3ull, 0xBB99C9D45DCF176Full}},
      {"three voices", kThreeVoices,
       {0x1EF48177F41C4FD3ull, 0x2C0A5A0910054EE4ull, 0x24AC9CFED5E964CBull},
       {0xC148A3293CEE8B79ull, 0xA1AD1E0C921692FCull, 0xCDE3D807B60B5D22ull}},
  };
}

void ExpectRecordedDigests(bool genuine, const std::string& romOptions) {
  for (const Program& program : Programs()) {
    SCOPED_TRACE(program.name);
    const Digests expected = genuine ? program.genuine : program.builtin;
    const Digests got = RunAndDigest(romOptions, program.options);
    EXPECT_NE(got.snapshot, 0u) << "no snapshot written";
    EXPECT_NE(got.samples, 0u) << "no WAV file written";
    EXPECT_NE(got.picture, 0u) << "no screenshot written";
    EXPECT_EQ(got.snapshot, expected.snapshot) << "machine state differs; now " << Describe(got);
    EXPECT_EQ(got.samples, expected.samples) << "samples differ; now " << Describe(got);
    EXPECT_EQ(got.picture, expected.picture) << "picture differs; now " << Describe(got);
  }
}
}  // namespace

TEST(MachineDigest, FixedProgramsLeaveTheRecordedStateWithTheBuiltinRoms) {
  ExpectRecordedDigests(false, "--builtin-roms");
}

TEST(MachineDigest, FixedProgramsLeaveTheRecordedStateWithTheGenuineRoms) {
  const std::string roms = GenuineRomFolder();
  if (roms.empty()) GTEST_SKIP() << "the genuine ROM images are not available";
  ExpectRecordedDigests(true, "--roms " + roms);
}
