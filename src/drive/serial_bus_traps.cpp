// serial_bus_traps.cpp: device 8 on the serial bus, at the level of the KERNAL's bus routines.
//
// Emulated: LISTEN and TALK addressing the drive, SECOND with its open ($F0), close ($E0) and
// data ($60) commands, TKSA choosing the channel to read, CIOUT and ACPTR moving one byte (the
// last byte of a file comes with EOI, ST bit 6; a channel with nothing to send times out, ST
// bits 1 and 6, as a file that was not found does), UNLSN ending a name or command and UNTLK.
// Each trap sets A, the carry and ST ($90) as the routine would and returns as its RTS would,
// with X and Y kept. The ROM's code runs for every other device and whenever the KERNAL is
// banked out, so devices other than 8 stay absent exactly as before.
// Left out: the bus lines and handshake (the CIA's serial bits never change), the transfer's
// timing (a trap costs the cycles of an RTS), ATN sent by programs to the CIA directly.
// Called by: the interpreter's instruction fetch, through driveBusTrap.
#include "drive/serial_bus_traps.h"

#include <string>

#include "core/cpu.h"
#include "core/machine.h"
#include "drive/disk_drive.h"
#include "drive/virtual_drive.h"

namespace {
constexpr uint16_t kStatus = 0x90;
constexpr uint8_t kStatusTimeoutRead = 0x02;
constexpr uint8_t kStatusEndOfFile = 0x40;
constexpr uint8_t kHiramBit = 0x02;

enum class Role { Idle, Listening, Talking };
enum class Phase { None, OpenName, Data };

// Emulation thread only (reset by ArmSerialBusTraps while it is paused).
Role role = Role::Idle;
Phase phase = Phase::None;
int channel = 0;
std::string openName;

void ReturnFromRoutine() {
  CpuRegisters& r = CpuRegs;
  const uint8_t low = Ram[0x0100 + static_cast<uint8_t>(r.sp + 1)];
  const uint8_t high = Ram[0x0100 + static_cast<uint8_t>(r.sp + 2)];
  r.sp = static_cast<uint8_t>(r.sp + 2);
  r.pc = static_cast<uint16_t>((high << 8 | low) + 1);
  r.carryFlag = 0;
}

void SetStatusBits(uint8_t bits) { Ram[kStatus] |= bits; }

bool Address(Role wanted) {
  if (CpuRegs.a != kDriveDevice) {
    role = Role::Idle;
    return false;
  }
  role = wanted;
  phase = Phase::None;
  return true;
}

void Second(uint8_t command) {
  channel = command & 0x0F;
  switch (command & 0xF0) {
    case 0xF0:
      phase = Phase::OpenName;
      openName.clear();
      break;
    case 0xE0:
      Drive8().Close(channel);
      phase = Phase::None;
      break;
    default: phase = Phase::Data; break;
  }
}

void Unlisten() {
  if (phase == Phase::OpenName) Drive8().Open(channel, openName);
  if (phase == Phase::Data) Drive8().EndOfWrite(channel);
  ReportOwnCodeOnce();
  role = Role::Idle;
  phase = Phase::None;
}

void Acceptor() {
  uint8_t byte = 0;
  bool last = false;
  if (phase == Phase::Data && Drive8().Read(channel, byte, last)) {
    CpuRegs.a = byte;
    if (last) SetStatusBits(kStatusEndOfFile);
  } else {
    CpuRegs.a = 0;
    SetStatusBits(kStatusTimeoutRead | kStatusEndOfFile);
  }
  CpuRegs.zeroFlag = CpuRegs.a == 0;
  CpuRegs.negativeSource = CpuRegs.a;
}
}  // namespace

void ArmSerialBusTraps(bool armed) {
  role = Role::Idle;
  phase = Phase::None;
  openName.clear();
  driveBusTrap = armed ? SerialBusTrap : nullptr;
}

bool SerialBusTrap(uint16_t pc) {
  if ((Ram[0x0001] & kHiramBit) == 0) return false;
  const uint8_t a = CpuRegs.a;
  switch (pc) {
    case kListenRoutine:
      if (!Address(Role::Listening)) return false;
      break;
    case kTalkRoutine:
      if (!Address(Role::Talking)) return false;
      break;
    case kSecondRoutine:
      if (role != Role::Listening) return false;
      Second(a);
      break;
    case kTksaRoutine:
      if (role != Role::Talking) return false;
      channel = a & 0x0F;
      phase = Phase::Data;
      break;
    case kCioutRoutine:
      if (role != Role::Listening) return false;
      if (phase == Phase::OpenName) openName += static_cast<char>(a);
      if (phase == Phase::Data) Drive8().Write(channel, a);
      break;
    case kUnlsnRoutine:
      if (role != Role::Listening) return false;
      Unlisten();
      break;
    case kUntlkRoutine:
      if (role != Role::Talking) return false;
      role = Role::Idle;
      phase = Phase::None;
      break;
    case kAcptrRoutine:
      if (role != Role::Talking) return false;
      Acceptor();
      break;
    default: return false;
  }
  ReturnFromRoutine();
  return true;
}
