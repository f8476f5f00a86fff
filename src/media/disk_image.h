// disk_image.h: a .d64 disk image held in memory: its geometry, its sectors and the file it
// came from.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

inline constexpr int kSectorSize = 256;
inline constexpr int kDirectoryTrack = 18;
inline constexpr int kBamSector = 0;
inline constexpr int kFirstDirectorySector = 1;
// The tracks the allocation map covers; a 40-track image's last five are read but never allocated.
inline constexpr int kMappedTracks = 35;

struct SectorAddress {
  uint8_t track = 0;
  uint8_t sector = 0;
};

// The image sizes accepted: 35 or 40 tracks, each with or without a trailing error byte per sector.
bool IsDiskImageSize(uint64_t size);
// "174848, 175531, 196608 or 197376 bytes", for messages.
const char* DiskImageSizesText();
// Sectors on track (1-40), 0 for any other track.
int SectorsOnTrack(int track);

class DiskImage {
 public:
  // Takes the image's bytes; false, with the reason in error, for a size that is no .d64 size.
  bool SetBytes(std::vector<uint8_t> bytes, std::string& error);
  // Reads the file; false with a message naming the file and the sizes accepted. A file this
  // process may not write is write protected.
  bool Load(const std::string& path, std::string& error);
  // Replaces the file as a whole with the image as it stands. On failure the file stays as it
  // was, the image returns to what the file holds, and error says why.
  bool Store(std::string& error);

  int Tracks() const { return tracks_; }
  int SectorCount() const;
  bool Contains(int track, int sector) const;
  // Position of the sector among all sectors (0 ...), or -1 outside the disk.
  int SectorIndex(int track, int sector) const;
  // The sector's 256 bytes, or null outside the disk.
  uint8_t* Sector(int track, int sector);
  const uint8_t* Sector(int track, int sector) const;
  // The drive error a damaged sector answers with (20-29), from the image's error bytes; 0 if none.
  int SectorError(int track, int sector) const;

  bool writeProtected = false;
  const std::string& path() const { return path_; }
  // The whole file as it would be written: sectors, then the error bytes when the image has them.
  std::vector<uint8_t> FileBytes() const;

 private:
  std::vector<uint8_t> sectors_;
  std::vector<uint8_t> errorBytes_;
  std::vector<uint8_t> stored_;  // what the file holds, for a failed Store to return to
  std::string path_;
  int tracks_ = 0;
};
