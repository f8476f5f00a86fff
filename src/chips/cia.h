// cia.h: the two 6526 CIAs, the keyboard matrix and the joystick bits.
#pragma once

#include <atomic>
#include <cstdint>

extern uint16_t cia1Regs[16], cia2Regs[16];  // a read returns the low byte of the entry
extern uint16_t cia1TimerA, cia1TimerB, cia2TimerA, cia2TimerB;
extern uint16_t cia1LatchA, cia1LatchB, cia2LatchA, cia2LatchB;
extern uint8_t cia1IntMask, cia2IntMask;
extern uint8_t cia1RunA, cia1RunB, cia2RunA, cia2RunB;
extern int32_t cia1StepCountdown, cia2StepCountdown;

// Written by the user-interface thread, read by the emulation thread.
extern std::atomic<uint8_t> joystickPort;      // 1 = control port 2 (port A), 2 = control port 1 (port B)
extern std::atomic<uint32_t> joystickEnabled;  // 0 = the joypad is not a joystick
// A gamepad's directions and fire, in ReadJoystick's bit order, each 1 while held; joined with
// the joypad keys.
extern std::atomic<uint8_t> gamepadJoystick;

// Host virtual-key codes the joystick reads from KeyDown.
inline constexpr int kKeyLeft = 0x25;
inline constexpr int kKeyUp = 0x26;
inline constexpr int kKeyRight = 0x27;
inline constexpr int kKeyDown = 0x28;
inline constexpr int kKeyFire = 0xC3;

// cia is 1 or 2; r is the register number 0-15.
uint8_t CiaRead(int cia, int r);
void CiaWrite(int cia, int r, uint8_t v);
// The five joystick bits, each 1 while its direction or fire is released.
uint8_t ReadJoystick();
// One 25-cycle step of CIA 1 or 2: timers, underflow, reload and interrupt.
void StepCiaTimers(int cia);

// Deferred steps, for the emulation loop. From DeferCiaSteps on, the steps falling due as
// cycleClock advances are owed instead of taken, until the first step that might raise an
// interrupt line, CyclesUntilInterruptingStep cycles from cycleClock (0 or less: due now).
// CatchUpCiaSteps (called by every register access, with cycleClock at the accessing
// instruction's start, and by a reset) takes the owed ones, each CIA's in order, so the timers
// read as if stepped after each instruction. StepCiasAfterInstruction, for an instruction whose
// cycles cycleClock already holds, takes the owed steps and then the one due after it, charging
// the CIAs 7 cycles more for each interrupt entry; the loop calls it when a step that might
// interrupt has come or an interrupt was entered. EndCiaStepDeferral catches up and stops owing,
// for anyone who reads or replaces the CIAs' state while the loop is not running.
int32_t CyclesUntilInterruptingStep();
void DeferCiaSteps();  // does nothing while already deferring
void CatchUpCiaSteps();
void StepCiasAfterInstruction(int cycles, int interruptEntries);
void EndCiaStepDeferral();
// Clears both register images and the four running flags, as a machine reset does.
void ResetCias();
