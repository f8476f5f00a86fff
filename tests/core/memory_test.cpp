// Tests of the memory map: power-on contents and the processor-port banking.
#include <gtest/gtest.h>

#include "chips/vic.h"
#include "core/machine.h"
#include "machine/machine_reset.h"
#include "support/test_machine.h"

namespace {
uint8_t basicImage[kBasicRomSize];
uint8_t kernalImage[kKernalRomSize];
uint8_t charImage[kCharRomSize];

// Every ROM byte differs from the RAM fill ($99/$66) and tells its chip apart.
void InstallMarkedRoms() {
  std::fill(std::begin(basicImage), std::end(basicImage), 0xBA);
  std::fill(std::begin(kernalImage), std::end(kernalImage), 0xEE);
  std::fill(std::begin(charImage), std::end(charImage), 0xC7);
  BasicRom = basicImage;
  KernalRom = kernalImage;
  CharRom = charImage;
}
}  // namespace

TEST(MemoryReset, FillsRamInRunsOf128AndClearsColorRam) {
  PrepareTestMachine();
  ColorRam[17] = 5;
  Ram[0x1234] = 0;
  ResetMachine();
  EXPECT_EQ(Ram[0x0000], 0x2F);
  EXPECT_EQ(Ram[0x0001], 0x37);
  EXPECT_EQ(Ram[0x0002], 0x99);
  EXPECT_EQ(Ram[0x007F], 0x99);
  EXPECT_EQ(Ram[0x0080], 0x66);
  EXPECT_EQ(Ram[0x00FF], 0x66);
  EXPECT_EQ(Ram[0x0100], 0x99);
  EXPECT_EQ(Ram[0x1234], 0x99);
  EXPECT_EQ(Ram[0xFFFF], 0x66);
  for (int i = 0; i < kColorRamSize; ++i) ASSERT_EQ(ColorRam[i], 0) << i;
}

TEST(MemoryBanking, EachPortValueShowsItsChips) {
  PrepareTestMachine();
  InstallMarkedRoms();
  Ram[0xA000] = 0x11;
  Ram[0xD020] = 0x22;
  Ram[0xFFFC] = 0x33;
  Ram[0xC000] = 0x44;
  Ram[0x8000] = 0x55;
  MemWrite(0xD020, 0x0E);  // border light blue while I/O is visible: reads back $FE
  struct Case {
    uint8_t port;
    uint8_t a000, d020, fffc;
  } cases[] = {
      {0x30, 0x11, 0x22, 0x33}, {0x34, 0x11, 0x22, 0x33}, {0x31, 0x11, 0xC7, 0x33}, {0x32, 0x11, 0xC7, 0xEE},
      {0x33, 0xBA, 0xC7, 0xEE}, {0x35, 0x11, 0xFE, 0x33}, {0x36, 0x11, 0xFE, 0xEE}, {0x37, 0xBA, 0xFE, 0xEE},
  };
  for (const Case& c : cases) {
    Ram[0x0001] = c.port;
    EXPECT_EQ(MemRead(0xA000), c.a000) << "port " << int(c.port);
    EXPECT_EQ(MemRead(0xD020), c.d020) << "port " << int(c.port);
    EXPECT_EQ(MemRead(0xFFFC), c.fffc) << "port " << int(c.port);
    EXPECT_EQ(MemRead(0xC000), 0x44) << "port " << int(c.port);
    EXPECT_EQ(MemRead(0x8000), 0x55) << "port " << int(c.port);
  }
}

TEST(MemoryBanking, StoresUnderRomLandInRam) {
  PrepareTestMachine();
  InstallMarkedRoms();
  Ram[0x0001] = 0x37;
  MemWrite(0xA123, 0x42);
  EXPECT_EQ(MemRead(0xA123), 0xBA);
  Ram[0x0001] = 0x36;
  EXPECT_EQ(MemRead(0xA123), 0x42);

  // With the character ROM visible, $D020 is RAM for stores and the border stays as it was.
  Ram[0x0001] = 0x33;
  MemWrite(0xD020, 0x07);
  EXPECT_EQ(Ram[0xD020], 0x07);
  EXPECT_EQ(borderColor, 0);
}

TEST(MemoryBanking, DataDirectionByteChangesNoMapping) {
  PrepareTestMachine();
  InstallMarkedRoms();
  for (int value : {0x00, 0xFF, 0x07}) {
    Ram[0x0000] = static_cast<uint8_t>(value);
    EXPECT_EQ(MemRead(0xA000), 0xBA);
    EXPECT_EQ(MemRead(0xE000), 0xEE);
  }
}

TEST(MemoryBanking, EveryRomAddressReadsItsOwnByteAndFollowsNewImages) {
  PrepareTestMachine();
  for (int i = 0; i < kBasicRomSize; ++i) basicImage[i] = static_cast<uint8_t>(i * 7 + (i >> 8));
  for (int i = 0; i < kKernalRomSize; ++i) kernalImage[i] = static_cast<uint8_t>(i * 13 + (i >> 8) + 1);
  for (int i = 0; i < kCharRomSize; ++i) charImage[i] = static_cast<uint8_t>(i * 5 + (i >> 8) + 2);
  BasicRom = basicImage;
  KernalRom = kernalImage;
  CharRom = charImage;
  struct Region { uint8_t port; int first; int size; const uint8_t* image; } regions[] = {
      {0x37, 0xA000, kBasicRomSize, basicImage}, {0x37, 0xE000, kKernalRomSize, kernalImage},
      {0x33, 0xD000, kCharRomSize, charImage},  {0x32, 0xE000, kKernalRomSize, kernalImage}};
  for (const Region& r : regions) {
    Ram[0x0001] = r.port;
    for (int i = 0; i < r.size; ++i) {
      ASSERT_EQ(MemRead(static_cast<uint16_t>(r.first + i)), r.image[i]) << std::hex << r.first + i;
    }
  }
  // Images installed while the machine runs are read at once.
  InstallMarkedRoms();
  Ram[0x0001] = 0x37;
  EXPECT_EQ(MemRead(0xBFFF), 0xBA);
  EXPECT_EQ(MemRead(0xE000), 0xEE);
}
