// directory_listing.h: the directory as the drive sends it for LOAD"$",8: a BASIC program.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "media/disk_directory.h"

inline constexpr uint16_t kListingLoadAddress = 0x0401;

// The listing program with its load address first: the header line (line 0, reverse on, the
// disk name in quotes, id and DOS type), one line per file whose name matches pattern (empty:
// every file) with its blocks as line number, then "BLOCKS FREE.". fault tells whether the
// directory could be read to its end.
std::vector<uint8_t> DirectoryListing(const DiskImage& image, const std::string& pattern, DiskFault& fault);
