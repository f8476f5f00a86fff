// cpu.cpp: the 6510 instruction interpreter.
//
// Emulated: all 256 opcodes (the documented set, the stable undocumented ones, the NOPs of every
// length and the jam opcodes, which ask the emulation thread for a reset or, in a test harness
// run, halt the processor), decimal arithmetic, the stack, BRK, IRQ and NMI entry, and the reset
// sequence. Each instruction is charged its entry in cycleTable and nothing more.
// Left out: cycle-exact timing (no page-crossing or taken-branch cycles, interrupts are taken only
// between instructions), the processor port as a register (banking reads Ram[$0001]) and the
// interrupt line as a level (a pending IRQ is a flag that entry clears).
// Called by: the emulation thread (ResetCpu, ExecuteInstruction, ServiceInterrupts once per
// instruction) and the snapshot code, which saves and restores CpuRegs.
#include "core/cpu.h"

#include <algorithm>

#include "core/cpu_access.h"
#include "core/cpu_operations.h"
#include "core/machine.h"
#include "core/scheduler_state.h"

CpuRegisters CpuRegs;
bool jamHaltsCpu = false;
uint16_t jamAddress = 0;
bool (*driveBusTrap)(uint16_t pc) = nullptr;

// NMOS base counts, except $91 and $9D, which are charged one cycle less, and the jam opcodes.
const int8_t cycleTable[256] = {
    7, 6, 2, 8, 3, 3, 5, 5, 3, 2, 2, 2, 4, 4, 6, 6,  // $0_
    2, 5, 2, 8, 4, 4, 6, 6, 2, 4, 2, 7, 4, 4, 7, 7,  // $1_
    6, 6, 2, 8, 3, 3, 5, 5, 4, 2, 2, 2, 4, 4, 6, 6,  // $2_
    2, 5, 2, 8, 4, 4, 6, 6, 2, 4, 2, 7, 4, 4, 7, 7,  // $3_
    6, 6, 2, 8, 3, 3, 5, 5, 3, 2, 2, 2, 3, 4, 6, 6,  // $4_
    2, 5, 2, 8, 4, 4, 6, 6, 2, 4, 2, 7, 4, 4, 7, 7,  // $5_
    6, 6, 2, 8, 3, 3, 5, 5, 4, 2, 2, 2, 5, 4, 6, 6,  // $6_
    2, 5, 2, 8, 4, 4, 6, 6, 2, 4, 2, 7, 4, 4, 7, 7,  // $7_
    2, 6, 2, 6, 3, 3, 3, 3, 2, 2, 2, 2, 4, 4, 4, 4,  // $8_
    2, 5, 2, 6, 4, 4, 4, 4, 2, 5, 2, 5, 5, 4, 5, 5,  // $9_
    2, 6, 2, 6, 3, 3, 3, 3, 2, 2, 2, 2, 4, 4, 4, 4,  // $A_
    2, 5, 2, 5, 4, 4, 4, 4, 2, 4, 2, 4, 4, 4, 4, 4,  // $B_
    2, 6, 2, 8, 3, 3, 5, 5, 2, 2, 2, 2, 4, 4, 6, 6,  // $C_
    2, 5, 2, 8, 4, 4, 6, 6, 2, 4, 2, 7, 4, 4, 7, 7,  // $D_
    2, 6, 2, 8, 3, 3, 5, 5, 2, 2, 2, 2, 4, 4, 6, 6,  // $E_
    2, 5, 2, 8, 4, 4, 6, 6, 2, 4, 2, 7, 4, 4, 7, 7,  // $F_
};

namespace cpu_detail {
namespace {

constexpr uint16_t kNmiVector = 0xFFFA;
constexpr uint16_t kResetVector = 0xFFFC;
constexpr uint16_t kIrqVector = 0xFFFE;
constexpr int kBusTrapCycles = 6;

// Shared by BRK and the interrupt lines; only the B bit in the pushed status tells them apart.
// Returns the handler's address.
CPU_INLINE uint16_t EnterInterrupt(CpuRegisters& r, uint16_t returnAddress, uint8_t breakBit,
                                   uint16_t vector) {
  PushWord(r, returnAddress);
  const uint8_t pushed = PackStatus(r, breakBit);
  r.status = pushed;
  Push(r, pushed);
  r.status |= kFlagInterrupt | kFlagBreak;
  return ReadVector(vector);
}

template <bool kInWindow>
CPU_INLINE void Branch(CpuRegisters& r, uint16_t& pc, bool taken) {
  const int8_t offset = static_cast<int8_t>(FetchOperand<kInWindow>(pc));
  const uint16_t target = static_cast<uint16_t>(pc + offset);
  r.effectiveAddress = target;
  if (taken) pc = target;
}

CPU_INLINE void Jump(CpuRegisters& r, uint16_t& pc, uint16_t target) {
  r.effectiveAddress = target;
  pc = target;
}

// The pointer's high byte is read from the start of the same page when the low byte is $FF.
CPU_INLINE uint16_t ReadJumpPointer(CpuRegisters& r, uint16_t pointer) {
  const uint16_t highAddress = (pointer & 0xFF00) | ((pointer + 1) & 0x00FF);
  r.indirectAddress = highAddress;
  return ReadData(pointer) | ReadData(highAddress) << 8;
}

// I may have just been cleared under a pending IRQ: the run ends, for the IRQ to be entered.
CPU_INLINE void EndRunIfIrqWaits() {
  if (irqPending != 0) EndRunAfterInstruction();
}

CPU_INLINE void Transfer(CpuRegisters& r, uint8_t& destination, uint8_t value) {
  destination = value;
  SetNZ(r, value);
}

// Out of line, so that the usual nothing-pending return of ServiceInterrupts needs no frame.
[[gnu::noinline]] int EnterPendingInterrupts() {
  int entries = 0;
  if (irqPending != 0 && (CpuRegs.status & kFlagInterrupt) == 0) {
    CpuRegs.pc = EnterInterrupt(CpuRegs, static_cast<uint16_t>(CpuRegs.pc), 0, kIrqVector);
    irqPending = 0;
    ++entries;
  }
  // after an IRQ entry the NMI frame lands on top, so the NMI handler runs first
  if (nmiPending != 0) {
    CpuRegs.pc = EnterInterrupt(CpuRegs, static_cast<uint16_t>(CpuRegs.pc), 0, kNmiVector);
    nmiPending = 0;
    ++entries;
  }
  return entries;
}

}  // namespace
}  // namespace cpu_detail

using namespace cpu_detail;

void ResetCpu() {
  CpuRegisters& r = CpuRegs;
  r.pc = ReadVector(kResetVector);
  r.a = r.x = r.y = 0;
  r.status = r.negativeSource = r.zeroFlag = r.overflowFlag = r.carryFlag = 0;
  r.sp = 0xFF;
  resetRequest.store(0);
}

int ServiceInterrupts() {
  // called after every instruction, and nearly always nothing is pending
  if ((irqPending | nmiPending) == 0) return 0;
  return EnterPendingInterrupts();
}

// The regular columns of the opcode matrix: one operation in each addressing mode its column has.
#define CPU_BASIC_MODES(opcode, operation)                                          \
  case (opcode): Run<Mode::ZeroPage, operation, kInWindow>(r, pc); break;           \
  case (opcode) + 0x08: Run<Mode::Absolute, operation, kInWindow>(r, pc); break;    \
  case (opcode) + 0x10: Run<Mode::ZeroPageX, operation, kInWindow>(r, pc); break;   \
  case (opcode) + 0x18: Run<Mode::AbsoluteX, operation, kInWindow>(r, pc); break;
#define CPU_INDIRECT_MODES(opcode, operation)                                       \
  case (opcode): Run<Mode::IndirectX, operation, kInWindow>(r, pc); break;          \
  case (opcode) + 0x10: Run<Mode::IndirectY, operation, kInWindow>(r, pc); break;   \
  case (opcode) + 0x18: Run<Mode::AbsoluteY, operation, kInWindow>(r, pc); break;
// ORA, AND, EOR, ADC, LDA, CMP and SBC in columns 1, 5, 9 and D.
#define CPU_ALU_MODES(row, operation)                                               \
  CPU_INDIRECT_MODES((row) + 0x01, operation)                                       \
  CPU_BASIC_MODES((row) + 0x05, operation)                                          \
  case (row) + 0x09: Run<Mode::Immediate, operation, kInWindow>(r, pc); break;
// The undocumented read-modify-write instructions in columns 3, 7 and F.
#define CPU_COMBINED_MODES(row, operation)                                          \
  CPU_INDIRECT_MODES((row) + 0x03, operation)                                       \
  CPU_BASIC_MODES((row) + 0x07, operation)

namespace cpu_detail {
CodeRegion codeRegion = {0, 0, 0};
}  // namespace cpu_detail

namespace {
constexpr int kRegionSize = 0x1000;
// The operand bytes of an opcode in the window must lie in its region.
constexpr int kLongestOperand = 2;

// Opens the code window on the region of pc as the banking shows it, unless that is the I/O area.
void OpenCodeWindow(uint16_t pc) {
  const ReadRegion& region = readMap[Ram[0x0001] & 7][pc >> 12];
  if (region.image == nullptr) return;
  int start = pc & ~(kRegionSize - 1);
  int end = start + kRegionSize - kLongestOperand;
  // with a drive's trap in place, every opcode of the bus routines is fetched outside the window,
  // after the trap had its look
  if (driveBusTrap != nullptr && start == (kFirstBusRoutine & ~(kRegionSize - 1))) {
    if (pc < kFirstBusRoutine) {
      end = kFirstBusRoutine;
    } else {
      start = kLastBusRoutine + 1;
    }
  }
  codeRegion = {static_cast<uint16_t>(start), static_cast<uint16_t>(std::max(end - start, 0)),
                reinterpret_cast<uintptr_t>(*region.image) - region.base};
}

// The instruction whose opcode, at opcodeAddress, has been read; pc is past it. kInWindow: the
// opcode came from the code window, so its operand bytes are read from there unchecked.
template <bool kInWindow>
CPU_INLINE int Dispatch(CpuRegisters& r, uint16_t& pc, uint16_t opcodeAddress, uint8_t opcode) {
  // 256 distinct labels on a byte: every opcode has exactly one case
  switch (opcode) {
    CPU_ALU_MODES(0x00, Ora)
    CPU_ALU_MODES(0x20, And)
    CPU_ALU_MODES(0x40, Eor)
    CPU_ALU_MODES(0x60, Adc)
    CPU_ALU_MODES(0xA0, Lda)
    CPU_ALU_MODES(0xC0, Cmp)
    CPU_ALU_MODES(0xE0, Sbc)
    case 0xEB: Run<Mode::Immediate, Sbc, kInWindow>(r, pc); break;
    CPU_INDIRECT_MODES(0x81, StoreA)
    CPU_BASIC_MODES(0x85, StoreA)

    CPU_BASIC_MODES(0x06, Asl)
    CPU_BASIC_MODES(0x26, Rol)
    CPU_BASIC_MODES(0x46, Lsr)
    CPU_BASIC_MODES(0x66, Ror)
    CPU_BASIC_MODES(0xC6, Dec)
    CPU_BASIC_MODES(0xE6, Inc)
    case 0x0A: r.a = Asl(r, r.a); break;
    case 0x2A: r.a = Rol(r, r.a); break;
    case 0x4A: r.a = Lsr(r, r.a); break;
    case 0x6A: r.a = Ror(r, r.a); break;

    CPU_COMBINED_MODES(0x00, Slo)
    CPU_COMBINED_MODES(0x20, Rla)
    CPU_COMBINED_MODES(0x40, Sre)
    CPU_COMBINED_MODES(0x60, Rra)
    CPU_COMBINED_MODES(0xC0, Dcp)
    CPU_COMBINED_MODES(0xE0, Isc)

    case 0xA2: Run<Mode::Immediate, Ldx, kInWindow>(r, pc); break;
    case 0xA6: Run<Mode::ZeroPage, Ldx, kInWindow>(r, pc); break;
    case 0xAE: Run<Mode::Absolute, Ldx, kInWindow>(r, pc); break;
    case 0xB6: Run<Mode::ZeroPageY, Ldx, kInWindow>(r, pc); break;
    case 0xBE: Run<Mode::AbsoluteY, Ldx, kInWindow>(r, pc); break;
    case 0xA0: Run<Mode::Immediate, Ldy, kInWindow>(r, pc); break;
    CPU_BASIC_MODES(0xA4, Ldy)
    case 0xA3: Run<Mode::IndirectX, Lax, kInWindow>(r, pc); break;
    case 0xA7: Run<Mode::ZeroPage, Lax, kInWindow>(r, pc); break;
    case 0xAF: Run<Mode::Absolute, Lax, kInWindow>(r, pc); break;
    case 0xB3: Run<Mode::IndirectY, Lax, kInWindow>(r, pc); break;
    case 0xB7: Run<Mode::ZeroPageY, Lax, kInWindow>(r, pc); break;
    case 0xBF: Run<Mode::AbsoluteY, Lax, kInWindow>(r, pc); break;

    case 0x86: Run<Mode::ZeroPage, StoreX, kInWindow>(r, pc); break;
    case 0x8E: Run<Mode::Absolute, StoreX, kInWindow>(r, pc); break;
    case 0x96: Run<Mode::ZeroPageY, StoreX, kInWindow>(r, pc); break;
    case 0x84: Run<Mode::ZeroPage, StoreY, kInWindow>(r, pc); break;
    case 0x8C: Run<Mode::Absolute, StoreY, kInWindow>(r, pc); break;
    case 0x94: Run<Mode::ZeroPageX, StoreY, kInWindow>(r, pc); break;
    case 0x83: Run<Mode::IndirectX, Sax, kInWindow>(r, pc); break;
    case 0x87: Run<Mode::ZeroPage, Sax, kInWindow>(r, pc); break;
    case 0x8F: Run<Mode::Absolute, Sax, kInWindow>(r, pc); break;
    case 0x97: Run<Mode::ZeroPageY, Sax, kInWindow>(r, pc); break;
    case 0x93: Run<Mode::IndirectY, Sha, kInWindow>(r, pc); break;
    case 0x9F: Run<Mode::AbsoluteY, Sha, kInWindow>(r, pc); break;
    case 0x9B: Run<Mode::AbsoluteY, Tas, kInWindow>(r, pc); break;
    case 0x9C: Run<Mode::AbsoluteX, Shy, kInWindow>(r, pc); break;
    case 0x9E: Run<Mode::AbsoluteY, Shx, kInWindow>(r, pc); break;

    case 0xE0: Run<Mode::Immediate, Cpx, kInWindow>(r, pc); break;
    case 0xE4: Run<Mode::ZeroPage, Cpx, kInWindow>(r, pc); break;
    case 0xEC: Run<Mode::Absolute, Cpx, kInWindow>(r, pc); break;
    case 0xC0: Run<Mode::Immediate, Cpy, kInWindow>(r, pc); break;
    case 0xC4: Run<Mode::ZeroPage, Cpy, kInWindow>(r, pc); break;
    case 0xCC: Run<Mode::Absolute, Cpy, kInWindow>(r, pc); break;
    case 0x24: Run<Mode::ZeroPage, Bit, kInWindow>(r, pc); break;
    case 0x2C: Run<Mode::Absolute, Bit, kInWindow>(r, pc); break;

    case 0x6B: Run<Mode::Immediate, Arr, kInWindow>(r, pc); break;
    case 0x8B: Run<Mode::Immediate, Ane, kInWindow>(r, pc); break;
    case 0xAB: Run<Mode::Immediate, Lxa, kInWindow>(r, pc); break;
    case 0xCB: Run<Mode::Immediate, Sbx, kInWindow>(r, pc); break;
    // LAS and the immediate $0B, $2B, $4B only step over their operands
    case 0xBB: EffectiveAddress<Mode::AbsoluteY, kInWindow>(r, pc); break;
    case 0x0B: case 0x2B: case 0x4B: EffectiveAddress<Mode::Immediate, kInWindow>(r, pc); break;

    case 0x10: Branch<kInWindow>(r, pc, (r.negativeSource & 0x80) == 0); break;
    case 0x30: Branch<kInWindow>(r, pc, (r.negativeSource & 0x80) != 0); break;
    case 0x50: Branch<kInWindow>(r, pc, r.overflowFlag == 0); break;
    case 0x70: Branch<kInWindow>(r, pc, r.overflowFlag != 0); break;
    case 0x90: Branch<kInWindow>(r, pc, r.carryFlag == 0); break;
    case 0xB0: Branch<kInWindow>(r, pc, r.carryFlag != 0); break;
    case 0xD0: Branch<kInWindow>(r, pc, r.zeroFlag == 0); break;
    case 0xF0: Branch<kInWindow>(r, pc, r.zeroFlag != 0); break;

    case 0x4C: Jump(r, pc, FetchOperandWord<kInWindow>(pc)); break;
    case 0x6C: Jump(r, pc, ReadJumpPointer(r, FetchOperandWord<kInWindow>(pc))); break;
    case 0x20: {
      const uint16_t target = FetchOperandWord<kInWindow>(pc);
      // the pushed return address is that of JSR's own last byte; RTS adds the one
      PushWord(r, static_cast<uint16_t>(pc - 1));
      Jump(r, pc, target);
      break;
    }
    case 0x60: pc = PullWord(r) + 1; break;
    case 0x40:
      UnpackStatus(r, Pull(r));
      EndRunIfIrqWaits();
      pc = PullWord(r);
      break;
    case 0x00:
      // the byte after BRK is skipped: the pushed address is BRK's own plus two
      pc = EnterInterrupt(r, static_cast<uint16_t>(pc + 1), kFlagBreak, kIrqVector);
      break;

    case 0x08: {
      const uint8_t pushed = PackStatus(r, kFlagBreak);
      r.status = pushed;
      Push(r, pushed);
      break;
    }
    case 0x28:
      UnpackStatus(r, Pull(r));
      EndRunIfIrqWaits();
      break;
    case 0x48: Push(r, r.a); break;
    case 0x68: Transfer(r, r.a, Pull(r)); break;

    case 0x18: r.carryFlag = 0; break;
    case 0x38: r.carryFlag = 1; break;
    case 0x58:
      r.status &= ~kFlagInterrupt;
      EndRunIfIrqWaits();
      break;
    case 0x78: r.status |= kFlagInterrupt; break;
    case 0xB8: r.overflowFlag = 0; break;
    case 0xD8: r.status &= ~kFlagDecimal; break;
    case 0xF8: r.status |= kFlagDecimal; break;

    case 0xAA: Transfer(r, r.x, r.a); break;
    case 0xA8: Transfer(r, r.y, r.a); break;
    case 0x8A: Transfer(r, r.a, r.x); break;
    case 0x98: Transfer(r, r.a, r.y); break;
    case 0xBA: Transfer(r, r.x, r.sp); break;
    // unlike the MOS part, TXS sets N and Z here as TSX does
    case 0x9A: Transfer(r, r.sp, r.x); break;
    case 0xE8: r.x = Inc(r, r.x); break;
    case 0xC8: r.y = Inc(r, r.y); break;
    case 0xCA: r.x = Dec(r, r.x); break;
    case 0x88: r.y = Dec(r, r.y); break;

    // the NOPs never touch their operands, so a NOP can acknowledge no I/O register
    case 0xEA: case 0x1A: case 0x3A: case 0x5A: case 0x7A: case 0xDA: case 0xFA: break;
    case 0x04: case 0x44: case 0x64: case 0x14: case 0x34: case 0x54: case 0x74:
    case 0xD4: case 0xF4: case 0x80: case 0x82: case 0x89: case 0xC2: case 0xE2:
      pc += 1;
      break;
    case 0x0C: case 0x1C: case 0x3C: case 0x5C: case 0x7C: case 0xDC: case 0xFC:
      pc += 2;
      break;

    // the thread resets the machine, or holds the processor, before the next instruction
    case 0x02: case 0x12: case 0x22: case 0x32: case 0x42: case 0x52:
    case 0x62: case 0x72: case 0x92: case 0xB2: case 0xD2: case 0xF2:
      jamAddress = opcodeAddress;
      resetRequest.store(jamHaltsCpu ? kHaltRequest : 2);
      EndRunAfterInstruction();
      break;
  }
  return cycleTable[opcode];
}

// An instruction at pc outside the code window, every byte of it read through the banking: in
// the I/O area (as any other I/O access, every time), in a region's last two bytes or in the bus
// routines.
[[gnu::noinline]] int ExecuteOutsideWindow(CpuRegisters& r, uint16_t& pc) {
  const uint16_t opcodeAddress = pc;
  const uint8_t opcode = ReadBanked(pc);
  ++pc;
  return Dispatch<false>(r, pc, opcodeAddress, opcode);
}

// One instruction at pc, which it advances, on the registers r; returns its cycles. Inlined into
// both callers below, so a run of instructions is one loop around the dispatch with the registers
// in a local copy (in host registers, safe from the stores into Ram): CpuRegs is written back when
// the run ends and around the drive's trap, the one code that looks at it meanwhile.
CPU_INLINE int Execute(CpuRegisters& r, uint16_t& pc) {
  if (!InCodeWindow(pc)) [[unlikely]] {
    // The code window never holds the bus routines while a drive's trap is in place: this is the
    // one place a virtual drive takes them over, before their opcode is fetched.
    if (static_cast<uint16_t>(pc - kFirstBusRoutine) <= kLastBusRoutine - kFirstBusRoutine &&
        driveBusTrap != nullptr) {
      r.pc = pc;
      CpuRegs = r;
      const bool trapped = driveBusTrap(pc);
      r = CpuRegs;
      codeRegion.length = 0;  // whatever the drive stored, the next fetch looks again
      if (trapped) {
        pc = static_cast<uint16_t>(r.pc);
        return kBusTrapCycles;
      }
    }
    OpenCodeWindow(pc);
    if (!InCodeWindow(pc)) return ExecuteOutsideWindow(r, pc);
  }
  const uint16_t opcodeAddress = pc;
  const uint8_t opcode = CodeByte(pc);
  ++pc;
  return Dispatch<true>(r, pc, opcodeAddress, opcode);
}
}  // namespace

int ExecuteInstruction() {
  codeRegion.length = 0;
  CpuRegisters r = CpuRegs;
  uint16_t pc = static_cast<uint16_t>(r.pc);
  const int cycles = Execute(r, pc);
  r.pc = pc;
  CpuRegs = r;
  return cycles;
}

int ExecuteQuietInstructions(int32_t cycleLimit, int32_t& quietCycles) {
  codeRegion.length = 0;
  // An interrupt that can be entered now ends the run after its first instruction; one that comes
  // within reach later (an I/O write, I cleared under a pending IRQ, a jam) ends it then. An
  // IRQ held off by I needs no pass of its own: interrupt service would enter nothing.
  const bool enterable = nmiPending != 0 || (irqPending != 0 && (CpuRegs.status & kFlagInterrupt) == 0);
  runCycleLimit = enterable ? 0 : cycleLimit;
  int32_t run = 0;
  CpuRegisters r = CpuRegs;
  uint16_t pc = static_cast<uint16_t>(r.pc);
  for (;;) {
    const int cycles = Execute(r, pc);
    if (run + cycles >= runCycleLimit) {
      r.pc = pc;
      CpuRegs = r;
      quietCycles = run;
      return cycles;
    }
    run += cycles;
    cycleClock += cycles;
  }
}

#undef CPU_BASIC_MODES
#undef CPU_INDIRECT_MODES
#undef CPU_ALU_MODES
#undef CPU_COMBINED_MODES
