// Tests of finding, checking and installing the ROM images.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "core/machine.h"
#include "core/rom_images.h"
#include "support/temp_folder.h"

namespace {
std::vector<unsigned char> Image(int size, unsigned char fill) { return std::vector<unsigned char>(size, fill); }

void WriteImages(const TempFolder& folder, const char* basic, const char* kernal, const char* chargen) {
  folder.Write(basic, Image(kBasicRomSize, 0xB1));
  folder.Write(kernal, Image(kKernalRomSize, 0xE1));
  folder.Write(chargen, Image(kCharRomSize, 0xC1));
}
}  // namespace

TEST(RomImages, AcceptsPlainAndChipNumberedNames) {
  const char* namings[][3] = {
      {"basic", "kernal", "chargen"},
      {"basic.bin", "kernal.rom", "chargen.bin"},
      {"basic-901226-01.bin", "kernal-901227-03.bin", "characters-901225-01.bin"},
  };
  for (const auto& names : namings) {
    SCOPED_TRACE(names[0]);
    TempFolder folder;
    WriteImages(folder, names[0], names[1], names[2]);
    const RomLoadResult result = LoadRomImages(folder.path().string());
    ASSERT_EQ(result.status, RomLoadStatus::Loaded) << result.error;
    EXPECT_EQ(BasicRom[0x1FFF], 0xB1);
    EXPECT_EQ(KernalRom[0], 0xE1);
    EXPECT_EQ(CharRom[0xFFF], 0xC1);
    // Our made-up images are not the standard ones: each is named in a warning, and still runs.
    ASSERT_EQ(result.warnings.size(), 3u);
    EXPECT_NE(result.warnings[1].find("0xDBE3E7C7"), std::string::npos) << result.warnings[1];
  }
}

TEST(RomImages, RefusesWrongSizesMissingImagesAndNonFolders) {
  TempFolder good;
  WriteImages(good, "basic", "kernal", "chargen");
  ASSERT_EQ(LoadRomImages(good.path().string()).status, RomLoadStatus::Loaded);

  TempFolder shortKernal;
  WriteImages(shortKernal, "basic", "kernal", "chargen");
  const std::string kernalPath = shortKernal.Write("kernal", Image(8191, 0x00));
  RomLoadResult result = LoadRomImages(shortKernal.path().string());
  EXPECT_EQ(result.status, RomLoadStatus::WrongSize);
  EXPECT_NE(result.error.find(kernalPath), std::string::npos) << result.error;
  EXPECT_NE(result.error.find("8191 bytes"), std::string::npos) << result.error;
  EXPECT_NE(result.error.find("expected 8192"), std::string::npos) << result.error;
  EXPECT_EQ(KernalRom[0], 0xE1) << "a failed load must keep the installed images";
  EXPECT_EQ(BasicRom[0], 0xB1);

  TempFolder onlyBasic;
  onlyBasic.Write("basic.bin", Image(kBasicRomSize, 0));
  result = LoadRomImages(onlyBasic.path().string());
  EXPECT_EQ(result.status, RomLoadStatus::Missing);
  EXPECT_NE(result.error.find("kernal, chargen"), std::string::npos) << result.error;
  EXPECT_NE(result.error.find(onlyBasic.path().string()), std::string::npos) << result.error;

  EXPECT_EQ(LoadRomImages(good.path().string() + "/basic").status, RomLoadStatus::FolderUnreadable);
  EXPECT_EQ(LoadRomImages("/nonexistent/vornce").status, RomLoadStatus::FolderUnreadable);
}

TEST(RomImages, GenuineImagesLoadWithoutWarnings) {
  const std::string folder = GenuineRomFolder();
  if (folder.empty()) GTEST_SKIP() << "the genuine ROM images are not in $VORNCE_ROMS or ../shared/roms";
  const RomLoadResult result = LoadRomImages(folder);
  ASSERT_EQ(result.status, RomLoadStatus::Loaded) << result.error;
  EXPECT_TRUE(result.warnings.empty()) << result.warnings[0];
  EXPECT_EQ(KernalRom[0x1F80], 0x03);  // the KERNAL revision byte at $FF80
}

TEST(RomImages, Crc32MatchesTheStandardCheckValue) {
  const char* text = "123456789";
  EXPECT_EQ(Crc32(reinterpret_cast<const uint8_t*>(text), std::strlen(text)), 0xCBF43926u);
}

namespace {
// Puts an environment variable back as it was when the test ends.
class SavedVariable {
 public:
  explicit SavedVariable(const char* name) : name_(name), wasSet_(std::getenv(name) != nullptr) {
    if (wasSet_) value_ = std::getenv(name);
  }
  ~SavedVariable() { wasSet_ ? setenv(name_, value_.c_str(), 1) : unsetenv(name_); }

 private:
  const char* name_;
  bool wasSet_;
  std::string value_;
};
}  // namespace

TEST(RomImages, FolderComesFromOptionThenEnvironmentThenUserData) {
  SavedVariable roms("VORNCE_ROMS"), dataHome("XDG_DATA_HOME"), home("HOME");
  setenv("VORNCE_ROMS", "/from/env", 1);
  setenv("XDG_DATA_HOME", "/data", 1);
  EXPECT_EQ(ChooseRomFolder("/from/option"), "/from/option");
  EXPECT_EQ(ChooseRomFolder(""), "/from/env");
  unsetenv("VORNCE_ROMS");
  EXPECT_EQ(ChooseRomFolder(""), "/data/vornce/roms");
  unsetenv("XDG_DATA_HOME");
  setenv("HOME", "/home/someone", 1);
  EXPECT_EQ(ChooseRomFolder(""), "/home/someone/.local/share/vornce/roms");
}
