// serial_bus_traps_test.cpp: disk drive 8 reached through the KERNAL's own file routines, with
// the built-in ROMs and (when present) the genuine ones, and through BASIC on the ROM sets whose
// BASIC has the disk commands.
#include "drive/serial_bus_traps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "core/machine.h"
#include "drive/disk_drive.h"
#include "media/disk_directory.h"
#include "support/d64_builder.h"
#include "support/kernal_call.h"
#include "support/temp_folder.h"

namespace {
constexpr uint16_t kSetlfs = 0xFFBA, kSetnam = 0xFFBD, kOpen = 0xFFC0, kClose = 0xFFC3;
constexpr uint16_t kChkin = 0xFFC6, kChkout = 0xFFC9, kClrchn = 0xFFCC, kChrin = 0xFFCF;
constexpr uint16_t kChrout = 0xFFD2, kLoad = 0xFFD5, kSave = 0xFFD8, kGetin = 0xFFE4, kReadst = 0xFFB7;
constexpr uint16_t kNameAt = 0xC000;
constexpr uint8_t kErrorFileNotFound = 4, kErrorDeviceNotPresent = 5;

DiskBytes Text(const std::string& text) { return DiskBytes(text.begin(), text.end()); }

class DriveOnTheBus : public ::testing::TestWithParam<RomSet> {
 protected:
  void SetUp() override {
    if (!BootToReady(GetParam())) GTEST_SKIP() << "the genuine ROM images are not there";
    DiskBytes bytes = BlankD64();
    AddD64File(bytes, "PROG", 2, {0x00, 0xC4, 1, 2, 3, 4, 5}, 1, 0);
    AddD64File(bytes, "TEXT", 1, Text("FIRST\rSECOND\r"), 2, 0);
    Attach(bytes);
  }
  void TearDown() override { DetachDisk(); }

  void Attach(const DiskBytes& bytes) {
    path_ = folder_.Write("disk.d64", bytes);
    std::string error;
    ASSERT_TRUE(AttachDisk(path_, error)) << error;
  }

  void SetFile(uint8_t logical, uint8_t device, uint8_t secondary, const std::string& name) {
    std::copy(name.begin(), name.end(), Ram + kNameAt);
    CallRoutine(kSetlfs, logical, device, secondary, false);
    CallRoutine(kSetnam, static_cast<uint8_t>(name.size()), kNameAt & 0xFF, kNameAt >> 8, false);
  }

  CallOutcome Open(uint8_t logical, uint8_t secondary, const std::string& name, uint8_t device = 8) {
    SetFile(logical, device, secondary, name);
    return CallRoutine(kOpen, 0, 0, 0, false);
  }

  CallOutcome Load(const std::string& name, uint8_t secondary, uint16_t address = 0) {
    SetFile(1, 8, secondary, name);
    return CallRoutine(kLoad, 0, address & 0xFF, address >> 8, false, nullptr, 20000000);
  }

  // Every byte up to the one that comes with ST set, and ST after it.
  std::string ReadAll(uint8_t logical, uint16_t routine, uint8_t& status) {
    CallRoutine(kChkin, 0, logical, 0, false);
    std::string text;
    status = 0;
    for (int i = 0; i < 200 && status == 0; ++i) {
      text += static_cast<char>(CallRoutine(routine, 0, 0, 0, false).a);
      status = CallRoutine(kReadst, 0, 0, 0, false).a;
    }
    CallRoutine(kClrchn, 0, 0, 0, false);
    return text;
  }

  void WriteAll(uint8_t logical, const std::string& text) {
    CallRoutine(kChkout, 0, logical, 0, false);
    for (char c : text) CallRoutine(kChrout, static_cast<uint8_t>(c), 0, 0, false);
    CallRoutine(kClrchn, 0, 0, 0, false);
  }

  std::string Status() {
    Open(15, 15, "");
    uint8_t status = 0;
    std::string text = ReadAll(15, kChrin, status);
    CallRoutine(kClose, 15, 0, 0, false);
    return text.substr(0, text.size() - 1);
  }

  bool ScreenShows(const std::string& line) {
    const std::vector<std::string> lines = ScreenLines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }

  // The image file as it is now on disk, and its files.
  DiskImage ImageFile() const {
    DiskImage image;
    std::string error;
    EXPECT_TRUE(image.Load(path_, error)) << error;
    return image;
  }

  static std::vector<DirectoryEntry> Files(const DiskImage& image) {
    std::vector<DirectoryEntry> entries;
    EXPECT_EQ(ReadDirectory(image, entries).code, 0);
    return entries;
  }

  std::string ScreenText() {
    std::string text;
    for (const std::string& line : ScreenLines()) text += line + "\n";
    return text;
  }

  TempFolder folder_;
  std::string path_;
};
}  // namespace

TEST_P(DriveOnTheBus, LoadPutsProgramsAndTheDirectoryInMemory) {
  const CallOutcome loaded = Load("PROG", 1);
  EXPECT_EQ(loaded.carry, 0);
  EXPECT_EQ(loaded.x | loaded.y << 8, 0xC405);
  EXPECT_TRUE(std::equal(Ram + 0xC400, Ram + 0xC405, DiskBytes{1, 2, 3, 4, 5}.begin()));
  EXPECT_EQ(Load("P*", 0, 0xC800).x | Load("P*", 0, 0xC800).y << 8, 0xC805);
  EXPECT_EQ(Ram[0xC804], 5);

  const CallOutcome listing = Load("$", 0, 0x0801);
  EXPECT_EQ(listing.carry, 0);
  const std::string text(Ram + 0x0801, Ram + (listing.x | listing.y << 8));
  EXPECT_NE(text.find("\x12\"TEST DISK       \" AB 2A"), std::string::npos);
  EXPECT_NE(text.find("   \"PROG\"             PRG "), std::string::npos);
  EXPECT_NE(text.find("BLOCKS FREE."), std::string::npos);
  EXPECT_EQ(static_cast<uint8_t>(text[text.size() - 30]) | static_cast<uint8_t>(text[text.size() - 29]) << 8, 662);

  const CallOutcome missing = Load("NONE", 1);
  EXPECT_EQ(missing.carry, 1);
  EXPECT_EQ(missing.a, kErrorFileNotFound);
}

TEST_P(DriveOnTheBus, SaveReplacesTheImageFileWholeAndLoadsBack) {
  for (int i = 0; i < 600; ++i) Ram[0xC100 + i] = static_cast<uint8_t>(i * 3);
  Ram[0xFB] = 0x00;
  Ram[0xFC] = 0xC1;
  SetFile(1, 8, 0, "SAVED");
  const CallOutcome saved = CallRoutine(kSave, 0xFB, 0x58, 0xC3, false, nullptr, 20000000);
  EXPECT_EQ(saved.carry, 0);
  const DiskImage onDisk = ImageFile();
  const std::vector<DirectoryEntry> entries = Files(onDisk);
  ASSERT_EQ(entries.size(), 3u);
  std::vector<uint8_t> data;
  ASSERT_EQ(ReadFileChain(onDisk, entries[2].first, data).code, 0);
  ASSERT_EQ(data.size(), 602u);
  EXPECT_TRUE(std::equal(data.begin() + 2, data.end(), Ram + 0xC100));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_.path()), std::filesystem::directory_iterator()), 1);

  std::fill(Ram + 0xC100, Ram + 0xC400, 0);
  EXPECT_EQ(Load("SAVED", 1).carry, 0);
  EXPECT_TRUE(std::equal(data.begin() + 2, data.end(), Ram + 0xC100));
}

TEST_P(DriveOnTheBus, SequentialFilesWriteAndReadBackWithEndOfFile) {
  EXPECT_EQ(Status(), "73,CBM DOS V2.6 1541,00,00");
  EXPECT_EQ(Open(2, 2, "NOTES,S,W").carry, 0);
  WriteAll(2, "ABC\rDEF\r");
  CallRoutine(kClose, 2, 0, 0, false);
  EXPECT_EQ(Status(), "00, OK,00,00");
  uint8_t status = 0;
  Open(3, 3, "NOTES");
  EXPECT_EQ(ReadAll(3, kChrin, status), "ABC\rDEF\r");
  EXPECT_EQ(status, 0x40);
  CallRoutine(kClose, 3, 0, 0, false);
  Open(4, 4, "TEXT,S");
  EXPECT_EQ(ReadAll(4, kGetin, status), "FIRST\rSECOND\r");
  EXPECT_EQ(status, 0x40);
  CallRoutine(kClose, 4, 0, 0, false);
}

TEST_P(DriveOnTheBus, ChannelFifteenTakesCommandsAndAnswersWithTheStatus) {
  const struct {
    const char* command;
    const char* status;
  } cases[] = {
      {"I", "00, OK,00,00"},
      {"R:RENAMED=TEXT", "00, OK,00,00"},
      {"R:X=TEXT", "62,FILE NOT FOUND,00,00"},
      {"R:PROG=RENAMED", "63,FILE EXISTS,00,00"},
      {"S:REN*", "01, FILES SCRATCHED,01,00"},
      {"M-W\x00\x05\x01", "31,SYNTAX ERROR,00,00"},
  };
  Status();
  for (const auto& c : cases) {
    Open(15, 15, c.command);
    uint8_t status = 0;
    const std::string text = ReadAll(15, kChrin, status);
    CallRoutine(kClose, 15, 0, 0, false);
    EXPECT_EQ(text, std::string(c.status) + "\r") << c.command;
    EXPECT_EQ(status, 0x40);
  }
  Open(2, 2, "TEXT");
  EXPECT_EQ(Status(), "62,FILE NOT FOUND,00,00");
  CallRoutine(kClose, 2, 0, 0, false);
  Open(2, 2, "PROG,S,W");
  EXPECT_EQ(Status(), "63,FILE EXISTS,00,00");
  CallRoutine(kClose, 2, 0, 0, false);
}

TEST_P(DriveOnTheBus, AFullDiskAnswers72AndAWriteProtectedOne26) {
  DiskBytes full = BlankD64();
  std::fill_n(full.begin() + static_cast<std::ptrdiff_t>(D64Offset(18, 0)) + 4, 140, 0);  // no block free
  Attach(full);
  Open(2, 2, "MORE,S,W");
  EXPECT_EQ(Status(), "72,DISK FULL,00,00");
  CallRoutine(kClose, 2, 0, 0, false);

  std::filesystem::permissions(path_, std::filesystem::perms::owner_read);
  Attach(BlankD64());
  std::filesystem::permissions(path_, std::filesystem::perms::owner_read);
  std::string error;
  ASSERT_TRUE(AttachDisk(path_, error));
  Open(2, 2, "MORE,S,W");
  EXPECT_EQ(Status(), "26,WRITE PROTECT ON,00,00");
  CallRoutine(kClose, 2, 0, 0, false);
  Open(15, 15, "S:*");
  EXPECT_EQ(Status(), "26,WRITE PROTECT ON,00,00");
  EXPECT_EQ(Load("$", 0, 0x0801).carry, 0);
}

TEST_P(DriveOnTheBus, OtherDevicesAndADriveWithoutDiskAreAbsent) {
  const CallOutcome other = Open(2, 2, "PROG", 9);
  EXPECT_EQ(other.carry, 1);
  EXPECT_EQ(other.a, kErrorDeviceNotPresent);
  DetachDisk();
  const CallOutcome none = Load("PROG", 1);
  EXPECT_EQ(none.carry, 1);
  EXPECT_EQ(none.a, kErrorDeviceNotPresent);
}

TEST_P(DriveOnTheBus, BasicListsTheDirectory) {
  TypeAndRun("LOAD\"$\",8\rLIST\r", 3);
  EXPECT_TRUE(ScreenShows("0 \"TEST DISK       \" AB 2A")) << ScreenText();
  EXPECT_TRUE(ScreenShows("1    \"PROG\"             PRG")) << ScreenText();
  EXPECT_TRUE(ScreenShows("1    \"TEXT\"             SEQ")) << ScreenText();
  EXPECT_TRUE(ScreenShows("662 BLOCKS FREE.")) << ScreenText();
}

TEST_P(DriveOnTheBus, BasicSavesAndLoadsAProgram) {
  TypeAndRun("10 PRINT\"FROM DISK\"\rSAVE\"MINE\",8\rNEW\rLOAD\"MINE\",8\rRUN\r", 4);
  EXPECT_TRUE(ScreenShows("FROM DISK")) << ScreenText();
  const std::vector<DirectoryEntry> entries = Files(ImageFile());
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[2].name, "MINE");
}

TEST_P(DriveOnTheBus, BasicWritesAndReadsASequentialFile) {
  TypeAndRun("10 OPEN2,8,2,\"LOG,S,W\":PRINT#2,\"ONE\":PRINT#2,\"TWO\":CLOSE2\r"
             "20 OPEN2,8,2,\"LOG\":INPUT#2,A$:GET#2,B$,C$:CLOSE2\r30 PRINTA$;\"/\";B$;C$\rRUN\r", 4);
  EXPECT_TRUE(ScreenShows("ONE/TW")) << ScreenText();
}

TEST_P(DriveOnTheBus, BasicReadsTheStatus) {
  TypeAndRun("10 OPEN15,8,15,\"S:PROG\":INPUT#15,A,B$,C,D:PRINTA;B$;C:CLOSE15\rRUN\r", 3);
  EXPECT_TRUE(ScreenShows(" 1 FILES SCRATCHED 1")) << ScreenText();
}

INSTANTIATE_TEST_SUITE_P(RomSets, DriveOnTheBus, ::testing::ValuesIn(AvailableRomSets()),
                         [](const auto& info) { return std::string(info.param == RomSet::Genuine ? "Genuine" : "Builtin"); });
