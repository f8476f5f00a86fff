// Tests of the PRG, P00 and T64 loaders with files written by the tests.
#include "media/program_loader.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/machine.h"
#include "support/temp_folder.h"
#include "support/test_machine.h"

namespace {
using Bytes = std::vector<unsigned char>;

Bytes Program(uint16_t loadAddress, size_t size, unsigned char first = 1) {
  Bytes bytes = {static_cast<unsigned char>(loadAddress & 0xFF), static_cast<unsigned char>(loadAddress >> 8)};
  for (size_t i = 0; i < size; ++i) bytes.push_back(static_cast<unsigned char>(first + i));
  return bytes;
}

Bytes Concat(const Bytes& head, const Bytes& tail) {
  Bytes joined(head.size() + tail.size());
  std::copy(tail.begin(), tail.end(), std::copy(head.begin(), head.end(), joined.begin()));
  return joined;
}

// A T64 image whose first entry loads at loadAddress from data offset 96.
Bytes TapeImage(uint16_t loadAddress, const Bytes& data) {
  Bytes image(96, 0);
  image[66] = loadAddress & 0xFF;
  image[67] = loadAddress >> 8;
  image[72] = 96;
  return Concat(image, data);
}
}  // namespace

TEST(ProgramLoader, PlacesTheBytesSetsThePointersAndTypesRun) {
  struct Case {
    const char* name;
    Bytes file;
    bool tape;
    uint16_t firstAddress;
    unsigned char firstByte;
    std::vector<uint8_t> pointers;  // $2D-$32
  } cases[] = {
      {"game.prg", Program(0x0801, 100), false, 0x0801, 1, {0x65, 0x08, 0x66, 0x08, 0x67, 0x08}},
      {"end.prg", Program(0x0800, 0x100), false, 0x0800, 1, {0x00, 0x09, 0x01, 0x09, 0x02, 0x09}},
      {"edge.prg", Program(0x0800, 0xFF), false, 0x0800, 1, {0xFF, 0x08, 0x00, 0x08, 0x01, 0x08}},
      {"game.p00", Concat(Bytes(26, 0xEE), Program(0x0801, 100)), false, 0x0801, 1, {0x65, 0x08, 0x66, 0x08, 0x67, 0x08}},
      {"GAME.P00", Concat(Bytes(26, 0xEE), Program(0x0801, 1)), false, 0x0801, 1, {0x02, 0x08, 0x03, 0x08, 0x04, 0x08}},
      {"tape.s00", Concat(Bytes(26, 0xEE), Program(0x0801, 1)), false, 0x0801, 1, {0x02, 0x08, 0x03, 0x08, 0x04, 0x08}},
      // its last character is 'g': the first two bytes are the load address, header or not
      {"demo0.prg", Program(0x1000, 3), false, 0x1000, 1, {0x03, 0x10, 0x04, 0x10, 0x05, 0x10}},
      {"only.prg", Program(0xC000, 0), false, 0xC000, 0x99, {0x00, 0xC0, 0x01, 0xC0, 0x02, 0xC0}},
      // trailing bytes after the first program load too, up to the end of the image file
      {"tape.t64", TapeImage(0x0801, Concat(Program(0x0801, 8), Bytes(50, 0x77))), true, 0x0801, 0x01,
       {0x3D, 0x08, 0x3E, 0x08, 0x3F, 0x08}},
      // past $FFFF the bytes continue at $0000; E is the 16-bit end address
      {"wrap.prg", Program(0xFFFF, 3), false, 0xFFFF, 1, {0x02, 0x00, 0x03, 0x00, 0x04, 0x00}},
  };
  TempFolder folder;
  for (const Case& c : cases) {
    PrepareTestMachine();
    const std::string path = folder.Write(c.name, c.file);
    EXPECT_EQ(c.tape ? LoadT64(path.c_str()) : LoadPrg(path.c_str()), 1) << c.name;
    EXPECT_EQ(Ram[c.firstAddress], c.firstByte) << c.name;
    EXPECT_EQ(std::vector<uint8_t>(Ram + 0x2D, Ram + 0x33), c.pointers) << c.name;
    EXPECT_EQ(std::vector<uint8_t>(Ram + 0x0277, Ram + 0x027B), (std::vector<uint8_t>{'R', 'U', 'N', 13})) << c.name;
    EXPECT_EQ(Ram[0xC6], 4) << c.name;
  }
  EXPECT_EQ(Ram[0x0000], 2) << "wrap.prg, the last case: the second byte lands at $0000";
  EXPECT_EQ(Ram[0x0001], 3);
}

TEST(ProgramLoader, FilesWithoutALoadAddressChangeNothing) {
  TempFolder folder;
  const std::string missing = (folder.path() / "missing.prg").string();
  const std::string cases[] = {
      missing,
      folder.Write("one.prg", {0x01}),
      folder.Write("short.p00", Bytes(27, 0x01)),
      folder.Write("short.t64", Bytes(73, 0x01)),
      folder.path().string() + "/",  // a folder, not a file
  };
  for (const std::string& path : cases) {
    PrepareTestMachine();
    const std::vector<uint8_t> before(Ram, Ram + kRamSize);
    const bool tape = path.ends_with(".t64");
    EXPECT_EQ(tape ? LoadT64(path.c_str()) : LoadPrg(path.c_str()), 0) << path;
    EXPECT_TRUE(std::equal(before.begin(), before.end(), Ram)) << path;
  }
}
