// media_file.cpp: the file reading shared by the program and cartridge loaders.
//
// Every file is untrusted: reads are bounded by the caller's limit, positions are checked, and a
// short file simply yields fewer bytes. Stores into Ram wrap at 16 bits, so no file can reach
// past the buffer.
// Called by: the program loaders and the cartridge loader.
#include "media/media_file.h"

#include <sys/types.h>

#include <algorithm>

#include "core/machine.h"

namespace {
constexpr size_t kChunkSize = 4096;
}  // namespace

MediaFile OpenMediaFile(const char* path) { return MediaFile(std::fopen(path, "rb")); }

bool SeekTo(std::FILE* file, uint64_t offset) { return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0; }

bool ReadAt(std::FILE* file, uint64_t offset, uint8_t* bytes, size_t count) {
  return SeekTo(file, offset) && std::fread(bytes, 1, count, file) == count;
}

uint32_t CopyIntoRam(std::FILE* file, uint16_t address, uint32_t limit) {
  uint8_t chunk[kChunkSize];
  uint32_t copied = 0;
  while (copied < limit) {
    const size_t wanted = std::min<size_t>(kChunkSize, limit - copied);
    const size_t got = std::fread(chunk, 1, wanted, file);
    for (size_t i = 0; i < got; ++i) Ram[static_cast<uint16_t>(address + copied + i)] = chunk[i];
    copied += static_cast<uint32_t>(got);
    if (got < wanted) break;
  }
  return copied;
}
