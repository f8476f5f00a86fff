// memory.cpp: the machine's memories, the processor-port banking and the power-on reset.
//
// Emulated: RAM, colour RAM and the three ROMs, banked by the low three bits of $0001 (LORAM,
// HIRAM, CHAREN); stores under a visible ROM land in the RAM beneath it.
// Left out: the data direction register at $0000 (plain RAM, it never changes the mapping) and
// the cartridge lines: a cartridge image is ordinary RAM at $8000-$9FFF.
// Called by: the CPU core for accesses its direct paths do not serve, and the machine's reset
// and start-up (machine/machine_reset.cpp).
#include "core/machine.h"

#include <algorithm>
#include <array>
#include <new>


uint8_t* Ram = nullptr;
uint8_t* ColorRam = nullptr;
uint8_t* FrameBuffer = nullptr;

namespace {
// Until the front end installs the real images, every ROM reads as zeros.
const uint8_t blankRom[kBasicRomSize] = {};

// Zero-filled, so the first frames and a snapshot taken before anything was drawn hold defined
// values.
uint8_t* AllocateOnce(uint8_t*& buffer, int size) {
  if (buffer == nullptr) buffer = new (std::nothrow) uint8_t[size]();
  return buffer;
}
}  // namespace

const uint8_t* BasicRom = blankRom;
const uint8_t* KernalRom = blankRom;
const uint8_t* CharRom = blankRom;

std::atomic<uint32_t> cartridgePresent{0};
char cartridgeFileName[kCartridgePathSize];

std::atomic<uint8_t> KeyDown[256];
std::atomic<uint8_t> KeyMatrix[8];

int AllocateMemories() {
  // The buffers live until the process exits; a second start-up keeps the first allocation.
  bool ram = AllocateOnce(Ram, kRamSize) != nullptr;
  bool color = AllocateOnce(ColorRam, kColorRamSize) != nullptr;
  bool frame = AllocateOnce(FrameBuffer, kFrameBufferSize) != nullptr;
  return ram && color && frame ? 1 : 0;
}

void ClearKeys() {
  for (auto& key : KeyDown) key.store(0);
}

void ResetMemories() {
  // Addresses with bit 7 set power up as $66, the others as $99, in runs of 128 bytes.
  for (int address = 0; address < kRamSize; ++address) Ram[address] = (address & 0x80) ? 0x66 : 0x99;
  std::fill_n(ColorRam, kColorRamSize, 0);
  Ram[0x0000] = 0x2F;
  Ram[0x0001] = 0x37;
}

namespace {
// LORAM and HIRAM both clear: RAM everywhere. Otherwise BASIC needs both, the KERNAL HIRAM, and
// $D000-$DFFF shows the character ROM with CHAREN clear and the I/O area with it set.
constexpr ReadRegion RegionFor(int port, int region) {
  const ReadRegion ram{&Ram, 0};
  if ((port & 3) == 0) return ram;
  switch (region) {
    case 0xA:
    case 0xB:
      return (port & 3) == 3 ? ReadRegion{&BasicRom, 0xA000} : ram;
    case 0xD:
      return (port & 4) == 0 ? ReadRegion{&CharRom, 0xD000} : ReadRegion{nullptr, 0xD000};
    case 0xE:
    case 0xF:
      return (port & 2) ? ReadRegion{&KernalRom, 0xE000} : ram;
    default:
      return ram;
  }
}

constexpr std::array<std::array<ReadRegion, 16>, 8> BuildReadMap() {
  std::array<std::array<ReadRegion, 16>, 8> map{};
  for (int port = 0; port < 8; ++port) {
    for (int region = 0; region < 16; ++region) map[port][region] = RegionFor(port, region);
  }
  return map;
}
}  // namespace

constinit const std::array<std::array<ReadRegion, 16>, 8> readMap = BuildReadMap();

void MemWrite(uint16_t address, uint8_t value) {
  if ((address & 0xF000) == 0xD000 && (Ram[0x0001] & 7) >= 5) {
    IoWrite(address, value);
    return;
  }
  Ram[address] = value;
}
