// disk_directory.h: the directory on track 18 and the sector chains that hold the files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "media/disk_bam.h"
#include "media/disk_image.h"

enum class FileType : uint8_t { Del = 0, Seq = 1, Prg = 2, Usr = 3, Rel = 4 };
inline constexpr int kFileNameLength = 16;
// A file sector holds the link to the next one, then this many bytes of the file.
inline constexpr int kDataPerSector = kSectorSize - 2;

// "DEL", "SEQ", "PRG", "USR", "REL", or "???" for a type byte outside them.
const char* FileTypeName(uint8_t typeBits);

// What went wrong, as the drive's error number with the track and sector concerned.
struct DiskFault {
  int code = 0;  // 0: none
  uint8_t track = 0;
  uint8_t sector = 0;
};
inline constexpr int kFaultIllegalTrackSector = 66;
inline constexpr int kFaultDirectory = 71;
inline constexpr int kFaultDiskFull = 72;

struct DirectoryEntry {
  SectorAddress slot;    // the directory sector that holds it
  int index = 0;         // 0-7 within that sector
  uint8_t typeByte = 0;  // bit 7 closed, bit 6 locked, bits 0-3 the type
  std::string name;      // up to 16 bytes, the padding dropped
  SectorAddress first;
  uint16_t blocks = 0;

  FileType Type() const { return static_cast<FileType>(typeByte & 0x0F); }
  bool Closed() const { return (typeByte & 0x80) != 0; }
  bool Locked() const { return (typeByte & 0x40) != 0; }
};

// The files of the directory in order (slots whose type byte is 0 are left out). A directory
// sector outside the disk or a chain longer than the directory track ends the walk with a fault;
// the entries found so far are kept.
DiskFault ReadDirectory(const DiskImage& image, std::vector<DirectoryEntry>& entries);

// A file's data bytes, following its chain from first. A link outside the disk, a sector with a
// recorded error or a chain longer than the disk has sectors ends with a fault.
DiskFault ReadFileChain(const DiskImage& image, SectorAddress first, std::vector<uint8_t>& data);

// Every sector the directory and the files' chains occupy (as far as they can be followed).
SectorSet SectorsInUse(const DiskImage& image);

// Writes data into newly allocated sectors (never into one in use by anything); on a full disk
// the map is left as it was and the fault is 72.
DiskFault WriteFileChain(DiskImage& image, const std::vector<uint8_t>& data, SectorAddress& first, uint16_t& blocks);
// Frees the chain's sectors in the map (as far as it can be followed).
void FreeFileChain(DiskImage& image, SectorAddress first);

// Fills a free directory slot (extending the directory on track 18 when all are taken); 72 when
// the directory is full.
DiskFault AddDirectoryEntry(DiskImage& image, const DirectoryEntry& entry);
// Writes the entry's type, name, first sector and size back into its slot.
void UpdateDirectoryEntry(DiskImage& image, const DirectoryEntry& entry);
