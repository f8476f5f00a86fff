// machine.h: the emulated machine's memories, ROM images, banking and power-on reset.
//
// All machine state is global and touched by the emulation thread, except where a comment says
// otherwise: the application thread writes it only while the pause handshake holds the thread idle.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

inline constexpr int kRamSize = 65536;
inline constexpr int kColorRamSize = 1024;
inline constexpr int kFrameBufferSize = 65536;
inline constexpr int kBasicRomSize = 8192;
inline constexpr int kKernalRomSize = 8192;
inline constexpr int kCharRomSize = 4096;

extern uint8_t* Ram;          // 64 KiB main memory, indexed by the emulated address
extern uint8_t* ColorRam;     // 1 KiB colour memory, values 0-15
extern uint8_t* FrameBuffer;  // 320 palette indices per row, row r showing raster line r + 50

extern const uint8_t* BasicRom;   // seen at $A000-$BFFF
extern const uint8_t* KernalRom;  // seen at $E000-$FFFF
extern const uint8_t* CharRom;    // seen at $D000-$DFFF by the CPU, in two windows by the VIC-II

// Cartridge attached by the menu: while set, every machine reset reloads it.
inline constexpr int kCartridgePathSize = 260;
extern std::atomic<uint32_t> cartridgePresent;
extern char cartridgeFileName[kCartridgePathSize];

// Host keyboard state, written by the user-interface thread while the emulation runs and read by
// the CIA on the emulation thread, so every byte is atomic.
extern std::atomic<uint8_t> KeyDown[256];   // by host virtual-key code, nonzero while held
extern std::atomic<uint8_t> KeyMatrix[8];   // by C64 column, bit r clear while row r is held

int AllocateMemories();
void ClearKeys();
// RAM to its power-up pattern, colour RAM cleared, the processor port at $2F/$37.
void ResetMemories();

void MemWrite(uint16_t address, uint8_t value);

// The I/O area $D000-$DFFF while the processor port shows it: served by the chips' I/O decode,
// which defines these.
uint8_t IoRead(uint16_t address);
void IoWrite(uint16_t address, uint8_t value);

// What the processor reads in each 4 KiB region under each setting of the port's three banking
// bits: the byte at (*image)[address - base], or the I/O area where image is null. The images
// are reached through their pointer variables, so installing other ROMs needs no update here.
struct ReadRegion {
  const uint8_t* const* image;
  uint16_t base;
};
extern const std::array<std::array<ReadRegion, 16>, 8> readMap;

// A read as the processor sees it: RAM, a ROM or the I/O area, by the banking in $0001.
[[gnu::always_inline]] inline uint8_t MemRead(uint16_t address) {
  const ReadRegion& region = readMap[Ram[0x0001] & 7][address >> 12];
  return region.image != nullptr ? (*region.image)[address - region.base] : IoRead(address);
}
