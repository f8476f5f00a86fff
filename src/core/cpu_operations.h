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
#include "core/cpu_access.h"

namespace cpu_detail {

inline constexpr uint8_t kFlagInterrupt = 0x04;
inline constexpr uint8_t kFlagDecimal = 0x08;
inline constexpr uint8_t kFlagBreak = 0x10;
// I and D live in status (which also keeps the last assembled byte whole); the other four flags
// have their own bytes.
inline constexpr uint8_t kStatusHeldBits = kFlagDecimal | kFlagInterrupt;
inline constexpr uint8_t kOverflow = 0x40;

CPU_INLINE void SetNZ(CpuRegisters& r, uint8_t result) {
  r.negativeSource = result;
  r.zeroFlag = result == 0;
}

// The 6510 has no storage for B and bit 5: every pushed status has bit 5 set, and B tells a
// PHP or BRK (1) from an IRQ or NMI entry (0).
inline constexpr uint8_t kPushedSpareBit = 0x20;

CPU_INLINE uint8_t PackStatus(CpuRegisters& r, uint8_t breakBit) {
  return (r.negativeSource & 0x80) | (r.overflowFlag & kOverflow) | (r.status & kStatusHeldBits) |
         kPushedSpareBit | breakBit | (r.zeroFlag != 0 ? 0x02 : 0) | (r.carryFlag & 1);
}

CPU_INLINE void UnpackStatus(CpuRegisters& r, uint8_t value) {
  r.status = value;
  r.negativeSource = value;
  r.overflowFlag = value & kOverflow;
  r.zeroFlag = (value >> 1) & 1;
  r.carryFlag = value & 1;
}

CPU_INLINE void Lda(CpuRegisters& r, uint8_t operand) {
  r.a = operand;
  SetNZ(r, operand);
}

CPU_INLINE void Ldx(CpuRegisters& r, uint8_t operand) {
  r.x = operand;
  SetNZ(r, operand);
}

CPU_INLINE void Ldy(CpuRegisters& r, uint8_t operand) {
  r.y = operand;
  SetNZ(r, operand);
}

CPU_INLINE void Lax(CpuRegisters& r, uint8_t operand) {
  r.a = r.x = operand;
  SetNZ(r, operand);
}

CPU_INLINE void Ora(CpuRegisters& r, uint8_t operand) { SetNZ(r, r.a |= operand); }
CPU_INLINE void And(CpuRegisters& r, uint8_t operand) { SetNZ(r, r.a &= operand); }
CPU_INLINE void Eor(CpuRegisters& r, uint8_t operand) { SetNZ(r, r.a ^= operand); }

CPU_INLINE void Adc(CpuRegisters& r, uint8_t operand) {
  if (r.status & kFlagDecimal) {
    int low = (r.a & 0x0F) + (operand & 0x0F) + r.carryFlag;
    if (low >= 10) low += 6;
    int high = (low & 0xF0) + (r.a & 0xF0) + (operand & 0xF0);
    if (high >= 0xA0) high += 0x60;
    const int result = (low & 0x0F) | high;
    r.a = static_cast<uint8_t>(result);
    r.carryFlag = (result >> 8) & 1;
    SetNZ(r, r.a);
    return;
  }
  const int sum = r.a + operand + r.carryFlag;
  r.overflowFlag = (~(r.a ^ operand) & (r.a ^ sum) & 0x80) ? kOverflow : 0;
  r.carryFlag = (sum >> 8) & 1;
  r.a = static_cast<uint8_t>(sum);
  SetNZ(r, r.a);
}

CPU_INLINE void Sbc(CpuRegisters& r, uint8_t operand) {
  const int difference = r.a - operand + r.carryFlag - 1;
  // N, Z and C come from the binary difference in both modes
  SetNZ(r, static_cast<uint8_t>(difference));
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

CPU_INLINE void Compare(CpuRegisters& r, uint8_t value, uint8_t operand) {
  SetNZ(r, static_cast<uint8_t>(value - operand));
  r.carryFlag = value >= operand;
}

CPU_INLINE void Cmp(CpuRegisters& r, uint8_t operand) { Compare(r, r.a, operand); }
CPU_INLINE void Cpx(CpuRegisters& r, uint8_t operand) { Compare(r, r.x, operand); }
CPU_INLINE void Cpy(CpuRegisters& r, uint8_t operand) { Compare(r, r.y, operand); }

CPU_INLINE void Bit(CpuRegisters& r, uint8_t operand) {
  r.negativeSource = operand;
  r.overflowFlag = operand & kOverflow;
  r.zeroFlag = (r.a & operand) == 0;
}

CPU_INLINE void Arr(CpuRegisters& r, uint8_t operand) {
  const uint8_t oldCarry = r.carryFlag;
  r.carryFlag = r.a & 1;
  r.a = static_cast<uint8_t>(((r.a & operand) >> 1) | oldCarry << 7);
  SetNZ(r, r.a);
}

CPU_INLINE void Ane(CpuRegisters& r, uint8_t operand) { r.a = (r.a | 0xEE) & r.x & operand; }
CPU_INLINE void Lxa(CpuRegisters& r, uint8_t operand) { r.a = r.x = r.a & operand; }

CPU_INLINE void Sbx(CpuRegisters& r, uint8_t operand) {
  const uint8_t masked = r.a & r.x;
  r.x = static_cast<uint8_t>(masked - operand);
  r.carryFlag = masked < operand;
}

CPU_INLINE uint8_t Asl(CpuRegisters& r, uint8_t operand) {
  r.carryFlag = operand >> 7;
  const uint8_t result = static_cast<uint8_t>(operand << 1);
  SetNZ(r, result);
  return result;
}

CPU_INLINE uint8_t Lsr(CpuRegisters& r, uint8_t operand) {
  r.carryFlag = operand & 1;
  const uint8_t result = operand >> 1;
  SetNZ(r, result);
  return result;
}

CPU_INLINE uint8_t Rol(CpuRegisters& r, uint8_t operand) {
  const uint8_t result = static_cast<uint8_t>(operand << 1 | r.carryFlag);
  r.carryFlag = operand >> 7;
  SetNZ(r, result);
  return result;
}

CPU_INLINE uint8_t Ror(CpuRegisters& r, uint8_t operand) {
  const uint8_t result = static_cast<uint8_t>(operand >> 1 | r.carryFlag << 7);
  r.carryFlag = operand & 1;
  SetNZ(r, result);
  return result;
}

CPU_INLINE uint8_t Inc(CpuRegisters& r, uint8_t operand) {
  const uint8_t result = static_cast<uint8_t>(operand + 1);
  SetNZ(r, result);
  return result;
}

CPU_INLINE uint8_t Dec(CpuRegisters& r, uint8_t operand) {
  const uint8_t result = static_cast<uint8_t>(operand - 1);
  SetNZ(r, result);
  return result;
}

// The undocumented read-modify-write instructions: the documented shift or step on memory, then
// the documented operation of the same column on A with the new byte.
template <uint8_t (*modify)(CpuRegisters&, uint8_t), void (*combine)(CpuRegisters&, uint8_t)>
CPU_INLINE uint8_t ModifyThenCombine(CpuRegisters& r, uint8_t operand) {
  const uint8_t result = modify(r, operand);
  combine(r, result);
  return result;
}

constexpr auto Slo = ModifyThenCombine<Asl, Ora>;
constexpr auto Rla = ModifyThenCombine<Rol, And>;
constexpr auto Sre = ModifyThenCombine<Lsr, Eor>;
constexpr auto Rra = ModifyThenCombine<Ror, Adc>;
constexpr auto Dcp = ModifyThenCombine<Dec, Cmp>;
constexpr auto Isc = ModifyThenCombine<Inc, Sbc>;

CPU_INLINE uint8_t StoreA(CpuRegisters& r, uint16_t) { return r.a; }
CPU_INLINE uint8_t StoreX(CpuRegisters& r, uint16_t) { return r.x; }
CPU_INLINE uint8_t StoreY(CpuRegisters& r, uint16_t) { return r.y; }
CPU_INLINE uint8_t Sax(CpuRegisters& r, uint16_t) { return r.a & r.x; }

// SHA, TAS, SHX and SHY mask the stored byte with the target's high byte plus one.
CPU_INLINE uint8_t HighPlusOne(uint16_t address) { return static_cast<uint8_t>((address >> 8) + 1); }

CPU_INLINE uint8_t Sha(CpuRegisters& r, uint16_t address) { return r.a & r.x & HighPlusOne(address); }
CPU_INLINE uint8_t Shx(CpuRegisters& r, uint16_t address) { return r.x & HighPlusOne(address); }
CPU_INLINE uint8_t Shy(CpuRegisters& r, uint16_t address) { return r.y & HighPlusOne(address); }

CPU_INLINE uint8_t Tas(CpuRegisters& r, uint16_t address) {
  r.sp = r.a & r.x;
  return Sha(r, address);
}

}  // namespace cpu_detail
