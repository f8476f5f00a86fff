// media_file.h: reading untrusted media files: opening, reading fields at fixed offsets and
// copying data into Ram.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>

struct MediaFileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using MediaFile = std::unique_ptr<std::FILE, MediaFileCloser>;

// Null when the file cannot be opened for reading.
MediaFile OpenMediaFile(const char* path);
// Moves to offset, which may lie past the end; false when the file cannot be positioned.
bool SeekTo(std::FILE* file, uint64_t offset);
// Reads exactly count bytes from offset on; false when the file ends before them.
bool ReadAt(std::FILE* file, uint64_t offset, uint8_t* bytes, size_t count);
// Copies up to limit bytes from the file's position into Ram from address on, wrapping from
// $FFFF to $0000, until the file ends or a read fails. Returns the number of bytes copied.
uint32_t CopyIntoRam(std::FILE* file, uint16_t address, uint32_t limit);
