#include "media/disk_image.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "media/disk_bam.h"
#include "media/disk_directory.h"
#include "support/d64_builder.h"
#include "support/temp_folder.h"

namespace {
DiskImage ImageOf(const DiskBytes& bytes) {
  DiskImage image;
  std::string error;
  EXPECT_TRUE(image.SetBytes(bytes, error)) << error;
  return image;
}

DiskBytes Counting(size_t size) {
  DiskBytes data(size);
  for (size_t i = 0; i < size; ++i) data[i] = static_cast<uint8_t>(i * 7 + i / 256);
  return data;
}
}  // namespace

TEST(DiskImage, OnlyTheFourImageSizesAreTaken) {
  const struct {
    size_t size;
    int tracks;  // 0: refused
  } cases[] = {{174848, 35}, {175531, 35}, {196608, 40}, {197376, 40}, {0, 0}, {174847, 0}, {174849, 0}, {175530, 0}};
  for (const auto& c : cases) {
    DiskImage image;
    std::string error;
    EXPECT_EQ(image.SetBytes(DiskBytes(c.size), error), c.tracks != 0) << c.size;
    if (c.tracks != 0) {
      EXPECT_EQ(image.Tracks(), c.tracks);
    } else {
      EXPECT_NE(error.find("174848, 175531, 196608 or 197376 bytes"), std::string::npos) << error;
    }
  }
}

TEST(DiskImage, AFileOfAnotherSizeIsRefusedNamingTheFile) {
  TempFolder folder;
  const std::string path = folder.Write("short.d64", DiskBytes(1000));
  DiskImage image;
  std::string error;
  EXPECT_FALSE(image.Load(path, error));
  EXPECT_NE(error.find(path), std::string::npos) << error;
  EXPECT_NE(error.find("1000 bytes"), std::string::npos) << error;
}

TEST(DiskImage, SectorsFollowTheZonesAndStayInsideTheImage) {
  DiskImage image = ImageOf(DiskBytes(196608));
  const struct {
    int track, sector;
    int index;  // -1: outside
  } cases[] = {{1, 0, 0}, {1, 20, 20}, {1, 21, -1}, {2, 0, 21}, {18, 0, 357}, {18, 18, 375}, {18, 19, -1},
               {25, 17, 17 * 21 + 7 * 19 + 17}, {35, 16, 682}, {40, 16, 767}, {41, 0, -1}, {0, 0, -1}};
  for (const auto& c : cases) {
    EXPECT_EQ(image.SectorIndex(c.track, c.sector), c.index) << c.track << "/" << c.sector;
    EXPECT_EQ(image.Sector(c.track, c.sector) == nullptr, c.index < 0);
  }
  EXPECT_EQ(ImageOf(DiskBytes(174848)).SectorIndex(36, 0), -1);
}

TEST(DiskImage, ErrorBytesMakeSectorsAnswerWithTheirReadError) {
  DiskBytes bytes = BlankD64();
  bytes.resize(175531, 1);
  bytes[174848 + 0] = 5;  // 1/0: checksum error, 23
  bytes[174848 + 1] = 2;  // 1/1: header not found, 20
  bytes[174848 + 2] = 0;  // 1/2: good, as 1 is
  const DiskImage image = ImageOf(bytes);
  EXPECT_EQ(image.SectorError(1, 0), 23);
  EXPECT_EQ(image.SectorError(1, 1), 20);
  EXPECT_EQ(image.SectorError(1, 2), 0);
  EXPECT_EQ(image.SectorError(1, 3), 0);
  EXPECT_EQ(image.FileBytes(), bytes);
}

TEST(DiskImage, BlankDiskShowsItsNameIdAndFreeBlocks) {
  const DiskImage image = ImageOf(BlankD64("MY DISK"));
  EXPECT_EQ(DiskName(image), "MY DISK");
  EXPECT_EQ(DiskId(image), "AB");
  EXPECT_EQ(BlocksFree(image), 664);
}

TEST(DiskImage, FormattingMakesTheSameEmptyDiskAsTheDriveDoes) {
  DiskBytes bytes = BlankD64("OLD");
  AddD64File(bytes, "FILE", 2, Counting(600));
  DiskImage image = ImageOf(bytes);
  FormatDisk(image, "TEST DISK", "AB");
  EXPECT_EQ(image.FileBytes(), BlankD64("TEST DISK"));
}

TEST(DiskImage, FileChainsReadBackWhatWasWritten) {
  for (size_t size : {size_t{0}, size_t{1}, size_t{253}, size_t{254}, size_t{255}, size_t{5000}}) {
    DiskImage image = ImageOf(BlankD64());
    SectorAddress first;
    uint16_t blocks = 0;
    ASSERT_EQ(WriteFileChain(image, Counting(size), first, blocks).code, 0);
    EXPECT_EQ(blocks, std::max<size_t>(1, (size + 253) / 254));
    EXPECT_EQ(BlocksFree(image), 664 - blocks);
    std::vector<uint8_t> data;
    ASSERT_EQ(ReadFileChain(image, first, data).code, 0);
    EXPECT_EQ(data, Counting(size)) << size;
  }
}

TEST(DiskImage, ChainsWrittenByAnotherToolReadBack) {
  DiskBytes bytes = BlankD64();
  AddD64File(bytes, "ONE", 1, Counting(300), 3, 5);
  const DiskImage image = ImageOf(bytes);
  std::vector<DirectoryEntry> entries;
  ASSERT_EQ(ReadDirectory(image, entries).code, 0);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, "ONE");
  EXPECT_EQ(entries[0].Type(), FileType::Seq);
  EXPECT_EQ(entries[0].blocks, 2);
  std::vector<uint8_t> data;
  ASSERT_EQ(ReadFileChain(image, entries[0].first, data).code, 0);
  EXPECT_EQ(data, Counting(300));
}

TEST(DiskImage, DamagedChainsEndWithAFaultInsteadOfRunningOn) {
  const struct {
    const char* damage;
    int track, sector;   // where the first sector of the file links to
    int directoryLink;   // 0: the directory is left alone; else 18/1 links to 18/that
    int code;
  } cases[] = {
      {"link past the last track", 36, 0, 0, kFaultIllegalTrackSector},
      {"link past the track's sectors", 1, 21, 0, kFaultIllegalTrackSector},
      {"link to track 0 sector 0 is the end", 0, 0, 0, 0},
      {"chain that loops back to its start", 1, 0, 0, kFaultIllegalTrackSector},
      {"directory that points into itself", 1, 1, 1, kFaultDirectory},
      {"directory linking outside the disk", 1, 1, 25, kFaultIllegalTrackSector},
  };
  for (const auto& c : cases) {
    DiskBytes bytes = BlankD64();
    const size_t first = AddD64File(bytes, "F", 2, Counting(600));
    bytes[first] = static_cast<uint8_t>(c.track);
    bytes[first + 1] = static_cast<uint8_t>(c.sector);
    if (c.directoryLink == 1) {
      bytes[D64Offset(18, 1)] = 18;
      bytes[D64Offset(18, 1) + 1] = 1;
    }
    if (c.directoryLink == 25) bytes[D64Offset(18, 1)] = 99;
    const DiskImage image = ImageOf(bytes);
    std::vector<DirectoryEntry> entries;
    std::vector<uint8_t> data;
    const int directoryCode = ReadDirectory(image, entries).code;
    const int code = c.directoryLink != 0 ? directoryCode : ReadFileChain(image, {1, 0}, data).code;
    EXPECT_EQ(code, c.code) << c.damage;
    EXPECT_LE(data.size(), 600u) << c.damage;
  }
}

TEST(DiskImage, AMapThatDisagreesWithTheChainsNeverGivesAFilesSectorAway) {
  DiskBytes bytes = BlankD64();
  AddD64File(bytes, "KEEP", 2, Counting(2000), 17, 0);
  // the map claims every sector of tracks 1-35 free again
  const DiskBytes blank = BlankD64();
  std::copy(blank.begin() + static_cast<std::ptrdiff_t>(D64Offset(18, 0)) + 4,
            blank.begin() + static_cast<std::ptrdiff_t>(D64Offset(18, 0)) + 144,
            bytes.begin() + static_cast<std::ptrdiff_t>(D64Offset(18, 0)) + 4);
  DiskImage image = ImageOf(bytes);
  SectorAddress first;
  uint16_t blocks = 0;
  ASSERT_EQ(WriteFileChain(image, Counting(20000), first, blocks).code, 0);
  std::vector<uint8_t> kept;
  ASSERT_EQ(ReadFileChain(image, {17, 0}, kept).code, 0);
  EXPECT_EQ(kept, Counting(2000));
}

TEST(DiskImage, AFullDiskRefusesTheChainAndKeepsItsMap) {
  DiskImage image = ImageOf(BlankD64());
  SectorAddress first;
  uint16_t blocks = 0;
  ASSERT_EQ(WriteFileChain(image, Counting(664 * 254), first, blocks).code, 0);
  EXPECT_EQ(BlocksFree(image), 0);
  const DiskBytes before = image.FileBytes();
  EXPECT_EQ(WriteFileChain(image, Counting(1), first, blocks).code, kFaultDiskFull);
  EXPECT_EQ(image.FileBytes(), before);
}

TEST(DiskImage, StoringReplacesTheFileWholeAndAFailureKeepsIt) {
  TempFolder folder;
  const std::string path = folder.Write("disk.d64", BlankD64());
  DiskImage image;
  std::string error;
  ASSERT_TRUE(image.Load(path, error)) << error;
  EXPECT_FALSE(image.writeProtected);
  FormatDisk(image, "NEW NAME", "ZZ");
  ASSERT_TRUE(image.Store(error)) << error;
  DiskImage reread;
  ASSERT_TRUE(reread.Load(path, error));
  EXPECT_EQ(DiskName(reread), "NEW NAME");

  // a folder in the file's place: the rename cannot go through
  std::filesystem::remove(path);
  std::filesystem::create_directories(path + "/inside");
  FormatDisk(image, "LOST", "ZZ");
  EXPECT_FALSE(image.Store(error));
  EXPECT_NE(error.find("kept as it was"), std::string::npos) << error;
  EXPECT_EQ(DiskName(image), "NEW NAME");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), std::filesystem::directory_iterator()), 1);
}

TEST(DiskImage, AFileWithoutWritePermissionIsWriteProtected) {
  TempFolder folder;
  const std::string path = folder.Write("disk.d64", BlankD64());
  std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
  DiskImage image;
  std::string error;
  ASSERT_TRUE(image.Load(path, error)) << error;
  EXPECT_TRUE(image.writeProtected);
}
