// gamepads.h: SDL game controllers as the C64 joystick.
#pragma once

#include <cstdint>

// What one controller holds at a moment.
struct GamepadState {
  bool up = false, down = false, left = false, right = false;  // the D-pad
  int16_t stickX = 0, stickY = 0;                               // the left stick, y down
  bool a = false, b = false, start = false;
};

// The joystick bits the state holds (bit 0 up, 1 down, 2 left, 3 right, 4 fire; 1 = held): the
// D-pad and the left stick past a third of its travel for directions, A or B for fire.
uint8_t JoystickBitsOf(const GamepadState& state);

// Application thread, before the emulation thread starts: SDL's controller subsystem; false
// when it cannot start (the emulator then runs without gamepads).
bool OpenGamepads();
// Application thread, from a timer: opens controllers plugged in (naming each on stderr), closes
// those pulled out, sets gamepadJoystick from all of them and hands Start to the keyboard queue
// as RUN/STOP.
void PollGamepads();
void CloseGamepads();
