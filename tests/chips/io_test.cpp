// io_test.cpp: the decode of $D000-$DFFF into SID, colour RAM, CIAs and the identification area.
#include "chips/io.h"

#include <array>
#include <string>


#include "chips/chip_test.h"
#include "machine/scheduler.h"
#include "sound/sid.h"

namespace {
using IoArea = ChipTest;

TEST_F(IoArea, ReadsAndWritesReachTheCellBehindEachMirror) {
  struct Case { uint16_t address; const uint8_t* cell; uint8_t stored; uint8_t read; };
  const Case cases[] = {
      {0xD42F, &sidRegs[15], 0xA7, 0x00},    {0xD5F6, &sidRegs[22], 0xA7, 0x00},
      {0xD718, &sidRegs[24], 0xA7, 0x00},    {0xD419, &sidRegs[25], 0xA7, 0xFF},
      {0xD800, &ColorRam[0], 0x07, 0x07},    {0xDBE8, &ColorRam[0x3E8], 0, 0xFF},
      {0xDE00, &Ram[0xDE00], 0x99, 0xFF},    {0xDFA0, &Ram[0xDFA0], 0x66, 'V'},
      {0xDFFE, &Ram[0xDFFE], 0x66, 0x4A}};
  for (const Case& c : cases) {
    MemWrite(c.address, 0xA7);
    EXPECT_EQ(*c.cell, c.stored) << std::hex << c.address;
    EXPECT_EQ(MemRead(c.address), c.read) << std::hex << c.address;
  }
  MemWrite(0xDD15, 0x12);
  EXPECT_EQ(cia2LatchA, 0x1200);
}

TEST_F(IoArea, IdentificationNamesTheEmulatorAndToggles) {
  std::string text;
  for (uint16_t address = 0xDFA0; address < 0xDFDB; ++address) text += static_cast<char>(MemRead(address));
  EXPECT_EQ(text.substr(0, 6), "VORNCE");
  EXPECT_EQ(text.substr(12, 28), ", V0.40\r WINDOWS CE PORT BY ");
  EXPECT_EQ(text.find_first_not_of(" ,.0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ\r"), 58u) << text;
  idToggle = 0xAA;
  EXPECT_EQ(MemRead(0xDFFF), 0xAA);
  EXPECT_EQ(MemRead(0xDFFF), 0x55);
}
TEST_F(IoArea, ExitRegisterIsTheSidMirrorUnlessAHarnessRunOpensIt) {
  // closed, a write to $D7FF does exactly what a write to $D41F does
  std::array<std::array<uint8_t, 32>, 2> sidAfter{};
  const uint16_t addresses[] = {0xD41F, 0xD7FF};
  for (int i = 0; i < 2; ++i) {
    SetUp();
    resetRequest.store(0);
    MemWrite(addresses[i], 0x5A);
    std::copy(std::begin(sidRegs), std::begin(sidRegs) + 32, sidAfter[i].begin());
    EXPECT_EQ(resetRequest.load(), 0u) << std::hex << addresses[i];
    EXPECT_EQ(exitRegisterValue, -1);
  }
  EXPECT_EQ(sidAfter[0], sidAfter[1]);
  EXPECT_EQ(sidAfter[1][31], 0x5A);

  exitRegisterEnabled = true;
  MemWrite(0xD7DF, 0x11);  // another mirror of the same SID register stays the SID's
  EXPECT_EQ(sidRegs[31], 0x11);
  EXPECT_EQ(resetRequest.load(), 0u);
  MemWrite(0xD7FF, 0x2A);
  EXPECT_EQ(exitRegisterValue, 0x2A);
  EXPECT_EQ(resetRequest.load(), kHaltRequest);
  EXPECT_EQ(sidRegs[31], 0x11);
  exitRegisterEnabled = false;
  exitRegisterValue = -1;
  resetRequest.store(0);
}
}  // namespace
