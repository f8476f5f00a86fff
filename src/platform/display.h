// display.h: our stand-in for the handheld's game display library (GAPI): one 240 x 320 RGB565
// surface addressed by two pitches, and the button input pair.
#pragma once

#include <cstdint>

inline constexpr int kDisplayWidth = 240;   // in portrait orientation
inline constexpr int kDisplayHeight = 320;
inline constexpr int kDisplayPixels = kDisplayWidth * kDisplayHeight;
inline constexpr uint32_t kGxFullScreen = 1;

struct GXDisplayProperties {
  uint32_t cxWidth = 0;
  uint32_t cyHeight = 0;
  int32_t cbxPitch = 0;  // bytes from a pixel to its right-hand neighbour (portrait)
  int32_t cbyPitch = 0;  // bytes from a pixel to the one below it (portrait)
  int32_t cBPP = 0;
  uint32_t ffFormat = 0;
};

// window: the front end's window, or null without one. Nonzero on success.
int GXOpenDisplay(void* window, uint32_t flags);
GXDisplayProperties GXGetDisplayProperties();
// The surface, valid and locked against CopyLatestPicture until GXEndDraw; null while suspended
// or closed (then no GXEndDraw follows).
void* GXBeginDraw();
// Ends drawing: the surface becomes the latest frame and the frame listener is told. Nonzero on
// success.
int GXEndDraw();
int GXSuspend();
int GXResume();
int GXCloseDisplay();
int GXOpenInput();
int GXCloseInput();

// For the front ends, from any thread: the latest complete frame as the user sees it, into
// picture (kDisplayPixels pixels, row by row). Portrait: 240 wide and 320 high, the surface as it
// is. Rotated: the surface turned a quarter turn back, 320 wide and 240 high. Returns the frame's
// number, 0 while no frame has been finished.
uint32_t CopyLatestPicture(bool rotated, uint16_t* picture);

// Called after each published frame, on the thread that drew it; null for none. The listener
// must not draw, and should only wake whoever shows the picture.
using FrameListener = void (*)();
void SetFrameListener(FrameListener listener);
