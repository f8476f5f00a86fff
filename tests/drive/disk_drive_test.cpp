// disk_drive_test.cpp: disks named on vornce's command line, run as a user would run them,
// with the built-in ROMs and (when present) the genuine ones.
#include "drive/disk_drive.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/d64_builder.h"
#include "support/kernal_call.h"
#include "support/run_vornce.h"
#include "support/temp_folder.h"

namespace {
// Loads at $0801: 10 PRINT"HELLO FROM DISK".
const DiskBytes kHelloProgram = {0x01, 0x08, 0x17, 0x08, 0x0A, 0x00, 0x99, '"', 'H', 'E', 'L', 'L', 'O', ' ', 'F', 'R',
                                 'O', 'M', ' ', 'D', 'I', 'S', 'K', '"', 0x00, 0x00, 0x00};

std::string RomOption(RomSet set) {
  return set == RomSet::Genuine ? "--roms " + GenuineRomFolder() : std::string("--builtin-roms");
}

bool HaveCc1541() { return std::system("command -v cc1541 >/dev/null 2>&1") == 0; }

class DiskOnTheCommandLine : public ::testing::TestWithParam<RomSet> {
 protected:
  TempFolder folder_;
};
}  // namespace

TEST_P(DiskOnTheCommandLine, AFileD64StartsItsFirstProgramFile) {
  DiskBytes bytes = BlankD64();
  AddD64File(bytes, "NOTES", 1, {'N', 'O', '\r'}, 1, 0);
  AddD64File(bytes, "HELLO", 2, kHelloProgram, 2, 0);
  AddD64File(bytes, "OTHER", 2, {0x01, 0x08, 0, 0}, 3, 0);
  const std::string disk = folder_.Write("hello.d64", bytes);
  const VornceRun run = RunVornce("--headless " + RomOption(GetParam()) + " --seconds 10 --until-text 'HELLO FROM DISK' " + disk);
  EXPECT_EQ(run.exitStatus, 0) << run.err;
}

TEST_P(DiskOnTheCommandLine, ADiskMadeByCc1541StartsToo) {
  if (!HaveCc1541()) GTEST_SKIP() << "cc1541 (Debian package cc1541) is not installed";
  const std::string program = folder_.Write("hello.prg", kHelloProgram);
  const std::string disk = (folder_.path() / "made.d64").string();
  ASSERT_EQ(std::system(("cc1541 -n 'made disk' -f hello -w " + program + " " + disk + " >/dev/null").c_str()), 0);
  const VornceRun run = RunVornce("--headless " + RomOption(GetParam()) + " --seconds 10 --until-text 'HELLO FROM DISK' " + disk);
  EXPECT_EQ(run.exitStatus, 0) << run.err;
}

TEST_P(DiskOnTheCommandLine, ACProgramWritesAndReadsAFileOnDrive8) {
  const std::string disk = folder_.Write("data.d64", BlankD64());
  const VornceRun run = RunVornce("--headless " + RomOption(GetParam()) + " --seconds 30 --until-ready --dump-screen --disk " +
                                  disk + " " + VORNCE_TEST_PROGRAMS + "/disk_files.prg");
  EXPECT_EQ(run.exitStatus, 0) << run.out << run.err;
  EXPECT_NE(run.out.find("read back: disk 1541"), std::string::npos) << run.out;
}

TEST_P(DiskOnTheCommandLine, DiskOptionOnlyAttaches) {
  const std::string disk = folder_.Write("hello.d64", [] {
    DiskBytes bytes = BlankD64();
    AddD64File(bytes, "HELLO", 2, kHelloProgram, 2, 0);
    return bytes;
  }());
  const VornceRun run = RunVornce("--headless " + RomOption(GetParam()) + " --seconds 3 --dump-screen --disk " + disk);
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_EQ(run.out.find("HELLO FROM DISK"), std::string::npos) << run.out;
}

INSTANTIATE_TEST_SUITE_P(RomSets, DiskOnTheCommandLine, ::testing::ValuesIn(AvailableRomSets()),
                         [](const auto& info) { return std::string(info.param == RomSet::Genuine ? "Genuine" : "Builtin"); });

TEST(DiskOnTheCommandLine, DisksThatCannotBeUsedEndTheRunWithStatus2) {
  TempFolder folder;
  const struct {
    const char* name;
    DiskBytes bytes;
    const char* message;
  } cases[] = {
      {"empty.d64", {}, "it is 0 bytes long; a .d64 image has 174848, 175531, 196608 or 197376 bytes"},
      {"short.d64", DiskBytes(174000), "it is 174000 bytes long"},
      {"noprogram.d64", BlankD64(), "holds no program file"},
  };
  for (const auto& c : cases) {
    const std::string path = folder.Write(c.name, c.bytes);
    for (const std::string& how : {std::string(""), std::string("--disk ")}) {
      if (how == "--disk " && std::string(c.name) == "noprogram.d64") continue;
      const VornceRun run = RunVornce("--headless --builtin-roms --seconds 5 " + how + path);
      EXPECT_EQ(run.exitStatus, 2) << c.name;
      EXPECT_NE(run.err.find(path), std::string::npos) << run.err;
      EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
  }
}

TEST(DiskOnTheCommandLine, ProgramsSendingDriveCodeAreToldWhyTheyStop) {
  TempFolder folder;
  const std::string disk = folder.Write("disk.d64", BlankD64());
  const VornceRun run = RunVornce("--headless --builtin-roms --seconds 3 --disk " + disk + " " +
                                  std::string(VORNCE_TEST_PROGRAMS) + "/drive_code.prg");
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  const size_t first = run.err.find("needs a disk drive with its own processor");
  EXPECT_NE(first, std::string::npos) << run.err;
  EXPECT_EQ(run.err.find("needs a disk drive with its own processor", first + 1), std::string::npos) << "said once";
}
