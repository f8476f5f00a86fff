// keyboard_input.h: host keys and buttons turned into the C64 keyboard matrix and joystick.
#pragma once

#include <atomic>
#include <cstdint>

// Virtual-key codes of the handheld, which the front ends translate host keys into.
inline constexpr int kVkBackspace = 8;
inline constexpr int kVkTab = 9;        // the Commodore key
inline constexpr int kVkReturn = 13;
inline constexpr int kVkShift = 16;
inline constexpr int kVkControl = 17;
inline constexpr int kVkSpace = 32;
inline constexpr int kVkRestore = 33;   // Page Up: RESTORE, which raises the NMI
inline constexpr int kVkHome = 36;      // CLR/HOME
inline constexpr int kVkLeft = 37;
inline constexpr int kVkUp = 38;
inline constexpr int kVkRight = 39;
inline constexpr int kVkDown = 40;
inline constexpr int kVkInsert = 45;
inline constexpr int kVkDelete = 46;
inline constexpr int kVkKeypadMultiply = 106;
inline constexpr int kVkF1 = 112;
inline constexpr int kVkRightShift = 161;
inline constexpr int kVkBackQuote = 192;  // ` and ~: the left arrow
inline constexpr int kVkRunStopButton = 193;  // the left-hand hardware buttons (also 194)
inline constexpr int kVkFireButton = 195;     // the right-hand hardware buttons (also 196, 134)
inline constexpr int kVkRecordButton = 197;   // rotates the picture on release
inline constexpr int kVkBackslash = 220;      // \ and |: the pound key

// 1 while a host shift key is down: selects the shifted meaning of the keys.
extern std::atomic<uint8_t> shiftHeld;

// Records the key in KeyDown and presses or releases its C64 keys in KeyMatrix. Returns true
// when the key toggled the picture's rotation (record button released).
bool HandleKey(int virtualKey, bool down);

// Before a key goes down: sets LEFT SHIFT as the key's meaning wants it (let go for the symbols
// the C64 types unshifted, held for those it types shifted). Returns true when that changed
// LEFT SHIFT, so that the caller lets the keyboard be scanned before HandleKey presses the key.
bool SettleShiftForKey(int virtualKey);

// Flips landscapeMode; the front end shows the menu bar in portrait only.
void ToggleRotation();
