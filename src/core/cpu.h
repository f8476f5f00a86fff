// cpu.h: the 6510 instruction interpreter.
#pragma once

#include <cstdint>

// N, Z, V and C live unpacked in their own bytes; I, D, B and bit 5 live in `status`.
struct CpuRegisters {
  uint8_t sp;
  uint8_t y;
  uint8_t x;
  uint8_t a;
  uint32_t pc;               // 0..65535
  uint8_t status;
  uint8_t zeroFlag;          // 1 when the last result was zero
  uint8_t overflowFlag;      // 0x40 when V is set
  uint8_t negativeSource;    // N is bit 7 of this byte
  uint8_t carryFlag;         // 0 or 1
  uint32_t effectiveAddress; // scratch: the last effective address
  uint32_t indirectAddress;  // scratch: the last zero-page pointer address
};

extern CpuRegisters CpuRegs;
extern const int8_t cycleTable[256];

// Set before the emulation thread starts. False: a jam opcode asks the thread for the error
// message and the machine reset. True (test harness runs): it halts the processor instead, as the
// chip itself halts, so the machine stays as the jam left it.
extern bool jamHaltsCpu;
// Where the last jam opcode was executed.
extern uint16_t jamAddress;

// The KERNAL's serial-bus routines lie between TALK at $ED09 and ACPTR at $EE13.
inline constexpr uint16_t kFirstBusRoutine = 0xED09;
inline constexpr uint16_t kLastBusRoutine = 0xEE13;
// Set while a virtual drive answers on the serial bus (null otherwise). Fetching an instruction
// at an address from kFirstBusRoutine to kLastBusRoutine calls it first; when it returns true it
// has done the routine's work and returned to the caller as RTS would, and the instruction is not
// run. Changed only while the emulation thread is paused or not started.
extern bool (*driveBusTrap)(uint16_t pc);

// Loads pc from $FFFC/$FFFD, clears the registers and flags, sp = $FF, clears resetRequest.
void ResetCpu();
// Runs the instruction at pc and returns its cycles from cycleTable (those of an RTS when
// driveBusTrap took the call). A jam opcode notes its
// address and sets resetRequest to 2, or to kHaltRequest while jamHaltsCpu is set.
int ExecuteInstruction();
// Runs instructions until one brings their cycles to cycleLimit or ends the run (at the start
// when an interrupt can be entered: an NMI, or an IRQ with I clear; then by every I/O write, a
// jam opcode and I cleared under a pending IRQ); a limit of one cycle or less runs one.
// Every instruction but that last one adds its cycles to cycleClock as it ends, as the emulation
// loop would; their sum goes to quietCycles. Returns the last instruction's cycles, for the loop
// to complete its pass. CpuRegs holds the registers again when it returns.
int ExecuteQuietInstructions(int32_t cycleLimit, int32_t& quietCycles);
// Enters a pending IRQ (when I is clear) and then a pending NMI; returns the number of entries.
int ServiceInterrupts();
