// gamepads.cpp: any SDL game controller drives the joystick of the port the Emu menu selects.
//
// SDL's controller database gives every known pad the same layout, so the D-pad, the left stick,
// A, B and Start are found on any of them. Controllers plugged in before or after start arrive as
// SDL device events, each named in one line on stderr; all open controllers together make one
// joystick. Start is the RUN/STOP key, through the same queue as the keyboard, so a quick press
// is still seen by the KERNAL's scan.
// Left out: the right stick and the other buttons, rumble, and a second joystick for a second
// pad: both pads drive the one port chosen.
// Called by: the desktop front end (open, close) and the window's timer (poll).
#include "platform/desktop/gamepads.h"

#include <SDL.h>

#include <cstdio>
#include <map>

#include "chips/cia.h"
#include "shell/key_queue.h"
#include "shell/keyboard_input.h"

namespace {
// A third of the stick's travel, so a resting stick never drifts into a direction.
constexpr int kStickDeadZone = 32767 / 3;

// Open controllers by joystick instance id; application thread only.
std::map<SDL_JoystickID, SDL_GameController*> controllers;
bool opened = false;
bool startHeld = false;

void Add(int deviceIndex) {
  if (!SDL_IsGameController(deviceIndex)) return;
  SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
  if (controller == nullptr) return;
  const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
  if (controllers.count(id) != 0) {
    SDL_GameControllerClose(controller);
    return;
  }
  controllers[id] = controller;
  const char* name = SDL_GameControllerName(controller);
  std::fprintf(stderr, "vornce: gamepad found: %s\n", name != nullptr ? name : "(unnamed)");
}

void Remove(SDL_JoystickID id) {
  const auto found = controllers.find(id);
  if (found == controllers.end()) return;
  SDL_GameControllerClose(found->second);
  controllers.erase(found);
}

GamepadState StateOf(SDL_GameController* controller) {
  auto button = [controller](SDL_GameControllerButton b) { return SDL_GameControllerGetButton(controller, b) != 0; };
  GamepadState state;
  state.up = button(SDL_CONTROLLER_BUTTON_DPAD_UP);
  state.down = button(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
  state.left = button(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
  state.right = button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
  state.stickX = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTX);
  state.stickY = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTY);
  state.a = button(SDL_CONTROLLER_BUTTON_A);
  state.b = button(SDL_CONTROLLER_BUTTON_B);
  state.start = button(SDL_CONTROLLER_BUTTON_START);
  return state;
}
}  // namespace

uint8_t JoystickBitsOf(const GamepadState& state) {
  uint8_t bits = 0;
  if (state.up || state.stickY < -kStickDeadZone) bits |= 1;
  if (state.down || state.stickY > kStickDeadZone) bits |= 2;
  if (state.left || state.stickX < -kStickDeadZone) bits |= 4;
  if (state.right || state.stickX > kStickDeadZone) bits |= 8;
  if (state.a || state.b) bits |= 16;
  return bits;
}

bool OpenGamepads() {
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // The window is Qt's, not SDL's: the pads are read whichever window has the focus.
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  opened = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
  return opened;
}

void PollGamepads() {
  if (!opened) return;
  SDL_Event event;
  while (SDL_PollEvent(&event) != 0) {
    if (event.type == SDL_CONTROLLERDEVICEADDED) Add(event.cdevice.which);
    if (event.type == SDL_CONTROLLERDEVICEREMOVED) Remove(event.cdevice.which);
  }
  uint8_t bits = 0;
  bool start = false;
  for (const auto& [id, controller] : controllers) {
    const GamepadState state = StateOf(controller);
    bits |= JoystickBitsOf(state);
    start = start || state.start;
  }
  gamepadJoystick.store(bits);
  if (start != startHeld) {
    startHeld = start;
    QueueKey(kVkRunStopButton, start);
  }
}

void CloseGamepads() {
  if (!opened) return;
  for (const auto& [id, controller] : controllers) SDL_GameControllerClose(controller);
  controllers.clear();
  gamepadJoystick.store(0);
  SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  opened = false;
}
