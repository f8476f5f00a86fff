// Tests of the key table: which C64 keys each host key holds down, and when.
#include <gtest/gtest.h>

#include <vector>

#include "chips/cia.h"
#include "core/machine.h"
#include "machine/scheduler.h"
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
      {"shift = gives + without shift", {kVkShift, 187}, {{5, 0}}},
      {"shift 8 gives * without shift", {kVkShift, '8'}, {{6, 1}}},
      {"shift 6 gives the up arrow without shift", {kVkShift, '6'}, {{6, 6}}},
      {"shift - gives the left arrow without shift", {kVkShift, 189}, {{7, 1}}},
      {"keypad * is the asterisk", {kVkKeypadMultiply}, {{6, 1}}},
      {"` is the left arrow", {kVkBackQuote}, {{7, 1}}},
      {"\\ is the pound key", {kVkBackslash}, {{6, 0}}},
      {"tab is the Commodore key", {kVkTab}, {{7, 5}}},
      {"home is CLR/HOME", {kVkHome}, {{6, 3}}},
      {"shift home is CLR", {kVkShift, kVkHome}, {leftShift, {6, 3}}},
      {"delete is INST/DEL", {kVkDelete}, {{0, 0}}},
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

TEST(KeyboardInput, KeyUpReleasesWhatThePressPressedAndShiftFollowsTheHostAgain) {
  const Position leftShift{1, 7};
  struct Case {
    const char* what;
    std::vector<std::pair<int, bool>> events;
    std::vector<Position> pressed;
  } cases[] = {
      {"shift still held after @: LEFT SHIFT back for the next key",
       {{kVkShift, true}, {'2', true}, {'2', false}}, {leftShift}},
      {"shift still held after !: LEFT SHIFT stays", {{kVkShift, true}, {'1', true}, {'1', false}}, {leftShift}},
      {"shift let go before +: nothing left held",
       {{kVkShift, true}, {187, true}, {kVkShift, false}, {187, false}}, {}},
      {"8 pressed unshifted, released shifted: the 8 is let go",
       {{'8', true}, {kVkShift, true}, {'8', false}}, {leftShift}},
      {"* pressed shifted, released unshifted: the asterisk is let go",
       {{kVkShift, true}, {'8', true}, {kVkShift, false}, {'8', false}}, {}},
      {"[ adds LEFT SHIFT, and lets it go without a host shift", {{219, true}, {219, false}}, {}},
  };
  for (const Case& c : cases) {
    ReleaseEverything();
    for (const auto& [key, down] : c.events) HandleKey(key, down);
    EXPECT_EQ(PressedPositions(), c.pressed) << c.what;
  }
}

TEST(KeyboardInput, PageUpAsksForTheNmiOnItsPressOnly) {
  ReleaseEverything();
  restorePressed.store(0);
  HandleKey(kVkRestore, true);
  EXPECT_EQ(restorePressed.load(), 1u);
  EXPECT_EQ(PressedPositions(), std::vector<Position>{}) << "RESTORE is not in the matrix";
  restorePressed.store(0);
  HandleKey(kVkRestore, false);
  EXPECT_EQ(restorePressed.load(), 0u);
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
