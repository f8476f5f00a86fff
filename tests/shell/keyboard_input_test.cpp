// Tests of the key table: which C64 keys each host key holds down, and when.
#include <gtest/gtest.h>

#include <vector>

#include "chips/cia.h"
#include "core/machine.h"
#include "shell/keyboard_input.h"
#include "video/presentation.h"

namespace {
using Position = std::pair<int, int>;

void ReleaseEverything() {
  for (auto& column : KeyMatrix) column.store(0xFF);
  for (auto& key : KeyDown) key.store(0);
  shiftHeld.store(0);
  joystickEnabled.store(1);
  landscapeMode.store(0);
}

std::vector<Position> PressedPositions() {
  std::vector<Position> pressed;
  for (int column = 0; column < 8; ++column) {
    for (int bit = 0; bit < 8; ++bit) {
      if ((KeyMatrix[column].load() & (1 << bit)) == 0) pressed.emplace_back(column, bit);
    }
  }
  return pressed;
}

// Types the keys down in order, then reports the matrix with all of them held.
std::vector<Position> Hold(std::initializer_list<int> keys) {
  for (int key : keys) HandleKey(key, true);
  return PressedPositions();
}
}  // namespace

TEST(KeyboardInput, KeysPressTheirC64PositionsByShiftState) {
  const Position leftShift{1, 7};
  struct Case {
    const char* what;
    std::initializer_list<int> keys;
    std::vector<Position> pressed;
  } cases[] = {
      {"V", {'V'}, {{3, 7}}},
      {"shift V keeps the letter", {kVkShift, 'V'}, {leftShift, {3, 7}}},
      {"2", {'2'}, {{7, 3}}},
      {"shift 2 gives @ without shift", {kVkShift, '2'}, {{5, 6}}},
      {"shift ; gives : without shift", {kVkShift, 186}, {{5, 5}}},
      {"shift 0 gives shifted 9", {kVkShift, '0'}, {leftShift, {4, 0}}},
      {"F2 is shifted F1", {113}, {{0, 4}, leftShift}},
      {"insert is shifted INST/DEL", {kVkInsert}, {{0, 0}, leftShift}},
      {"right shift holds no C64 key", {kVkRightShift}, {}},
      {"right shift 7 gives shifted 6", {kVkRightShift, '7'}, {leftShift, {2, 3}}},
      {"run/stop buttons", {194}, {{7, 7}}},
      {"fire buttons stay out of the matrix", {134, 196, kVkFireButton}, {}},
      {"cursor keys are the joypad", {kVkLeft, kVkUp, kVkRight, kVkDown}, {}},
  };
  for (const Case& c : cases) {
    ReleaseEverything();
    EXPECT_EQ(Hold(c.keys), c.pressed) << c.what;
  }
}

TEST(KeyboardInput, KeyUpReleasesWhatTheShiftStateAtReleaseNames) {
  ReleaseEverything();
  HandleKey(kVkShift, true);
  HandleKey('2', true);
  HandleKey('2', false);
  EXPECT_EQ(PressedPositions(), std::vector<Position>{}) << "@ released; LEFT SHIFT was let go on the press";

  ReleaseEverything();
  HandleKey('8', true);  // pressed unshifted: 8
  HandleKey(kVkShift, true);
  HandleKey('8', false);  // released shifted: the asterisk, so the 8 stays held
  HandleKey(kVkShift, false);
  EXPECT_EQ(PressedPositions(), (std::vector<Position>{{3, 3}}));
}

TEST(KeyboardInput, CursorKeysActAsC64CursorKeysOnlyWithTheJoystickOff) {
  ReleaseEverything();
  joystickEnabled.store(0);
  EXPECT_EQ(Hold({kVkLeft}), (std::vector<Position>{{0, 2}, {1, 7}}));
  HandleKey(kVkLeft, false);
  EXPECT_EQ(Hold({kVkDown}), (std::vector<Position>{{0, 7}}));
  EXPECT_EQ(KeyDown[kVkDown].load(), 1);
}

TEST(KeyboardInput, FireButtonsAllCountAsOneAndRecordButtonRotatesOnRelease) {
  ReleaseEverything();
  for (int button : {134, 196, kVkFireButton}) {
    HandleKey(button, true);
    EXPECT_EQ(KeyDown[kVkFireButton].load(), 1) << button;
    HandleKey(button, false);
    EXPECT_EQ(KeyDown[kVkFireButton].load(), 0) << button;
  }
  EXPECT_FALSE(HandleKey(kVkRecordButton, true));
  EXPECT_EQ(landscapeMode.load(), 0u);
  EXPECT_TRUE(HandleKey(kVkRecordButton, false));
  EXPECT_EQ(landscapeMode.load(), 1u);
  HandleKey(kVkRecordButton, false);
  EXPECT_EQ(landscapeMode.load(), 0u);
}
