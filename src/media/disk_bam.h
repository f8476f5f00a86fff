// disk_bam.h: the block availability map on track 18, sector 0: which sectors are free, the
// disk's name and id, and formatting.
#pragma once

#include <string>
#include <vector>

#include "media/disk_image.h"

// The sum of the free counts of tracks 1-35 other than the directory track, as the drive
// reports it under the directory.
int BlocksFree(const DiskImage& image);
bool IsBlockFree(const DiskImage& image, SectorAddress address);
// Marks the sector used or free in the map; sectors the map does not cover are left alone.
void MarkBlock(DiskImage& image, SectorAddress address, bool free);

// The disk name (up to 16 bytes, padding dropped) and the two-byte id.
std::string DiskName(const DiskImage& image);
std::string DiskId(const DiskImage& image);

// An empty disk: every sector zeroed (when id is given) or only the directory cleared (when it is
// empty, keeping the old id), a fresh map with the directory track's first two sectors in use.
void FormatDisk(DiskImage& image, const std::string& name, const std::string& id);
// Frees every mapped sector but those of the directory track's first two.
void ClearBlockMap(DiskImage& image);

// Which sectors something is known to live in, by sector index.
using SectorSet = std::vector<bool>;

// A sector the map shows free and busy does not hold, taken in the map; the search starts at
// near and steps by interleave sectors on a track, moving away from the directory track
// (tracks 17 down to 1, then 19 up to 35). Directory sectors are only taken on track 18.
// False when no sector is left.
bool AllocateBlock(DiskImage& image, const SectorSet& busy, SectorAddress near, int interleave,
                   bool directoryTrack, SectorAddress& taken);
