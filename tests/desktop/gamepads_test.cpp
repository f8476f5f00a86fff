// Tests of the gamepads: the joystick bits of a pad's state, and a pad plugged in while running.
#include "platform/desktop/gamepads.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include "chips/cia.h"
#include "core/machine.h"
#include "machine/scheduler.h"
#include "shell/key_queue.h"

TEST(Gamepads, DPadStickAndButtonsMakeTheJoystickBits) {
  struct Case {
    const char* what;
    GamepadState state;
    uint8_t bits;
  } cases[] = {
      {"nothing", {}, 0},
      {"D-pad up", {.up = true}, 1},
      {"D-pad down and right", {.down = true, .right = true}, 2 | 8},
      {"D-pad left", {.left = true}, 4},
      {"stick up past the dead zone", {.stickY = -20000}, 1},
      {"stick resting a little off centre", {.stickX = 9000, .stickY = -9000}, 0},
      {"stick down and left", {.stickX = -32768, .stickY = 32767}, 2 | 4},
      {"A is fire", {.a = true}, 16},
      {"B is fire", {.b = true}, 16},
      {"Start is not a joystick bit", {.start = true}, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(JoystickBitsOf(c.state), c.bits) << c.what;
}

TEST(Gamepads, APadPluggedInWhileRunningDrivesTheJoystickAndRunStop) {
  ASSERT_TRUE(OpenGamepads());
  ClearKeyQueue();
  for (auto& column : KeyMatrix) column.store(0xFF);
  SDL_VirtualJoystickDesc pad{};
  pad.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  pad.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
  pad.naxes = SDL_CONTROLLER_AXIS_MAX;
  pad.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
  pad.name = "VornCE test pad";
  const int device = SDL_JoystickAttachVirtualEx(&pad);
  ASSERT_GE(device, 0) << SDL_GetError();
  SDL_Joystick* joystick = SDL_JoystickOpen(device);
  ASSERT_NE(joystick, nullptr);

  testing::internal::CaptureStderr();
  PollGamepads();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "vornce: gamepad found: VornCE test pad\n");

  struct Step {
    SDL_GameControllerButton button;
    uint8_t bits;
  } steps[] = {{SDL_CONTROLLER_BUTTON_DPAD_LEFT, 4}, {SDL_CONTROLLER_BUTTON_A, 16}, {SDL_CONTROLLER_BUTTON_B, 16}};
  for (const Step& step : steps) {
    SDL_JoystickSetVirtualButton(joystick, step.button, 1);
    PollGamepads();
    EXPECT_EQ(gamepadJoystick.load(), step.bits) << step.button;
    SDL_JoystickSetVirtualButton(joystick, step.button, 0);
  }
  PollGamepads();
  EXPECT_EQ(gamepadJoystick.load(), 0);
  EXPECT_EQ(ReadJoystick(), 0x1F);
  SDL_JoystickSetVirtualButton(joystick, SDL_CONTROLLER_BUTTON_DPAD_UP, 1);
  PollGamepads();
  EXPECT_EQ(ReadJoystick(), 0x1E) << "the joystick port reads up held";

  SDL_JoystickSetVirtualButton(joystick, SDL_CONTROLLER_BUTTON_START, 1);
  PollGamepads();
  EXPECT_EQ(KeyMatrix[7].load() & 0x80, 0) << "Start holds RUN/STOP";
  framesEnded.fetch_add(3);
  SDL_JoystickSetVirtualButton(joystick, SDL_CONTROLLER_BUTTON_START, 0);
  PollGamepads();
  EXPECT_EQ(KeyMatrix[7].load() & 0x80, 0x80);

  SDL_JoystickClose(joystick);
  SDL_JoystickDetachVirtual(device);
  PollGamepads();
  EXPECT_EQ(gamepadJoystick.load(), 0) << "a pad pulled out holds nothing";
  CloseGamepads();
}
