// serial_bus_traps.h: the KERNAL's serial-bus routines answered by the virtual drive.
#pragma once

#include <cstdint>

inline constexpr uint16_t kTalkRoutine = 0xED09;
inline constexpr uint16_t kListenRoutine = 0xED0C;
inline constexpr uint16_t kSecondRoutine = 0xEDB9;
inline constexpr uint16_t kTksaRoutine = 0xEDC7;
inline constexpr uint16_t kCioutRoutine = 0xEDDD;
inline constexpr uint16_t kUntlkRoutine = 0xEDEF;
inline constexpr uint16_t kUnlsnRoutine = 0xEDFE;
inline constexpr uint16_t kAcptrRoutine = 0xEE13;
inline constexpr uint8_t kDriveDevice = 8;

// Installs the trap in the interpreter (armed) or takes it out; the bus starts idle.
void ArmSerialBusTraps(bool armed);

// The trap: with the KERNAL mapped in and pc at one of the eight routines, does what the routine
// does for device 8 and returns to the caller. Calls for other devices, and bus routines while
// device 8 is not addressed, are left to the ROM (false).
bool SerialBusTrap(uint16_t pc);
