// io.cpp: the I/O area at $D000-$DFFF, decoded into the chips behind it.
//
// Emulated: the VIC-II (mirrored every 64 bytes), the SID (every 32 bytes), colour RAM with its
// 4-bit cells, CIA 1 and CIA 2 (every 16 bytes), and the read-only identification area at
// $DFA0-$DFFF through which programs can recognise this emulator; for test harness runs only, an
// exit register at $D7FF whose write ends the run.
// Left out: the expansion port's I/O 1 and I/O 2 pages (they read $FF and ignore writes), the
// unused tail of colour RAM ($DBE8-$DBFF reads $FF), and open-bus values.
// Called by: MemRead and MemWrite while the processor port makes the I/O area visible.
#include "chips/io.h"

#include <array>
#include <string_view>

#include "chips/cia.h"
#include "chips/vic.h"
#include "core/machine.h"
#include "core/scheduler_state.h"
#include "sound/sid.h"

uint8_t idToggle = 0xAA;
bool exitRegisterEnabled = false;
int exitRegisterValue = -1;

namespace {
constexpr int kColorRamVisible = 0x3E8;  // the 1000 cells of a 40 x 25 screen
constexpr int kIdentificationStart = 0xA0;  // offset inside page $DF
constexpr uint16_t kExitRegister = 0xD7FF;

constexpr std::string_view kEmulatorName = "VORNCE ON CE, V0.40";
constexpr std::string_view kCredit = " WINDOWS CE PORT BY THE VORNCE TEAM";
constexpr size_t kCreditLength = 38;
static_assert(kEmulatorName.size() == 19 && kEmulatorName.ends_with(", V0.40"));
static_assert(kCredit.size() <= kCreditLength);

// $DFA0-$DFFF: name, carriage return, credit line, zeros, then $40 $00 $4A and the toggle byte.
constexpr std::array<uint8_t, 0x60> BuildIdentification() {
  std::array<uint8_t, 0x60> bytes{};
  size_t at = 0;
  for (char ch : kEmulatorName) bytes[at++] = static_cast<uint8_t>(ch);
  bytes[at++] = 13;
  for (size_t i = 0; i < kCreditLength; ++i) {
    bytes[at++] = static_cast<uint8_t>(i < kCredit.size() ? kCredit[i] : ' ');
  }
  bytes[0x5C] = 0x40;
  bytes[0x5E] = 0x4A;
  return bytes;
}
constexpr std::array<uint8_t, 0x60> identification = BuildIdentification();
static_assert(identification[0x13] == 13 && identification[0x39] == ' ' && identification[0x3A] == 0);

uint8_t ReadIdentification(int offset) {
  if (offset != 0x5F) return identification[offset];
  // Programs tell this emulator from real hardware by this byte changing between reads.
  const uint8_t v = idToggle;
  idToggle = static_cast<uint8_t>(~idToggle);
  return v;
}

// The voice registers 0-20 in the order each voice lays them out.
void (*const voiceWrites[7])(int, uint8_t) = {SidWriteFreqLo,  SidWriteFreqHi,      SidWritePulseLo,
                                               SidWritePulseHi, SidWriteControl,     SidWriteAttackDecay,
                                               SidWriteSustainRelease};

uint8_t SidRead(int n) {
  switch (n) {
    case 25:
    case 26:
      return 0xFF;  // no paddles
    case 27:
      return ReadOsc3();
    case 28:
      return ReadEnvelope3();
    default:
      return 0;
  }
}

void SidWrite(int n, uint8_t v) {
  if (n < 21) {
    voiceWrites[n % 7](n / 7, v);
  } else if (n == 24) {
    SidWriteMode(v);
  } else {
    sidRegs[n] = v;
  }
}
}  // namespace

uint8_t IoRead(uint16_t address) {
  switch ((address >> 8) & 0x0F) {
    case 0x0: case 0x1: case 0x2: case 0x3:
      return VicRead(address & 0x3F);
    case 0x4: case 0x5: case 0x6: case 0x7:
      return SidRead(address & 0x1F);
    case 0x8: case 0x9: case 0xA: case 0xB:
      return (address & 0x3FF) < kColorRamVisible ? ColorRam[address & 0x3FF] & 0x0F : 0xFF;
    case 0xC:
      return CiaRead(1, address & 0x0F);
    case 0xD:
      return CiaRead(2, address & 0x0F);
    case 0xE:
      return 0xFF;
    default: {
      const int offset = (address & 0xFF) - kIdentificationStart;
      return offset >= 0 ? ReadIdentification(offset) : 0xFF;
    }
  }
}

void IoWrite(uint16_t address, uint8_t value) {
  // a write may move what the emulation loop planned its run of instructions around
  EndRunAfterInstruction();
  switch ((address >> 8) & 0x0F) {
    case 0x0: case 0x1: case 0x2: case 0x3:
      VicWrite(address & 0x3F, value);
      break;
    case 0x4: case 0x5: case 0x6: case 0x7:
      if (exitRegisterEnabled && address == kExitRegister) {
        exitRegisterValue = value;
        resetRequest.store(kHaltRequest);
        break;
      }
      SidWrite(address & 0x1F, value);
      break;
    case 0x8: case 0x9: case 0xA: case 0xB:
      if ((address & 0x3FF) < kColorRamVisible) ColorRam[address & 0x3FF] = value & 0x0F;
      break;
    case 0xC:
      CiaWrite(1, address & 0x0F, value);
      break;
    case 0xD:
      CiaWrite(2, address & 0x0F, value);
      break;
    default:
      break;  // the identification area and the expansion pages are read-only
  }
}
