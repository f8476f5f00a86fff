// disk_bam.cpp: reading and changing the block availability map of a disk image.
//
// Emulated: the map of DOS 2.6 (per track a free count and a 24-bit free mask, for tracks
// 1-35), the disk name and id fields, formatting and the allocation order of the drive: files
// start next to the directory track and move outwards, with an interleave between sectors.
// Left out: maps of the extended 40-track formats; tracks 36-40 are never allocated.
// Called by: the directory code, the virtual drive's commands and the image fuzz target.
#include "media/disk_bam.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr int kNameAt = 0x90;
constexpr int kNameLength = 16;
constexpr int kIdAt = 0xA2;
constexpr int kDosTypeAt = 0xA5;
constexpr uint8_t kPadding = 0xA0;

uint8_t* BamEntry(DiskImage& image, int track) {
  return track >= 1 && track <= kMappedTracks ? image.Sector(kDirectoryTrack, kBamSector) + 4 * track : nullptr;
}

const uint8_t* BamEntry(const DiskImage& image, int track) {
  return track >= 1 && track <= kMappedTracks ? image.Sector(kDirectoryTrack, kBamSector) + 4 * track : nullptr;
}

std::string PaddedField(const DiskImage& image, int at, int length) {
  const uint8_t* bam = image.Sector(kDirectoryTrack, kBamSector);
  std::string text;
  for (int i = 0; i < length && bam[at + i] != kPadding; ++i) text += static_cast<char>(bam[at + i]);
  return text;
}

void WriteField(uint8_t* bam, int at, int length, const std::string& text) {
  for (int i = 0; i < length; ++i) bam[at + i] = i < static_cast<int>(text.size()) ? static_cast<uint8_t>(text[i]) : kPadding;
}

// The tracks to search, in the drive's order, starting from near's track.
std::vector<int> TrackOrder(int nearTrack) {
  std::vector<int> below, above;
  for (int t = kDirectoryTrack - 1; t >= 1; --t) below.push_back(t);
  for (int t = kDirectoryTrack + 1; t <= kMappedTracks; ++t) above.push_back(t);
  std::vector<int> order;
  const bool startAbove = nearTrack > kDirectoryTrack;
  std::vector<int>& first = startAbove ? above : below;
  std::vector<int>& second = startAbove ? below : above;
  const auto from = std::find(first.begin(), first.end(), nearTrack);
  const auto start = from == first.end() ? first.begin() : from;
  order.insert(order.end(), start, first.end());
  order.insert(order.end(), second.begin(), second.end());
  order.insert(order.end(), first.begin(), start);
  return order;
}

bool TakeOnTrack(DiskImage& image, const SectorSet& busy, int track, int startSector, SectorAddress& taken) {
  const int count = SectorsOnTrack(track);
  for (int step = 0; step < count; ++step) {
    const SectorAddress candidate{static_cast<uint8_t>(track), static_cast<uint8_t>((startSector + step) % count)};
    const int index = image.SectorIndex(candidate.track, candidate.sector);
    if (index < 0 || !IsBlockFree(image, candidate) || busy[static_cast<size_t>(index)]) continue;
    MarkBlock(image, candidate, false);
    taken = candidate;
    return true;
  }
  return false;
}
}  // namespace

int BlocksFree(const DiskImage& image) {
  int free = 0;
  for (int track = 1; track <= kMappedTracks; ++track) {
    if (track != kDirectoryTrack) free += BamEntry(image, track)[0];
  }
  return free;
}

bool IsBlockFree(const DiskImage& image, SectorAddress address) {
  const uint8_t* entry = BamEntry(image, address.track);
  if (entry == nullptr || address.sector >= SectorsOnTrack(address.track)) return false;
  return (entry[1 + address.sector / 8] >> (address.sector % 8) & 1) != 0;
}

void MarkBlock(DiskImage& image, SectorAddress address, bool free) {
  uint8_t* entry = BamEntry(image, address.track);
  if (entry == nullptr || address.sector >= SectorsOnTrack(address.track)) return;
  if (IsBlockFree(image, address) == free) return;
  const auto bit = static_cast<uint8_t>(1 << (address.sector % 8));
  if (free) {
    entry[1 + address.sector / 8] |= bit;
    entry[0] = static_cast<uint8_t>(std::min<int>(entry[0] + 1, SectorsOnTrack(address.track)));
  } else {
    entry[1 + address.sector / 8] &= static_cast<uint8_t>(~bit);
    if (entry[0] > 0) --entry[0];
  }
}

std::string DiskName(const DiskImage& image) { return PaddedField(image, kNameAt, kNameLength); }
std::string DiskId(const DiskImage& image) { return PaddedField(image, kIdAt, 2); }

void ClearBlockMap(DiskImage& image) {
  for (int track = 1; track <= kMappedTracks; ++track) {
    uint8_t* entry = BamEntry(image, track);
    const int count = SectorsOnTrack(track);
    entry[0] = static_cast<uint8_t>(count);
    for (int i = 0; i < 3; ++i) {
      const int bits = std::clamp(count - 8 * i, 0, 8);
      entry[1 + i] = static_cast<uint8_t>((1 << bits) - 1);
    }
  }
  MarkBlock(image, {kDirectoryTrack, kBamSector}, false);
  MarkBlock(image, {kDirectoryTrack, kFirstDirectorySector}, false);
}

void FormatDisk(DiskImage& image, const std::string& name, const std::string& id) {
  const std::string keptId = id.empty() ? DiskId(image) : id;
  if (!id.empty()) {
    for (int track = 1; track <= image.Tracks(); ++track) {
      for (int sector = 0; sector < SectorsOnTrack(track); ++sector) std::memset(image.Sector(track, sector), 0, kSectorSize);
    }
  }
  uint8_t* bam = image.Sector(kDirectoryTrack, kBamSector);
  if (bam == nullptr) return;  // every accepted size has the directory track
  std::memset(bam, 0, kSectorSize);
  bam[0] = kDirectoryTrack;
  bam[1] = kFirstDirectorySector;
  bam[2] = 'A';
  ClearBlockMap(image);
  WriteField(bam, kNameAt, kNameLength + 2, name.substr(0, kNameLength));
  WriteField(bam, kIdAt, 5, keptId.substr(0, 2));
  bam[kDosTypeAt] = '2';
  bam[kDosTypeAt + 1] = 'A';
  WriteField(bam, kDosTypeAt + 2, 4, "");
  uint8_t* directory = image.Sector(kDirectoryTrack, kFirstDirectorySector);
  std::memset(directory, 0, kSectorSize);
  directory[1] = 0xFF;
}

bool AllocateBlock(DiskImage& image, const SectorSet& busy, SectorAddress near, int interleave,
                   bool directoryTrack, SectorAddress& taken) {
  if (directoryTrack) {
    return TakeOnTrack(image, busy, kDirectoryTrack, near.track == kDirectoryTrack ? near.sector + interleave : 0, taken);
  }
  for (int track : TrackOrder(near.track)) {
    const int start = track == near.track ? near.sector + interleave : 0;
    if (TakeOnTrack(image, busy, track, start, taken)) return true;
  }
  return false;
}
