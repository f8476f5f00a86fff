// disk_image.cpp: .d64 image files: their sizes, the sector layout and whole-file storing.
//
// Emulated: the 1541's zones (21, 19, 18 and 17 sectors per track), 35- and 40-track images,
// and the error bytes some images carry after the sectors, which make a sector answer with
// the drive error recorded for it.
// Left out: any other image format (.g64, .d71, .d81). Every sector access is checked against
// the image's own track count, so no index reaches outside the bytes held.
// Called by: the allocation map, the directory code and the virtual drive.
#include "media/disk_image.h"

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "platform/atomic_file.h"

namespace {
constexpr uint64_t kSectors35 = 683;
constexpr uint64_t kSectors40 = 768;
constexpr uint8_t kErrorByteDriveNotReady = 0x0F;
constexpr uint8_t kErrorByteBadGcr = 0x10;

// First sector index of each track, 1-40; entry 41 is the 40-track total.
constexpr int TrackStart(int track) {
  int start = 0;
  for (int t = 1; t < track; ++t) start += t <= 17 ? 21 : t <= 24 ? 19 : t <= 30 ? 18 : 17;
  return start;
}
static_assert(TrackStart(36) == static_cast<int>(kSectors35) && TrackStart(41) == static_cast<int>(kSectors40));
}  // namespace

bool IsDiskImageSize(uint64_t size) {
  return size == kSectors35 * kSectorSize || size == kSectors35 * (kSectorSize + 1) ||
         size == kSectors40 * kSectorSize || size == kSectors40 * (kSectorSize + 1);
}

const char* DiskImageSizesText() { return "174848, 175531, 196608 or 197376 bytes"; }

int SectorsOnTrack(int track) {
  if (track < 1 || track > 40) return 0;
  return track <= 17 ? 21 : track <= 24 ? 19 : track <= 30 ? 18 : 17;
}

bool DiskImage::SetBytes(std::vector<uint8_t> bytes, std::string& error) {
  if (!IsDiskImageSize(bytes.size())) {
    error = "it is " + std::to_string(bytes.size()) + " bytes long; a .d64 image has " + DiskImageSizesText();
    return false;
  }
  const uint64_t sectorCount = bytes.size() % kSectorSize == 0 ? bytes.size() / kSectorSize
                                                               : bytes.size() / (kSectorSize + 1);
  tracks_ = sectorCount == kSectors35 ? 35 : 40;
  stored_ = bytes;
  errorBytes_.assign(bytes.begin() + static_cast<std::ptrdiff_t>(sectorCount * kSectorSize), bytes.end());
  bytes.resize(sectorCount * kSectorSize);
  sectors_ = std::move(bytes);
  return true;
}

bool DiskImage::Load(const std::string& path, std::string& error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    error = "cannot read the disk image " + path;
    return false;
  }
  // Read at most one byte more than the largest image, so a huge file costs nothing.
  std::vector<uint8_t> bytes(kSectors40 * (kSectorSize + 1) + 1);
  file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<size_t>(file.gcount()));
  if (!SetBytes(std::move(bytes), error)) {
    error = path + " is not a disk image vornce can use: " + error;
    return false;
  }
  path_ = path;
  // the permission bits count even for a user access() lets write anyway (root)
  struct stat status {};
  writeProtected = access(path.c_str(), W_OK) != 0 || (stat(path.c_str(), &status) == 0 && (status.st_mode & 0222) == 0);
  return true;
}

std::vector<uint8_t> DiskImage::FileBytes() const {
  std::vector<uint8_t> bytes = sectors_;
  bytes.insert(bytes.end(), errorBytes_.begin(), errorBytes_.end());
  return bytes;
}

bool DiskImage::Store(std::string& error) {
  std::vector<uint8_t> bytes = FileBytes();
  if (ReplaceFileAtomically(path_.c_str(), bytes.data(), bytes.size())) {
    stored_ = std::move(bytes);
    return true;
  }
  error = "cannot write the disk image " + path_ + "; the file is kept as it was";
  std::string ignored;
  SetBytes(stored_, ignored);
  return false;
}

int DiskImage::SectorCount() const { return static_cast<int>(sectors_.size() / kSectorSize); }

bool DiskImage::Contains(int track, int sector) const {
  return track >= 1 && track <= tracks_ && sector >= 0 && sector < SectorsOnTrack(track);
}

int DiskImage::SectorIndex(int track, int sector) const {
  return Contains(track, sector) ? TrackStart(track) + sector : -1;
}

uint8_t* DiskImage::Sector(int track, int sector) {
  const int index = SectorIndex(track, sector);
  return index < 0 ? nullptr : sectors_.data() + static_cast<size_t>(index) * kSectorSize;
}

const uint8_t* DiskImage::Sector(int track, int sector) const {
  const int index = SectorIndex(track, sector);
  return index < 0 ? nullptr : sectors_.data() + static_cast<size_t>(index) * kSectorSize;
}

int DiskImage::SectorError(int track, int sector) const {
  const int index = SectorIndex(track, sector);
  if (index < 0 || static_cast<size_t>(index) >= errorBytes_.size()) return 0;
  const uint8_t code = errorBytes_[static_cast<size_t>(index)];
  // 0 and 1 both mean a good sector; 2-11 are errors 20-29 in order.
  if (code >= 2 && code <= 11) return code + 18;
  if (code == kErrorByteBadGcr) return 24;
  if (code == kErrorByteDriveNotReady) return 74;
  return 0;
}
