// cpu_operations.h: what the 6510's instructions do to the registers and flags.
//
// Emulated: loads, logic, binary and decimal arithmetic, compares, BIT, shifts and rotates,
// increments, the undocumented combined operations built from those, the undocumented stores,
// and the packing of the unpacked N, V, Z and C flags into a status byte and back.
// Left out: the unstable undocumented results of the real chip: ARR, ANE, LXA and SBX follow one
// fixed formula each (SBX's carry is set when A AND X is below the operand), decimal mode keeps
// V and computes N and Z its own way, and LAS and the immediate $0B, $2B, $4B do nothing.
// Called by: the interpreter in cpu.cpp, through the addressing-mode templates of cpu_access.h.
#pragma once

#include <cstdint>

#include "core/cpu.h"

namespace cpu_detail {

inline constexpr uint8_t kFlagInterrupt = 0x04;
inline constexpr uint8_t kFlagDecimal = 0x08;
inline constexpr uint8_t kFlagBreak = 0x10;
// I and D live in status (which also keeps the last assembled byte whole); the other four flags
// have their own bytes.
inline constexpr uint8_t kStatusHeldBits = kFlagDecimal | kFlagInterrupt;
inline constexpr uint8_t kOverflow = 0x40;

inline void SetNZ(uint8_t result) {
  CpuRegs.negativeSource = result;
  CpuRegs.zeroFlag = result == 0;
}

// The 6510 has no storage for B and bit 5: every pushed status has bit 5 set, and B tells a
// PHP or BRK (1) from an IRQ or NMI entry (0).
inline constexpr uint8_t kPushedSpareBit = 0x20;

inline uint8_t PackStatus(uint8_t breakBit) {
  const CpuRegisters& r = CpuRegs;
  return (r.negativeSource & 0x80) | (r.overflowFlag & kOverflow) | (r.status & kStatusHeldBits) |
         kPushedSpareBit | breakBit | (r.zeroFlag != 0 ? 0x02 : 0) | (r.carryFlag & 1);
}

inline void UnpackStatus(uint8_t value) {
  CpuRegisters& r = CpuRegs;
  r.status = value;
  r.negativeSource = value;
  r.overflowFlag = value & kOverflow;
  r.zeroFlag = (value >> 1) & 1;
  r.carryFlag = value & 1;
}

inline void Lda(uint8_t operand) {
  CpuRegs.a = operand;
  SetNZ(operand);
}

inline void Ldx(uint8_t operand) {
  CpuRegs.x = operand;
  SetNZ(operand);
}

inline void Ldy(uint8_t operand) {
  CpuRegs.y = operand;
  SetNZ(operand);
}

inline void Lax(uint8_t operand) {
  CpuRegs.a = CpuRegs.x = operand;
  SetNZ(operand);
}

inline void Ora(uint8_t operand) { SetNZ(CpuRegs.a |= operand); }
inline void And(uint8_t operand) { SetNZ(CpuRegs.a &= operand); }
inline void Eor(uint8_t operand) { SetNZ(CpuRegs.a ^= operand); }

inline void Adc(uint8_t operand) {
  CpuRegisters& r = CpuRegs;
  if (r.status & kFlagDecimal) {
    int low = (r.a & 0x0F) + (operand & 0x0F) + r.carryFlag;
    if (low >= 10) low += 6;
    int high = (low & 0xF0) + (r.a & 0xF0) + (operand & 0xF0);
    if (high >= 0xA0) high += 0x60;
    const int result = (low & 0x0F) | high;
    r.a = static_cast<uint8_t>(result);
    r.carryFlag = (result >> 8) & 1;
    SetNZ(r.a);
    return;
  }
  const int sum = r.a + operand + r.carryFlag;
  r.overflowFlag = (~(r.a ^ operand) & (r.a ^ sum) & 0x80) ? kOverflow : 0;
  r.carryFlag = (sum >> 8) & 1;
  r.a = static_cast<uint8_t>(sum);
  SetNZ(r.a);
}

inline void Sbc(uint8_t operand) {
  CpuRegisters& r = CpuRegs;
  const int difference = r.a - operand + r.carryFlag - 1;
  // N, Z and C come from the binary difference in both modes
  SetNZ(static_cast<uint8_t>(difference));
  const uint8_t carry = difference >= 0;
  if (r.status & kFlagDecimal) {
    // bits 4 and 8 below are the borrows out of each digit, as two's complement ints
    int low = (r.a & 0x0F) - (operand & 0x0F) + r.carryFlag - 1;
    if (low & 0x10) low -= 6;
    int high = (r.a & 0xF0) - (low & 0x10) - (operand & 0xF0);
    if (high & 0x100) high -= 0x60;
    r.a = static_cast<uint8_t>((low & 0x0F) | (high & 0xFF));
  } else {
    r.overflowFlag = ((r.a ^ operand) & (r.a ^ difference) & 0x80) ? kOverflow : 0;
    r.a = static_cast<uint8_t>(difference);
  }
  r.carryFlag = carry;
}

inline void Compare(uint8_t value, uint8_t operand) {
  SetNZ(static_cast<uint8_t>(value - operand));
  CpuRegs.carryFlag = value >= operand;
}

inline void Cmp(uint8_t operand) { Compare(CpuRegs.a, operand); }
inline void Cpx(uint8_t operand) { Compare(CpuRegs.x, operand); }
inline void Cpy(uint8_t operand) { Compare(CpuRegs.y, operand); }

inline void Bit(uint8_t operand) {
  CpuRegs.negativeSource = operand;
  CpuRegs.overflowFlag = operand & kOverflow;
  CpuRegs.zeroFlag = (CpuRegs.a & operand) == 0;
}

inline void Arr(uint8_t operand) {
  CpuRegisters& r = CpuRegs;
  const uint8_t oldCarry = r.carryFlag;
  r.carryFlag = r.a & 1;
  r.a = static_cast<uint8_t>(((r.a & operand) >> 1) | oldCarry << 7);
  SetNZ(r.a);
}

inline void Ane(uint8_t operand) { CpuRegs.a = (CpuRegs.a | 0xEE) & CpuRegs.x & operand; }
inline void Lxa(uint8_t operand) { CpuRegs.a = CpuRegs.x = CpuRegs.a & operand; }

inline void Sbx(uint8_t operand) {
  const uint8_t masked = CpuRegs.a & CpuRegs.x;
  CpuRegs.x = static_cast<uint8_t>(masked - operand);
  CpuRegs.carryFlag = masked < operand;
}

inline uint8_t Asl(uint8_t operand) {
  CpuRegs.carryFlag = operand >> 7;
  const uint8_t result = static_cast<uint8_t>(operand << 1);
  SetNZ(result);
  return result;
}

inline uint8_t Lsr(uint8_t operand) {
  CpuRegs.carryFlag = operand & 1;
  const uint8_t result = operand >> 1;
  SetNZ(result);
  return result;
}

inline uint8_t Rol(uint8_t operand) {
  const uint8_t result = static_cast<uint8_t>(operand << 1 | CpuRegs.carryFlag);
  CpuRegs.carryFlag = operand >> 7;
  SetNZ(result);
  return result;
}

inline uint8_t Ror(uint8_t operand) {
  const uint8_t result = static_cast<uint8_t>(operand >> 1 | CpuRegs.carryFlag << 7);
  CpuRegs.carryFlag = operand & 1;
  SetNZ(result);
  return result;
}

inline uint8_t Inc(uint8_t operand) {
  const uint8_t result = static_cast<uint8_t>(operand + 1);
  SetNZ(result);
  return result;
}

inline uint8_t Dec(uint8_t operand) {
  const uint8_t result = static_cast<uint8_t>(operand - 1);
  SetNZ(result);
  return result;
}

// The undocumented read-modify-write instructions: the documented shift or step on memory, then
// the documented operation of the same column on A with the new byte.
template <uint8_t (*modify)(uint8_t), void (*combine)(uint8_t)>
inline uint8_t ModifyThenCombine(uint8_t operand) {
  const uint8_t result = modify(operand);
  combine(result);
  return result;
}

constexpr auto Slo = ModifyThenCombine<Asl, Ora>;
constexpr auto Rla = ModifyThenCombine<Rol, And>;
constexpr auto Sre = ModifyThenCombine<Lsr, Eor>;
constexpr auto Rra = ModifyThenCombine<Ror, Adc>;
constexpr auto Dcp = ModifyThenCombine<Dec, Cmp>;
constexpr auto Isc = ModifyThenCombine<Inc, Sbc>;

inline uint8_t StoreA(uint16_t) { return CpuRegs.a; }
inline uint8_t StoreX(uint16_t) { return CpuRegs.x; }
inline uint8_t StoreY(uint16_t) { return CpuRegs.y; }
inline uint8_t Sax(uint16_t) { return CpuRegs.a & CpuRegs.x; }

// SHA, TAS, SHX and SHY mask the stored byte with the target's high byte plus one.
inline uint8_t HighPlusOne(uint16_t address) { return static_cast<uint8_t>((address >> 8) + 1); }

inline uint8_t Sha(uint16_t address) { return CpuRegs.a & CpuRegs.x & HighPlusOne(address); }
inline uint8_t Shx(uint16_t address) { return CpuRegs.x & HighPlusOne(address); }
inline uint8_t Shy(uint16_t address) { return CpuRegs.y & HighPlusOne(address); }

inline uint8_t Tas(uint16_t address) {
  CpuRegs.sp = CpuRegs.a & CpuRegs.x;
  return Sha(address);
}

}  // namespace cpu_detail
