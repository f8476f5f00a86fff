// keyboard_input.cpp: the key table, host keys onto the C64 keyboard.
//
// Each host key presses up to two C64 keys, chosen by whether a shift key is held. Shifted
// symbols that the C64 types unshifted (@ : + * and the arrows) release LEFT SHIFT while they are
// pressed; once such a key, or one that adds LEFT SHIFT itself, is let go, LEFT SHIFT follows the
// host's left shift again, so the next key is shifted as the user still holds shift. A key-up
// releases the keys its own press pressed, whatever shift did in between, so no key sticks. The
// cursor keys are the joypad while the joystick is on and only reach the matrix after "Keyboard";
// the fire buttons live in KeyDown only, where the joystick reads them. RESTORE is not in the
// matrix: its press asks the emulation loop for an NMI. The keyboard scan reads LEFT SHIFT's
// column before most others, so a key and the shift it needs changing together could be seen
// half-changed; SettleShiftForKey lets a caller change the shift one scan ahead of the key.
// Left out: keyboard layouts other than the US one, which the front ends translate into.
// Called by: the front ends, on the application thread, for every key down and up.
#include "shell/keyboard_input.h"

#include "chips/cia.h"
#include "core/machine.h"
#include "machine/scheduler.h"
#include "video/presentation.h"

std::atomic<uint8_t> shiftHeld{0};

namespace {
struct MatrixKey {
  int8_t column = -1;  // -1: no key
  int8_t bit = 0;
};

constexpr MatrixKey kLeftShift{1, 7};
constexpr MatrixKey kRightShift{6, 4};

// What one host key does in one shift state.
struct KeyMeaning {
  MatrixKey keys[2];
  bool unshifted = false;  // the C64 types this symbol without shift: LEFT SHIFT let go
};

struct KeyRow {
  int virtualKey;
  KeyMeaning plain;
  KeyMeaning shifted;
};

constexpr KeyMeaning Keys(MatrixKey first, MatrixKey second = {}) { return {{first, second}}; }
constexpr KeyMeaning WithShift(MatrixKey key) { return Keys(key, kLeftShift); }

constexpr MatrixKey kInstDel{0, 0}, kReturn{0, 1}, kCursorRight{0, 2}, kF7{0, 3}, kF1{0, 4}, kF3{0, 5},
    kF5{0, 6}, kCursorDown{0, 7};
constexpr MatrixKey k3{1, 0}, k4{1, 3}, k5{2, 0}, k6{2, 3}, k7{3, 0}, k8{3, 3}, k9{4, 0}, k0{4, 3};
constexpr MatrixKey kPlus{5, 0}, kMinus{5, 3}, kPeriod{5, 4}, kColon{5, 5}, kAt{5, 6}, kComma{5, 7};
constexpr MatrixKey kAsterisk{6, 1}, kSemicolon{6, 2}, kEquals{6, 5}, kUpArrow{6, 6}, kSlash{6, 7};
constexpr MatrixKey kPound{6, 0}, kClrHome{6, 3};
constexpr MatrixKey k1{7, 0}, kLeftArrow{7, 1}, k2{7, 3}, kControl{7, 2}, kSpace{7, 4}, kCommodore{7, 5},
    kRunStop{7, 7};

constexpr KeyMeaning Unshifted(MatrixKey key) { return {{key, {}}, true}; }

constexpr KeyRow Same(int virtualKey, KeyMeaning meaning) { return {virtualKey, meaning, meaning}; }

const KeyRow keyTable[] = {
    Same(kVkBackspace, Keys(kInstDel)),
    Same(kVkReturn, Keys(kReturn)),
    Same(kVkControl, Keys(kControl)),
    Same(kVkSpace, Keys(kSpace)),
    Same(kVkInsert, WithShift(kInstDel)),
    {48, Keys(k0), WithShift(k9)},
    {49, Keys(k1), WithShift(k1)},
    {50, Keys(k2), Unshifted(kAt)},
    {51, Keys(k3), WithShift(k3)},
    {52, Keys(k4), WithShift(k4)},
    {53, Keys(k5), WithShift(k5)},
    {54, Keys(k6), Unshifted(kUpArrow)},
    {55, Keys(k7), WithShift(k6)},
    {56, Keys(k8), Unshifted(kAsterisk)},
    {57, Keys(k9), WithShift(k8)},
    Same(kVkKeypadMultiply, Keys(kAsterisk)),
    Same(107, Keys(kPlus)),
    Same(109, Keys(kMinus)),
    Same(112, Keys(kF1)),
    Same(113, WithShift(kF1)),
    Same(114, Keys(kF3)),
    Same(115, WithShift(kF3)),
    Same(116, Keys(kF5)),
    Same(117, WithShift(kF5)),
    Same(118, Keys(kF7)),
    Same(119, WithShift(kF7)),
    {186, Keys(kSemicolon), Unshifted(kColon)},
    {187, Keys(kEquals), Unshifted(kPlus)},
    {188, Keys(kComma), WithShift(kComma)},
    {189, Keys(kMinus), Unshifted(kLeftArrow)},
    {190, Keys(kPeriod), WithShift(kPeriod)},
    {191, Keys(kSlash), WithShift(kSlash)},
    Same(kVkBackQuote, Keys(kLeftArrow)),
    Same(kVkBackslash, Keys(kPound)),
    Same(kVkTab, Keys(kCommodore)),
    Same(kVkHome, Keys(kClrHome)),
    Same(kVkDelete, Keys(kInstDel)),
    Same(kVkRunStopButton, Keys(kRunStop)),
    Same(194, Keys(kRunStop)),
    Same(219, WithShift(kColon)),
    Same(221, WithShift(kSemicolon)),
    {222, WithShift(k7), WithShift(k2)},
};

// The letters A-Z, by virtual key 65-90.
constexpr MatrixKey letterKeys[26] = {
    {1, 2}, {3, 4}, {2, 4}, {2, 2}, {1, 6}, {2, 5}, {3, 2}, {3, 5}, {4, 1}, {4, 2}, {4, 5}, {5, 2}, {4, 4},
    {4, 7}, {4, 6}, {5, 1}, {7, 6}, {2, 1}, {1, 5}, {2, 6}, {3, 6}, {3, 7}, {1, 1}, {2, 7}, {3, 1}, {1, 4},
};

void SetMatrixKey(MatrixKey key, bool pressed) {
  if (key.column < 0) return;
  const uint8_t mask = static_cast<uint8_t>(1 << key.bit);
  if (pressed) {
    KeyMatrix[key.column].fetch_and(static_cast<uint8_t>(~mask));
  } else {
    KeyMatrix[key.column].fetch_or(mask);
  }
}

// The meaning each held key was pressed with, by virtual key; only touched under the key
// queue's lock or on the thread that owns the keyboard.
const KeyMeaning* pressedMeaning[256];

bool IsLeftShift(MatrixKey key) { return key.column == kLeftShift.column && key.bit == kLeftShift.bit; }

bool TouchesLeftShift(const KeyMeaning& meaning) {
  return meaning.unshifted || IsLeftShift(meaning.keys[0]) || IsLeftShift(meaning.keys[1]);
}

// The keyboard scan may run between two matrix writes, so the shift state is settled before a
// key goes down and after it comes up: the scan never sees the key with the wrong shift.
void Apply(int virtualKey, const KeyMeaning& current, bool down) {
  if (down) {
    pressedMeaning[virtualKey] = &current;
    if (current.unshifted) SetMatrixKey(kLeftShift, false);
    for (const MatrixKey& key : current.keys) {
      if (IsLeftShift(key)) SetMatrixKey(key, true);
    }
    for (const MatrixKey& key : current.keys) {
      if (!IsLeftShift(key)) SetMatrixKey(key, true);
    }
    return;
  }
  const KeyMeaning& pressed = pressedMeaning[virtualKey] != nullptr ? *pressedMeaning[virtualKey] : current;
  pressedMeaning[virtualKey] = nullptr;
  for (const MatrixKey& key : pressed.keys) {
    if (!IsLeftShift(key)) SetMatrixKey(key, false);
  }
  if (TouchesLeftShift(pressed)) SetMatrixKey(kLeftShift, KeyDown[kVkShift].load() != 0);
}

// The cursor keys as C64 cursor keys: left and up are the shifted right and down.
// Static, since a key-up finds what its press pressed through a pointer.
constexpr KeyMeaning kCursorMeanings[] = {WithShift(kCursorRight), WithShift(kCursorDown), Keys(kCursorRight),
                                          Keys(kCursorDown)};

// The table meaning of a key in the current shift state; null for the keys handled apart
// (letters, shifts, the joypad while it is the joystick, RESTORE, the buttons).
const KeyMeaning* MeaningOf(int virtualKey) {
  if (virtualKey >= kVkLeft && virtualKey <= kVkDown) {
    return joystickEnabled.load() == 0 ? &kCursorMeanings[virtualKey - kVkLeft] : nullptr;
  }
  for (const KeyRow& row : keyTable) {
    if (row.virtualKey == virtualKey) return shiftHeld.load() != 0 ? &row.shifted : &row.plain;
  }
  return nullptr;
}
}  // namespace

bool SettleShiftForKey(int virtualKey) {
  const KeyMeaning* meaning = MeaningOf(virtualKey);
  if (meaning == nullptr || !TouchesLeftShift(*meaning)) return false;
  const bool wanted = !meaning->unshifted;
  const bool held = (KeyMatrix[kLeftShift.column].load() & (1 << kLeftShift.bit)) == 0;
  if (held == wanted) return false;
  SetMatrixKey(kLeftShift, wanted);
  return true;
}

void ToggleRotation() { landscapeMode.store(landscapeMode.load() != 0 ? 0 : 1); }

bool HandleKey(int virtualKey, bool down) {
  if (virtualKey == 196 || virtualKey == 134) virtualKey = kVkFireButton;
  if (virtualKey < 0 || virtualKey > 255) return false;
  KeyDown[virtualKey].store(down ? 1 : 0);

  if (virtualKey >= 'A' && virtualKey <= 'Z') {
    SetMatrixKey(letterKeys[virtualKey - 'A'], down);
  } else if (virtualKey == kVkShift || virtualKey == kVkRightShift) {
    // RIGHT SHIFT is never pressed: both host shifts only choose the shifted meanings, and the
    // left one also holds LEFT SHIFT.
    if (virtualKey == kVkShift) SetMatrixKey(kLeftShift, down);
    if (virtualKey == kVkRightShift) SetMatrixKey(kRightShift, false);
    shiftHeld.store(down ? 1 : 0);
  } else if (virtualKey == kVkRestore) {
    if (down) restorePressed.store(1);
  } else if (virtualKey == kVkRecordButton) {
    if (!down) ToggleRotation();
    return !down;
  } else if (const KeyMeaning* meaning = MeaningOf(virtualKey)) {
    Apply(virtualKey, *meaning, down);
  }
  return false;
}
