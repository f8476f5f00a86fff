// d64_builder.h: .d64 images made byte by byte in a test, independent of the image code under
// test: a blank formatted disk, files laid down in plain chains, and raw access for damage.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using DiskBytes = std::vector<uint8_t>;

// Byte offset of track/sector in a .d64 image.
size_t D64Offset(int track, int sector);
// A formatted, empty 35-track disk (664 blocks free) named name with id "AB".
DiskBytes BlankD64(const std::string& name = "TEST DISK");
// Adds a closed file of type (1 SEQ, 2 PRG, 3 USR, 4 REL) whose chain runs through consecutive
// sectors from track/sector on, marked used in the map. Returns the first sector's offset.
size_t AddD64File(DiskBytes& image, const std::string& name, uint8_t type, const DiskBytes& data, int track = 1,
                  int sector = 0);
// The data bytes of directory entry index (0-7) of sector 18/1.
uint8_t* D64Entry(DiskBytes& image, int index);
