// cpu_access.h: how the 6510 interpreter reaches memory: the access rules, the stack and the
// addressing modes.
//
// Emulated: the nine operand addressing modes with their zero-page and 64 KiB wrap-arounds, the
// stack in page $01, and the choice per access between touching Ram directly and going through
// the banked MemRead/MemWrite. The direct paths serve zero page, the stack and everything below
// $A000; other reads look up the banking in readMap, inline, and only the I/O area and banked
// writes pay for a call.
// Left out: dummy reads and writes of the real processor (a read-modify-write reads once and
// writes once) and any per-cycle bus timing.
// Called by: the interpreter in cpu.cpp only.
#pragma once

#include <cstdint>
#include <type_traits>

#include "core/cpu.h"
#include "core/machine.h"

// The interpreter keeps pc and the registers in locals and hands them to these helpers by
// reference. Forced inlining keeps it in a register instead of a memory round trip per operand
// byte: inside the large dispatch switch the compiler declines a plain inline request.
#define CPU_INLINE [[gnu::always_inline]] inline

namespace cpu_detail {

// Every address is held as 16 bits, so no access can leave the 64 KiB of Ram whatever pc holds.
CPU_INLINE uint8_t PortBits() { return Ram[0x0001] & 3; }

// Operand bytes and vectors see the banking wherever they are.
CPU_INLINE uint8_t ReadBanked(uint16_t address) { return MemRead(address); }

// Below $A000 every configuration shows RAM, so only higher addresses need the banking.
CPU_INLINE uint8_t ReadData(uint16_t address) { return address < 0xA000 ? Ram[address] : MemRead(address); }

// Where the running instruction's opcode came from: a window of a ROM or RAM region of 4 KiB,
// the whole region but for its last two bytes and, while a drive may take them over, the
// KERNAL's bus routines. An instruction whose opcode lies in the window has its operand bytes in
// the same region: all are read straight from the image, without looking up the banking again.
// A store to $0001, which holds the banking bits, closes the window. The images cannot change
// during a run: they are installed only while the emulation thread is paused or not yet started.
struct CodeRegion {
  uint16_t start;   // the window's first address
  uint16_t length;  // 0: no window
  // The image's address less the region's first address: the byte at address a of the region
  // lies at bias + a. Kept as an integer, so the sum is formed only for addresses in the window.
  uintptr_t bias;
};
extern CodeRegion codeRegion;

CPU_INLINE bool InCodeWindow(uint16_t address) {
  return static_cast<uint16_t>(address - codeRegion.start) < codeRegion.length;
}

CPU_INLINE uint8_t CodeByte(uint16_t address) {
  return *reinterpret_cast<const uint8_t*>(codeRegion.bias + address);
}

// Every store into Ram by an instruction passes here.
CPU_INLINE void StoreRam(uint16_t address, uint8_t value) {
  Ram[address] = value;
  if (address == 0x0001) codeRegion.length = 0;
}

CPU_INLINE void WriteData(uint16_t address, uint8_t value) {
  if (address < 0xA000 || PortBits() == 0) {
    StoreRam(address, value);
  } else {
    MemWrite(address, value);
  }
}

// The interrupt and reset vectors sit under the KERNAL, so they follow the banking.
CPU_INLINE uint16_t ReadVector(uint16_t address) {
  return ReadBanked(address) | ReadBanked(static_cast<uint16_t>(address + 1)) << 8;
}


// An instruction byte. kInWindow: the opcode came from the code window, so the byte lies in its
// region (no write can change the banking before an instruction's last operand byte is read);
// otherwise it is looked up.
template <bool kInWindow>
CPU_INLINE uint8_t ReadInstructionByte(uint16_t address) {
  if (kInWindow || InCodeWindow(address)) return CodeByte(address);
  return ReadBanked(address);
}

template <bool kInWindow>
CPU_INLINE uint8_t FetchOperand(uint16_t& pc) {
  return ReadInstructionByte<kInWindow>(pc++);
}

template <bool kInWindow>
CPU_INLINE uint16_t FetchOperandWord(uint16_t& pc) {
  const uint8_t low = FetchOperand<kInWindow>(pc);
  return low | FetchOperand<kInWindow>(pc) << 8;
}

CPU_INLINE void Push(CpuRegisters& r, uint8_t value) {
  Ram[0x0100 + r.sp] = value;
  --r.sp;
}

// The stack page lies below $A000, in RAM under every banking.
CPU_INLINE uint8_t Pull(CpuRegisters& r) {
  ++r.sp;
  return Ram[0x0100 + r.sp];
}

CPU_INLINE void PushWord(CpuRegisters& r, uint16_t value) {
  Push(r, static_cast<uint8_t>(value >> 8));
  Push(r, static_cast<uint8_t>(value));
}

CPU_INLINE uint16_t PullWord(CpuRegisters& r) {
  const uint8_t low = Pull(r);
  return low | Pull(r) << 8;
}

enum class Mode {
  Immediate,
  ZeroPage,
  ZeroPageX,
  ZeroPageY,
  Absolute,
  AbsoluteX,
  AbsoluteY,
  IndirectX,  // (zp,X)
  IndirectY,  // (zp),Y
};

constexpr bool IsZeroPage(Mode mode) {
  return mode == Mode::ZeroPage || mode == Mode::ZeroPageX || mode == Mode::ZeroPageY;
}

// The pointer of (zp,X) and (zp),Y wraps inside page $00: its high byte after $FF comes from $00.
CPU_INLINE uint16_t ReadZeroPagePointer(CpuRegisters& r, uint8_t pointer) {
  r.indirectAddress = pointer;
  return Ram[pointer] | Ram[static_cast<uint8_t>(pointer + 1)] << 8;
}

// Consumes the operand bytes and returns the address the instruction works on.
template <Mode mode, bool kInWindow>
CPU_INLINE uint16_t EffectiveAddress(CpuRegisters& r, uint16_t& pc) {
  uint16_t address;
  if constexpr (mode == Mode::Immediate) {
    address = pc++;
  } else if constexpr (mode == Mode::ZeroPage) {
    address = FetchOperand<kInWindow>(pc);
  } else if constexpr (mode == Mode::ZeroPageX) {
    address = static_cast<uint8_t>(FetchOperand<kInWindow>(pc) + r.x);
  } else if constexpr (mode == Mode::ZeroPageY) {
    address = static_cast<uint8_t>(FetchOperand<kInWindow>(pc) + r.y);
  } else if constexpr (mode == Mode::Absolute) {
    address = FetchOperandWord<kInWindow>(pc);
  } else if constexpr (mode == Mode::AbsoluteX) {
    address = static_cast<uint16_t>(FetchOperandWord<kInWindow>(pc) + r.x);
  } else if constexpr (mode == Mode::AbsoluteY) {
    address = static_cast<uint16_t>(FetchOperandWord<kInWindow>(pc) + r.y);
  } else if constexpr (mode == Mode::IndirectX) {
    address = ReadZeroPagePointer(r, static_cast<uint8_t>(FetchOperand<kInWindow>(pc) + r.x));
  } else {
    static_assert(mode == Mode::IndirectY);
    address = static_cast<uint16_t>(ReadZeroPagePointer(r, FetchOperand<kInWindow>(pc)) + r.y);
  }
  r.effectiveAddress = address;
  return address;
}

template <Mode mode, bool kInWindow>
CPU_INLINE uint8_t ReadAt(uint16_t address) {
  if constexpr (IsZeroPage(mode)) {
    return Ram[address];
  } else if constexpr (mode == Mode::Immediate) {
    // the immediate operand is an instruction byte and follows the operand rule
    return ReadInstructionByte<kInWindow>(address);
  } else {
    return ReadData(address);
  }
}

template <Mode mode>
CPU_INLINE void WriteAt(uint16_t address, uint8_t value) {
  static_assert(mode != Mode::Immediate);
  if constexpr (IsZeroPage(mode)) {
    StoreRam(address, value);
  } else {
    WriteData(address, value);
  }
}

// The three shapes an instruction with a memory operand takes; Run picks the access pattern from
// the operation's signature, so each operation is written once for all its addressing modes.
using ReadOperation = void (*)(CpuRegisters& r, uint8_t operand);
using ModifyOperation = uint8_t (*)(CpuRegisters& r, uint8_t operand);   // returns the byte written back
using StoreOperation = uint8_t (*)(CpuRegisters& r, uint16_t address);  // returns the byte to store there

template <Mode mode, auto operation, bool kInWindow>
CPU_INLINE void Run(CpuRegisters& r, uint16_t& pc) {
  using Operation = decltype(operation);
  if constexpr (std::is_same_v<Operation, ReadOperation>) {
    operation(r, ReadAt<mode, kInWindow>(EffectiveAddress<mode, kInWindow>(r, pc)));
  } else if constexpr (std::is_same_v<Operation, ModifyOperation>) {
    const uint16_t address = EffectiveAddress<mode, kInWindow>(r, pc);
    WriteAt<mode>(address, operation(r, ReadAt<mode, kInWindow>(address)));
  } else {
    static_assert(std::is_same_v<Operation, StoreOperation>);
    const uint16_t address = EffectiveAddress<mode, kInWindow>(r, pc);
    WriteAt<mode>(address, operation(r, address));
  }
}

}  // namespace cpu_detail
