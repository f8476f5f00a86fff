// program_loader.cpp: program files copied straight into Ram, as a completed LOAD leaves them.
//
// Emulated: the bytes land at the file's own load address (wrapping from $FFFF to $0000), the
// BASIC pointers $2D-$32 are set after the end, and RUN with RETURN is put into the KERNAL
// keyboard buffer, so BASIC starts the program as soon as it reads the keyboard at READY.
// Left out: any validation of signatures, versions, directory entries or end addresses; a T64
// image loads everything from its first entry's data offset to the end of the file. At most
// 65536 bytes are copied, one pass over memory, so an endless input cannot hold the caller.
// Called by: the "Load program..." and "Load T64 image..." commands, the start-up code (also for a
// disk's first program) and the headless runner.
#include "media/program_loader.h"

#include <algorithm>
#include <cstring>

#include "core/machine.h"
#include "media/media_file.h"

namespace {
constexpr uint64_t kP00HeaderSize = 26;
constexpr uint64_t kT64LoadAddressAt = 66;
constexpr uint64_t kT64DataOffsetAt = 72;
constexpr uint16_t kKeyboardBuffer = 0x0277;
constexpr uint16_t kKeyboardCount = 0x00C6;
constexpr uint8_t kTypedRun[] = {'R', 'U', 'N', 13};

// The high bytes at $30 and $32 are E's, without a carry from the incremented low bytes.
void SetBasicPointers(uint16_t end) {
  const auto low = static_cast<uint8_t>(end & 0xFF);
  const auto high = static_cast<uint8_t>(end >> 8);
  Ram[0x2D] = low;
  Ram[0x2E] = high;
  Ram[0x2F] = static_cast<uint8_t>(low + 1);
  Ram[0x30] = high;
  Ram[0x31] = static_cast<uint8_t>(low + 2);
  Ram[0x32] = high;
}

void TypeRun() {
  std::memcpy(Ram + kKeyboardBuffer, kTypedRun, sizeof kTypedRun);
  Ram[kKeyboardCount] = sizeof kTypedRun;
}

void FinishLoad(uint16_t address, uint32_t count) {
  SetBasicPointers(static_cast<uint16_t>(address + count));
  TypeRun();
}

uint16_t LoadAddress(const uint8_t bytes[2]) { return static_cast<uint16_t>(bytes[0] | bytes[1] << 8); }

// file stands at the program bytes, or is null when they cannot be reached.
int FinishFileLoad(std::FILE* file, const uint8_t loadAddress[2]) {
  const uint16_t address = LoadAddress(loadAddress);
  FinishLoad(address, file != nullptr ? CopyIntoRam(file, address, kRamSize) : 0);
  return 1;
}
}  // namespace

int LoadPrg(const char* path) {
  MediaFile file = OpenMediaFile(path);
  if (!file) return 0;
  const size_t length = std::strlen(path);
  const uint64_t start = length > 0 && path[length - 1] == '0' ? kP00HeaderSize : 0;
  uint8_t loadAddress[2];
  if (!ReadAt(file.get(), start, loadAddress, sizeof loadAddress)) return 0;
  return FinishFileLoad(file.get(), loadAddress);
}

int LoadT64(const char* path) {
  MediaFile file = OpenMediaFile(path);
  if (!file) return 0;
  uint8_t loadAddress[2];
  uint8_t dataOffset[4];
  if (!ReadAt(file.get(), kT64LoadAddressAt, loadAddress, sizeof loadAddress) ||
      !ReadAt(file.get(), kT64DataOffsetAt, dataOffset, sizeof dataOffset)) {
    return 0;
  }
  const uint64_t offset = static_cast<uint64_t>(dataOffset[0]) | dataOffset[1] << 8 | dataOffset[2] << 16 |
                          static_cast<uint64_t>(dataOffset[3]) << 24;
  return FinishFileLoad(SeekTo(file.get(), offset) ? file.get() : nullptr, loadAddress);
}

int LoadProgramBytes(const uint8_t* bytes, size_t size) {
  if (size < 2) return 0;
  const uint16_t address = LoadAddress(bytes);
  const auto count = static_cast<uint32_t>(std::min<size_t>(size - 2, kRamSize));
  for (uint32_t i = 0; i < count; ++i) Ram[static_cast<uint16_t>(address + i)] = bytes[2 + i];
  FinishLoad(address, count);
  return 1;
}
