// Tests of the cartridge loader: CRT images written by the tests, loaded by machine resets.
#include "media/cartridge.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/machine.h"
#include "machine/machine_reset.h"
#include "machine/scheduler.h"
#include "support/temp_folder.h"
#include "support/test_machine.h"

namespace {
using Bytes = std::vector<unsigned char>;

// A CRT image with one chip packet; data may be shorter than the announced size.
Bytes Cartridge(uint16_t hardwareType, uint16_t loadAddress, uint16_t imageSize, const Bytes& data) {
  Bytes file(80 + data.size(), 0);
  std::copy(data.begin(), data.end(), file.begin() + 80);
  file[22] = hardwareType >> 8;
  file[23] = hardwareType & 0xFF;
  file[64 + 12] = loadAddress >> 8;
  file[64 + 13] = loadAddress & 0xFF;
  file[64 + 14] = imageSize >> 8;
  file[64 + 15] = imageSize & 0xFF;
  return file;
}

uint8_t PowerOnByte(int address) { return (address & 0x80) ? 0x66 : 0x99; }

// Attaches the file as the menu command does and runs the machine through the reset it asks for.
void AttachAndReset(const std::string& path) {
  PrepareTestMachine();
  ASSERT_EQ(AttachCartridge(path.c_str()), 1);
  ResetMachine();
}
}  // namespace

TEST(Cartridge, ResetsCopyTheFirstPacketAndNothingElse) {
  struct Case {
    const char* name;
    Bytes file;
    uint16_t from;
    int loaded;  // bytes that must hold the image, from `from` on, wrapping at $FFFF
    int loadable;
  } cases[] = {
      {"normal.crt", Cartridge(0, 0x8000, 0x2000, Bytes(0x2000, 0xA5)), 0x8000, 0x2000, 1},
      {"type4.crt", Cartridge(4, 0x8000, 0x10, Bytes(0x10, 0xA5)), 0x8000, 0x10, 1},
      {"type5.crt", Cartridge(5, 0x8000, 0x10, Bytes(0x10, 0xA5)), 0x8000, 0, 0},
      {"empty.crt", Cartridge(0, 0x8000, 0, Bytes(0x10, 0xA5)), 0x8000, 0, 1},
      {"short.crt", Cartridge(0, 0x8000, 0x2000, Bytes(0x30, 0xA5)), 0x8000, 0x30, 1},
      {"wrap.crt", Cartridge(0, 0xFFF0, 0xFFFF, Bytes(0x20, 0xA5)), 0xFFF0, 0x20, 1},
      {"headerless.crt", Bytes(79, 0), 0x0000, 0, 0},
  };
  TempFolder folder;
  for (const Case& c : cases) {
    const std::string path = folder.Write(c.name, c.file);
    AttachAndReset(path);
    EXPECT_EQ(CartridgeLoadable(path.c_str()), c.loadable) << c.name;
    for (int address = 2; address < kRamSize; ++address) {
      const bool inImage = static_cast<uint16_t>(address - c.from) < c.loaded;
      if (Ram[address] != (inImage ? 0xA5 : PowerOnByte(address))) {
        ADD_FAILURE() << c.name << ": $" << std::hex << address << " holds $" << int(Ram[address]);
        break;
      }
    }
  }
  cartridgePresent.store(0);
}

TEST(Cartridge, EveryResetRestoresTheImageAndAttachingAsksForOne) {
  TempFolder folder;
  const std::string path = folder.Write("game.crt", Cartridge(0, 0x8000, 0x2000, Bytes(0x2000, 0xA5)));
  PrepareTestMachine({.reset = 0xE000});
  PutKernalCode(0xE000, {0x4C, 0x00, 0xE0});  // JMP $E000
  ASSERT_EQ(AttachCartridge(path.c_str()), 1);
  EXPECT_EQ(cartridgePresent.load(), 1u);
  EXPECT_EQ(resetAtFrameEnd.load(), 1u);
  for (int frame = 0; frame < 2; ++frame) {  // the first frame is skipped, the reset ends the second
    RunPassesUntilLine(1);
    RunPassesUntilLine(0);
  }
  EXPECT_EQ(resetAtFrameEnd.load(), 0u);
  EXPECT_EQ(Ram[0x9FFF], 0xA5);
  Ram[0x8000] = 0x00;  // the running program overwrites its image
  ResetMachine();
  EXPECT_EQ(Ram[0x8000], 0xA5);
  EXPECT_EQ(AttachCartridge(std::string(kCartridgePathSize, 'x').c_str()), 0) << "too long to keep";
  EXPECT_STREQ(cartridgeFileName, path.c_str());
  cartridgePresent.store(0);
}
