#include "drive/virtual_drive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "drive/directory_listing.h"
#include "support/d64_builder.h"
#include "support/temp_folder.h"

namespace {
DiskBytes Text(const std::string& text) { return DiskBytes(text.begin(), text.end()); }

class DriveTest : public ::testing::Test {
 protected:
  // A disk with PROG (PRG), DATA and DATB (SEQ), a REL file and a locked KEEP, stored in a file.
  void SetUp() override { Insert(StandardDisk()); }

  static DiskBytes StandardDisk() {
    DiskBytes bytes = BlankD64();
    AddD64File(bytes, "PROG", 2, {0x01, 0x08, 0xAA, 0xBB}, 1, 0);
    AddD64File(bytes, "DATA", 1, Text("HELLO\r"), 2, 0);
    AddD64File(bytes, "DATB", 1, Text("WORLD\r"), 3, 0);
    AddD64File(bytes, "RECORDS", 4, Text("R"), 4, 0);
    AddD64File(bytes, "KEEP", 1, Text("K"), 5, 0);
    D64Entry(bytes, 4)[2] |= 0x40;
    return bytes;
  }

  void Insert(const DiskBytes& bytes) {
    path_ = folder_.Write("disk.d64", bytes);
    DiskImage image;
    std::string error;
    ASSERT_TRUE(image.Load(path_, error)) << error;
    drive_.Insert(std::move(image));
  }

  std::string Status() {
    std::string text;
    uint8_t byte = 0;
    bool last = false;
    while (!last && drive_.Read(kCommandChannel, byte, last)) text += static_cast<char>(byte);
    return text.substr(0, text.size() - 1);
  }

  std::string Command(const std::string& command) {
    drive_.Open(kCommandChannel, command);
    return Status();
  }

  std::string ReadFile(int channel) {
    std::string text;
    uint8_t byte = 0;
    bool last = false;
    while (!last && drive_.Read(channel, byte, last)) text += static_cast<char>(byte);
    return text;
  }

  std::string WriteFile(int channel, const std::string& name, const std::string& text) {
    drive_.Open(channel, name);
    const std::string opened = Status();
    if (opened != "00, OK,00,00") return opened;
    for (char c : text) drive_.Write(channel, static_cast<uint8_t>(c));
    drive_.Close(channel);
    return Status();
  }

  DiskBytes FileOnDisk() const {
    DiskImage image;
    std::string error;
    EXPECT_TRUE(image.Load(path_, error));
    return image.FileBytes();
  }

  TempFolder folder_;
  std::string path_;
  VirtualDrive drive_;
};
}  // namespace

TEST_F(DriveTest, StatusReadsAsThe1541WordsItAndThenReturnsToOk) {
  EXPECT_EQ(Status(), "73,CBM DOS V2.6 1541,00,00");
  EXPECT_EQ(Status(), "00, OK,00,00");
  uint8_t byte = 0;
  bool last = false;
  ASSERT_TRUE(drive_.Read(kCommandChannel, byte, last));
  EXPECT_EQ(byte, '0');
  EXPECT_FALSE(last);
}

TEST_F(DriveTest, CommandsAnswerWithTheDrivesStatusLines) {
  const struct {
    const char* command;
    const char* status;
  } cases[] = {
      {"I", "00, OK,00,00"},
      {"I\r", "00, OK,00,00"},
      {"S:NOTHING", "01, FILES SCRATCHED,00,00"},
      {"S0:DAT?", "01, FILES SCRATCHED,02,00"},
      {"S:KEEP", "01, FILES SCRATCHED,00,00"},
      {"S:PROG,0:RECORDS", "01, FILES SCRATCHED,02,00"},
      {"R:NEWNAME=PROG", "00, OK,00,00"},
      {"R0:X=MISSING", "62,FILE NOT FOUND,00,00"},
      {"R:DATA=DATB", "63,FILE EXISTS,00,00"},
      {"R:A*=PROG", "33,SYNTAX ERROR,00,00"},
      {"N:FRESH,ZZ", "00, OK,00,00"},
      {"V", "00, OK,00,00"},
      {"UJ", "73,CBM DOS V2.6 1541,00,00"},
      {"XYZZY", "31,SYNTAX ERROR,00,00"},
      {"S", "34,SYNTAX ERROR,00,00"},
  };
  for (const auto& c : cases) {
    SetUp();
    EXPECT_EQ(Command(c.command), c.status) << c.command;
  }
}

TEST_F(DriveTest, CommandsChangeTheDiskAndTheImageFileWhole) {
  EXPECT_EQ(Command("S:DATA"), "01, FILES SCRATCHED,01,00");
  EXPECT_EQ(Command("R:RENAMED=DATB"), "00, OK,00,00");
  drive_.Open(2, "RENAMED");
  EXPECT_EQ(ReadFile(2), "WORLD\r");
  drive_.Open(3, "DATA");
  EXPECT_EQ(Status(), "62,FILE NOT FOUND,00,00");
  EXPECT_EQ(FileOnDisk(), drive_.image().FileBytes());
  DiskFault fault;
  const std::vector<uint8_t> listing = DirectoryListing(drive_.image(), "", fault);
  const std::string text(listing.begin(), listing.end());
  EXPECT_NE(text.find("\"RENAMED\""), std::string::npos);
  EXPECT_EQ(text.find("\"DATA\""), std::string::npos);
  EXPECT_NE(text.find("\"KEEP\"             SEQ<"), std::string::npos);
  EXPECT_EQ(Command("N:FRESH,AB"), "00, OK,00,00");
  EXPECT_EQ(FileOnDisk(), BlankD64("FRESH"));
}

TEST_F(DriveTest, FilesOpenAsTheirNamesAndOptionsAsk) {
  const struct {
    int channel;
    const char* name;
    const char* status;
    const char* contents;  // what reading it gives
  } cases[] = {
      {0, "PROG", "00, OK,00,00", "\x01\x08\xAA\xBB"},
      {0, "*", "00, OK,00,00", "\x01\x08\xAA\xBB"},
      {0, "0:PR?G", "00, OK,00,00", "\x01\x08\xAA\xBB"},
      {2, "DATB", "00, OK,00,00", "WORLD\r"},
      {2, "DAT*,S,R", "00, OK,00,00", "HELLO\r"},
      {2, "DATA,P,R", "64,FILE TYPE MISMATCH,00,00", ""},
      {2, "RECORDS", "64,FILE TYPE MISMATCH,00,00", ""},
      {2, "NONE", "62,FILE NOT FOUND,00,00", ""},
      {2, "PROG,X", "30,SYNTAX ERROR,00,00", ""},
  };
  for (const auto& c : cases) {
    SetUp();
    Status();
    drive_.Open(c.channel, c.name);
    EXPECT_EQ(Status(), c.status) << c.name;
    EXPECT_EQ(ReadFile(c.channel), c.contents) << c.name;
  }
}

TEST_F(DriveTest, TheDirectoryListsTheFilesAPatternMatches) {
  const struct {
    const char* name;
    std::vector<std::string> listed;
  } cases[] = {
      {"$", {"PROG", "DATA", "DATB", "RECORDS", "KEEP"}},
      {"$:DAT*", {"DATA", "DATB"}},
      {"$0:?EEP", {"KEEP"}},
      {"$:NONE", {}},
  };
  const std::vector<std::string> all = {"PROG", "DATA", "DATB", "RECORDS", "KEEP"};
  for (const auto& c : cases) {
    drive_.Open(0, c.name);
    const std::string listing = ReadFile(0);
    for (const std::string& file : all) {
      const bool wanted = std::find(c.listed.begin(), c.listed.end(), file) != c.listed.end();
      EXPECT_EQ(listing.find('"' + file + '"') != std::string::npos, wanted) << c.name << " " << file;
    }
    EXPECT_NE(listing.find("BLOCKS FREE."), std::string::npos);
  }
}

TEST_F(DriveTest, WrittenFilesReachTheImageFileWhenClosed) {
  const DiskBytes before = FileOnDisk();
  drive_.Open(2, "NEW,S,W");
  for (char c : std::string("LINE\r")) drive_.Write(2, static_cast<uint8_t>(c));
  EXPECT_EQ(FileOnDisk(), before);  // nothing is written before the close
  drive_.Close(2);
  EXPECT_EQ(Status(), "00, OK,00,00");
  EXPECT_NE(FileOnDisk(), before);
  EXPECT_EQ(WriteFile(2, "NEW,A", "MORE\r"), "00, OK,00,00");
  drive_.Open(3, "NEW");
  EXPECT_EQ(ReadFile(3), "LINE\rMORE\r");
  EXPECT_EQ(WriteFile(1, "NEW", "X"), "63,FILE EXISTS,00,00");
  EXPECT_EQ(WriteFile(1, "@0:NEW", "\x01\x08Z"), "00, OK,00,00");
  drive_.Open(0, "NEW");
  EXPECT_EQ(ReadFile(0), "\x01\x08Z");
  EXPECT_EQ(WriteFile(2, "A*,W", "X"), "33,SYNTAX ERROR,00,00");
  EXPECT_EQ(WriteFile(2, "NONE,A", "X"), "62,FILE NOT FOUND,00,00");
}

TEST_F(DriveTest, AFullDiskAnswers72AndKeepsTheFiles) {
  EXPECT_EQ(WriteFile(1, "BIG", std::string(658 * 254, 'B')), "00, OK,00,00");
  EXPECT_EQ(WriteFile(1, "TOOBIG", std::string(2 * 254, 'T')), "72,DISK FULL,00,00");
  EXPECT_EQ(WriteFile(1, "FITS", std::string(254, 'F')), "00, OK,00,00");
  EXPECT_EQ(WriteFile(1, "NOROOM", "N"), "72,DISK FULL,00,00");
  drive_.Open(2, "DATA");
  EXPECT_EQ(ReadFile(2), "HELLO\r");
  drive_.Open(2, "TOOBIG");
  EXPECT_EQ(Status(), "62,FILE NOT FOUND,00,00");
}

TEST_F(DriveTest, AWriteProtectedDiskAnswers26AndStaysAsItWas) {
  std::filesystem::permissions(path_, std::filesystem::perms::owner_read);
  Insert(StandardDisk());
  std::filesystem::permissions(path_, std::filesystem::perms::owner_read);
  DiskImage image;
  std::string error;
  ASSERT_TRUE(image.Load(path_, error));
  drive_.Insert(std::move(image));
  const DiskBytes before = drive_.image().FileBytes();
  EXPECT_EQ(WriteFile(1, "NEW", "X"), "26,WRITE PROTECT ON,00,00");
  for (const char* command : {"S:DATA", "R:X=DATA", "N:A,BC", "V"}) EXPECT_EQ(Command(command), "26,WRITE PROTECT ON,00,00");
  EXPECT_EQ(drive_.image().FileBytes(), before);
  drive_.Open(2, "DATA");
  EXPECT_EQ(ReadFile(2), "HELLO\r");
}

TEST_F(DriveTest, AFailedStoreAnswers25AndTheDiskGoesBackToTheFile) {
  std::filesystem::remove(path_);
  std::filesystem::create_directories(path_ + "/blocked");
  EXPECT_EQ(WriteFile(1, "NEW", "X"), "25,WRITE ERROR,00,00");
  drive_.Open(2, "NEW");
  EXPECT_EQ(Status(), "62,FILE NOT FOUND,00,00");
}

TEST_F(DriveTest, DamagedDisksAnswerWithDriveErrors) {
  DiskBytes bytes = StandardDisk();
  bytes[D64Offset(1, 0)] = 36;  // PROG's first sector links past the last track
  Insert(bytes);
  drive_.Open(0, "PROG");
  EXPECT_EQ(Status(), "66,ILLEGAL TRACK OR SECTOR,36,05");
  EXPECT_EQ(ReadFile(0), "");
  EXPECT_EQ(Command("V"), "66,ILLEGAL TRACK OR SECTOR,36,05");

  bytes = StandardDisk();
  bytes[D64Offset(18, 1)] = 18;
  bytes[D64Offset(18, 1) + 1] = 1;  // the directory's sector links to itself
  Insert(bytes);
  drive_.Open(0, "$");
  EXPECT_EQ(Status(), "71,DIR ERROR,18,01");
  EXPECT_FALSE(ReadFile(0).empty());
  EXPECT_EQ(WriteFile(1, "NEW", "X"), "71,DIR ERROR,18,01");
}

TEST_F(DriveTest, ProgramsSendingTheirOwnCodeAreToldApart) {
  for (const char* command : {"M-W\x00\x05\x01\x60", "M-E\x00\x05", "B-E:2,0,18,0", "U3", "&LOADER"}) {
    SetUp();
    EXPECT_EQ(Command(command), "31,SYNTAX ERROR,00,00") << command;
    EXPECT_FALSE(drive_.ownCodeCommand().empty()) << command;
  }
  for (const char* command : {"M-R\x00\x05", "C:A=B", "I"}) {
    SetUp();
    Command(command);
    EXPECT_TRUE(drive_.ownCodeCommand().empty()) << command;
  }
}
