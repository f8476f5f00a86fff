// cartridge.cpp: CRT cartridge images, reloaded at every reset while one is attached.
//
// Emulated: the data of the first chip packet lands in Ram at the packet's load address, after
// the reset has refilled memory, so the KERNAL's reset code starts a cartridge carrying the
// autostart signature at $8004. Only hardware types 0 (normal) and 4 are accepted.
// Left out: the cartridge port itself (no ROM banking, EXROM/GAME lines or bank switching), every
// chip packet after the first, and write protection: the image is ordinary RAM until the next
// reset reloads it.
// Called by: the machine reset (LoadCartridge, through cartridgeLoader), the "Load cartridge..." command and the headless
// runner (AttachCartridge, CartridgeLoadable).
#include "media/cartridge.h"

#include <cstring>

#include "core/machine.h"
#include "machine/machine_reset.h"
#include "machine/scheduler.h"
#include "media/media_file.h"

namespace {
constexpr int kHeaderSize = 64;
constexpr int kHardwareTypeAt = 22;
constexpr int kPacketHeaderSize = 16;
constexpr int kPacketLoadAddressAt = 12;
constexpr int kPacketImageSizeAt = 14;

// The CRT format stores its fields big-endian.
uint16_t BigEndian16(const uint8_t* bytes) { return static_cast<uint16_t>(bytes[0] << 8 | bytes[1]); }

// Null unless the file holds both headers and a supported hardware type; then it stands at the
// first packet's data.
MediaFile OpenCartridge(const char* path, uint16_t& loadAddress, uint16_t& imageSize) {
  MediaFile file = OpenMediaFile(path);
  uint8_t headers[kHeaderSize + kPacketHeaderSize];
  if (!file || !ReadAt(file.get(), 0, headers, sizeof headers)) return nullptr;
  const uint16_t hardwareType = BigEndian16(headers + kHardwareTypeAt);
  if (hardwareType != 0 && hardwareType != 4) return nullptr;
  loadAddress = BigEndian16(headers + kHeaderSize + kPacketLoadAddressAt);
  imageSize = BigEndian16(headers + kHeaderSize + kPacketImageSizeAt);
  return file;
}
}  // namespace

int AttachCartridge(const char* path) {
  const size_t length = std::strlen(path);
  if (length >= kCartridgePathSize) return 0;
  std::memcpy(cartridgeFileName, path, length + 1);
  cartridgeLoader = LoadCartridge;
  cartridgePresent.store(1);
  resetAtFrameEnd.store(1);
  return 1;
}

int CartridgeLoadable(const char* path) {
  uint16_t loadAddress;
  uint16_t imageSize;
  return OpenCartridge(path, loadAddress, imageSize) ? 1 : 0;
}

int LoadCartridge(const char* path) {
  uint16_t loadAddress;
  uint16_t imageSize;
  MediaFile file = OpenCartridge(path, loadAddress, imageSize);
  if (!file) return 0;
  CopyIntoRam(file.get(), loadAddress, imageSize);
  return 1;
}
