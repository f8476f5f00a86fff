// display_session.cpp: the display library's start-up and end sequence.
//
// Order as on the handheld: input, display, its properties; at the end display, then input.
// Left out: the palette, which is built when the program is compiled.
// Called by: the front ends, around the emulation thread's lifetime.
#include "shell/display_session.h"

#include "platform/display.h"
#include "video/presentation.h"

bool OpenDisplaySession(void* window) {
  GXOpenInput();
  if (GXOpenDisplay(window, kGxFullScreen) == 0) {
    GXCloseInput();
    return false;
  }
  displayProperties = GXGetDisplayProperties();
  return true;
}

void CloseDisplaySession() {
  GXCloseDisplay();
  GXCloseInput();
}
