// disk_fuzz.cpp: a libFuzzer target for .d64 images and the drive's command parser.
//
// The input's first line (up to RETURN) is a drive command; the rest lands on the directory
// track and the tracks beside it of an image of one of the four sizes, the first byte choosing
// which. The directory is listed, every file read, the command run, a file written and the disk
// validated and scratched, so any chain, map or directory an image can hold goes through the
// code that follows it, and a read or write outside the image shows at once.
// Built by: the VORNCE_FUZZ configuration, with clang; run for a bounded time by ./dev test.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "drive/directory_listing.h"
#include "drive/dos_commands.h"
#include "drive/file_name.h"
#include "media/disk_directory.h"
#include "media/disk_image.h"

namespace {
constexpr size_t kImageSizes[] = {174848, 175531, 196608, 197376};
constexpr int kFirstFuzzedTrack = 16;

size_t TrackOffset(int track) {
  size_t offset = 0;
  for (int t = 1; t < track; ++t) offset += static_cast<size_t>(SectorsOnTrack(t)) * kSectorSize;
  return offset;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t* end = data + size;
  const uint8_t* lineEnd = std::find(data + 1, end, '\r');
  const std::string command(data + 1, lineEnd);
  const uint8_t* rest = lineEnd == end ? end : lineEnd + 1;

  std::vector<uint8_t> bytes(kImageSizes[data[0] % 4], 0);
  const size_t at = TrackOffset(kFirstFuzzedTrack);
  std::copy(rest, rest + std::min<size_t>(static_cast<size_t>(end - rest), bytes.size() - at), bytes.begin() + static_cast<std::ptrdiff_t>(at));
  DiskImage image;
  std::string error;
  if (!image.SetBytes(bytes, error)) std::abort();

  DiskFault fault;
  DirectoryListing(image, ParseOpenName(command).name, fault);
  std::vector<DirectoryEntry> entries;
  ReadDirectory(image, entries);
  std::vector<uint8_t> contents;
  for (const DirectoryEntry& entry : entries) ReadFileChain(image, entry.first, contents);
  RunDosCommand(image, command);
  SectorAddress first;
  uint16_t blocks = 0;
  if (WriteFileChain(image, std::vector<uint8_t>(600, 0x55), first, blocks).code == 0) {
    DirectoryEntry entry;
    entry.typeByte = 0x81;
    entry.name = "FUZZ";
    entry.first = first;
    entry.blocks = blocks;
    AddDirectoryEntry(image, entry);
  }
  RunDosCommand(image, "V");
  RunDosCommand(image, "S:*");
  return 0;
}
