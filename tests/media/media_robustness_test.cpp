// Malformed and random media files fed to every loader. Nothing is asserted beyond what a loader
// reports: the point is that no input reads or writes outside a buffer, which the address
// sanitizer build checks.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "core/machine.h"
#include "media/cartridge.h"
#include "media/program_loader.h"
#include "media/snapshot_format.h"
#include "sound/sound_output.h"
#include "support/temp_folder.h"
#include "support/test_machine.h"

namespace {
using Bytes = std::vector<unsigned char>;

Bytes Random(std::mt19937& random, size_t size) {
  Bytes bytes(size);
  for (auto& byte : bytes) byte = static_cast<unsigned char>(random());
  return bytes;
}

// Sets bytes at offset, growing the file as needed.
Bytes With(Bytes bytes, size_t offset, const Bytes& values) {
  if (bytes.size() < offset + values.size()) bytes.resize(offset + values.size());
  std::copy(values.begin(), values.end(), bytes.begin() + offset);
  return bytes;
}
}  // namespace

TEST(MediaRobustness, MalformedFilesNeverLeaveTheirBuffers) {
  std::mt19937 random(64);
  std::vector<Bytes> files = {
      {}, {0x01}, {0xFF, 0xFF}, With({}, 0, {0xFF, 0xFF, 1, 2, 3}), Bytes(65535, 0xFF), Bytes(65537 + 2, 0x01),
      With(Bytes(26), 26, {0xFF, 0xFF, 9}),                                 // P00 loading at $FFFF
      With(Bytes(74), 72, {0xFF, 0xFF, 0xFF, 0xFF}),                        // T64 offset far past the end
      With(Bytes(200), 72, {0x00, 0x01}),                                   // T64 offset just past the end
      With(Bytes(80), 64 + 12, {0xFF, 0xFF, 0xFF, 0xFF}),                   // CRT 65535 bytes at $FFFF, none there
      With(Bytes(80 + 0x100), 64 + 12, {0xFF, 0xF0, 0xFF, 0xFF}),           // CRT wrapping, short
      With(With(Bytes(80), 22, {0x00, 0x04}), 64 + 14, {0x00, 0x00}),       // CRT type 4, size 0
  };
  for (size_t size : {1, 27, 73, 79, 80, 81, 1000, 70000}) files.push_back(Random(random, size));

  PrepareTestMachine();
  TempFolder folder;
  for (size_t i = 0; i < files.size(); ++i) {
    for (const char* name : {"f.prg", "f.p00", "f.t64", "f.crt"}) {
      const std::string path = folder.Write(std::to_string(i) + name, files[i]);
      LoadPrg(path.c_str());
      LoadT64(path.c_str());
      LoadCartridge(path.c_str());
    }
    EXPECT_EQ(DecodeSnapshot(files[i].data(), files[i].size()), 0) << "file " << i;
  }
}

TEST(MediaRobustness, RandomSnapshotsLoadIntoAMachineThatKeepsRunning) {
  std::mt19937 random(65);
  PrepareTestMachine();
  InitSound();
  for (int round = 0; round < 8; ++round) {
    const Bytes file = Random(random, kSnapshotSize);
    ASSERT_EQ(DecodeSnapshot(file.data(), file.size()), 1);
    RunPassesUntilLine(0, 40000);  // random code runs through a frame end, drawing every line
    RunPassesUntilLine(1, 40000);
  }
}
