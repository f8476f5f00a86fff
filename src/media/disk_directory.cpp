// disk_directory.cpp: the directory's entries and the files' sector chains on a disk image.
//
// Emulated: directory sectors of eight 32-byte entries linked from track 18 sector 1, file chains
// of 254 data bytes per sector whose last sector's link gives the last byte used, new files placed
// with an interleave of 10 and new directory sectors with one of 3.
// Every chain is followed with a record of the sectors seen, so a link outside the disk or back
// into the chain ends the walk with a fault instead of running on; an image cannot make this code
// read or write outside its bytes or loop.
// Left out: relative files' side sectors beyond keeping them out of new allocations.
// Called by: the virtual drive (files, directory listing, commands) and the disk start-up code.
#include "media/disk_directory.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr int kEntriesPerSector = 8;
constexpr int kEntrySize = 32;
constexpr int kFileInterleave = 10;
constexpr int kDirectoryInterleave = 3;
constexpr uint8_t kPadding = 0xA0;

DiskFault Fault(int code, SectorAddress at) { return {code, at.track, at.sector}; }

SectorAddress LinkOf(const uint8_t* sector) { return {sector[0], sector[1]}; }

// Calls visit(address, bytes) for each sector of the chain from first, stopping at a link with
// track 0 or at a fault: a link outside the disk, a damaged sector or a sector seen before.
template <typename Visit>
DiskFault FollowChain(const DiskImage& image, SectorAddress first, int loopCode, Visit visit) {
  SectorSet seen(static_cast<size_t>(image.SectorCount()), false);
  SectorAddress at = first;
  while (true) {
    const int index = image.SectorIndex(at.track, at.sector);
    if (index < 0) return Fault(kFaultIllegalTrackSector, at);
    if (seen[static_cast<size_t>(index)]) return Fault(loopCode, at);
    seen[static_cast<size_t>(index)] = true;
    if (const int error = image.SectorError(at.track, at.sector); error != 0) return Fault(error, at);
    const uint8_t* bytes = image.Sector(at.track, at.sector);
    visit(at, bytes);
    if (bytes[0] == 0) return {};
    at = LinkOf(bytes);
  }
}

void MarkChain(const DiskImage& image, SectorAddress first, SectorSet& used) {
  FollowChain(image, first, kFaultIllegalTrackSector, [&](SectorAddress at, const uint8_t*) {
    used[static_cast<size_t>(image.SectorIndex(at.track, at.sector))] = true;
  });
}

uint8_t* EntryBytes(DiskImage& image, const DirectoryEntry& entry) {
  uint8_t* sector = image.Sector(entry.slot.track, entry.slot.sector);
  return sector == nullptr ? nullptr : sector + kEntrySize * entry.index;
}
}  // namespace

const char* FileTypeName(uint8_t typeBits) {
  static const char* const kNames[] = {"DEL", "SEQ", "PRG", "USR", "REL"};
  const int type = typeBits & 0x0F;
  return type < 5 ? kNames[type] : "???";
}

DiskFault ReadDirectory(const DiskImage& image, std::vector<DirectoryEntry>& entries) {
  entries.clear();
  return FollowChain(image, {kDirectoryTrack, kFirstDirectorySector}, kFaultDirectory,
                     [&](SectorAddress at, const uint8_t* bytes) {
                       for (int i = 0; i < kEntriesPerSector; ++i) {
                         const uint8_t* raw = bytes + kEntrySize * i;
                         if (raw[2] == 0) continue;
                         DirectoryEntry entry;
                         entry.slot = at;
                         entry.index = i;
                         entry.typeByte = raw[2];
                         entry.first = {raw[3], raw[4]};
                         for (int k = 0; k < kFileNameLength && raw[5 + k] != kPadding; ++k) {
                           entry.name += static_cast<char>(raw[5 + k]);
                         }
                         entry.blocks = static_cast<uint16_t>(raw[30] | raw[31] << 8);
                         entries.push_back(entry);
                       }
                     });
}

DiskFault ReadFileChain(const DiskImage& image, SectorAddress first, std::vector<uint8_t>& data) {
  data.clear();
  return FollowChain(image, first, kFaultIllegalTrackSector, [&](SectorAddress, const uint8_t* bytes) {
    // the last sector's link sector is the position of its last byte
    const int end = bytes[0] != 0 ? kSectorSize : bytes[1] < 2 ? 2 : bytes[1] + 1;
    data.insert(data.end(), bytes + 2, bytes + end);
  });
}

SectorSet SectorsInUse(const DiskImage& image) {
  SectorSet used(static_cast<size_t>(image.SectorCount()), false);
  used[static_cast<size_t>(image.SectorIndex(kDirectoryTrack, kBamSector))] = true;
  MarkChain(image, {kDirectoryTrack, kFirstDirectorySector}, used);
  std::vector<DirectoryEntry> entries;
  ReadDirectory(image, entries);
  const size_t scanned = entries.size();
  for (size_t i = 0; i < scanned; ++i) {
    MarkChain(image, entries[i].first, used);
    if (entries[i].Type() == FileType::Rel) {
      const uint8_t* bytes = image.Sector(entries[i].slot.track, entries[i].slot.sector) + kEntrySize * entries[i].index;
      MarkChain(image, {bytes[21], bytes[22]}, used);
    }
  }
  return used;
}

DiskFault WriteFileChain(DiskImage& image, const std::vector<uint8_t>& data, SectorAddress& first, uint16_t& blocks) {
  const size_t count = data.empty() ? 1 : (data.size() + kDataPerSector - 1) / kDataPerSector;
  const SectorSet busy = SectorsInUse(image);
  std::vector<SectorAddress> chain;
  SectorAddress near{};
  for (size_t i = 0; i < count; ++i) {
    SectorAddress taken;
    if (!AllocateBlock(image, busy, near, kFileInterleave, false, taken)) {
      for (SectorAddress address : chain) MarkBlock(image, address, true);
      return {kFaultDiskFull, 0, 0};
    }
    chain.push_back(taken);
    near = taken;
  }
  for (size_t i = 0; i < count; ++i) {
    uint8_t* bytes = image.Sector(chain[i].track, chain[i].sector);
    std::memset(bytes, 0, kSectorSize);
    const size_t start = i * kDataPerSector;
    const size_t length = std::min<size_t>(kDataPerSector, data.size() - std::min(start, data.size()));
    if (length > 0) std::memcpy(bytes + 2, data.data() + start, length);
    if (i + 1 < count) {
      bytes[0] = chain[i + 1].track;
      bytes[1] = chain[i + 1].sector;
    } else {
      bytes[0] = 0;
      bytes[1] = static_cast<uint8_t>(length + 1);
    }
  }
  first = chain.front();
  blocks = static_cast<uint16_t>(count);
  return {};
}

void FreeFileChain(DiskImage& image, SectorAddress first) {
  std::vector<SectorAddress> chain;
  FollowChain(image, first, kFaultIllegalTrackSector, [&](SectorAddress at, const uint8_t*) { chain.push_back(at); });
  for (SectorAddress address : chain) MarkBlock(image, address, true);
}

DiskFault AddDirectoryEntry(DiskImage& image, const DirectoryEntry& entry) {
  std::vector<SectorAddress> chain;
  const DiskFault fault = FollowChain(image, {kDirectoryTrack, kFirstDirectorySector}, kFaultDirectory,
                                      [&](SectorAddress at, const uint8_t*) { chain.push_back(at); });
  if (fault.code != 0) return fault;
  DirectoryEntry placed = entry;
  for (SectorAddress at : chain) {
    const uint8_t* bytes = image.Sector(at.track, at.sector);
    for (int i = 0; i < kEntriesPerSector; ++i) {
      if (bytes[kEntrySize * i + 2] != 0) continue;
      placed.slot = at;
      placed.index = i;
      UpdateDirectoryEntry(image, placed);
      return {};
    }
  }
  SectorAddress taken;
  if (!AllocateBlock(image, SectorsInUse(image), chain.back(), kDirectoryInterleave, true, taken)) {
    return {kFaultDiskFull, 0, 0};
  }
  uint8_t* last = image.Sector(chain.back().track, chain.back().sector);
  last[0] = taken.track;
  last[1] = taken.sector;
  uint8_t* fresh = image.Sector(taken.track, taken.sector);
  std::memset(fresh, 0, kSectorSize);
  fresh[1] = 0xFF;
  placed.slot = taken;
  placed.index = 0;
  UpdateDirectoryEntry(image, placed);
  return {};
}

void UpdateDirectoryEntry(DiskImage& image, const DirectoryEntry& entry) {
  uint8_t* bytes = EntryBytes(image, entry);
  if (bytes == nullptr) return;
  bytes[2] = entry.typeByte;
  bytes[3] = entry.first.track;
  bytes[4] = entry.first.sector;
  for (int k = 0; k < kFileNameLength; ++k) {
    bytes[5 + k] = k < static_cast<int>(entry.name.size()) ? static_cast<uint8_t>(entry.name[k]) : kPadding;
  }
  bytes[30] = static_cast<uint8_t>(entry.blocks & 0xFF);
  bytes[31] = static_cast<uint8_t>(entry.blocks >> 8);
}
