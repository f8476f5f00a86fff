// display.cpp: the game display library's operations over a surface in memory.
//
// Emulated: a 240 x 320 RGB565 surface laid out row by row (x pitch 2, y pitch 480 bytes), handed
// out between GXBeginDraw and GXEndDraw and withheld while suspended. Like the handheld's display
// memory, the surface is locked from GXBeginDraw to GXEndDraw, and a window on another thread
// copies it under the same lock, so it only ever sees whole frames; the drawing side copies
// nothing.
// Left out: hardware buttons (the input pair only succeeds; front ends deliver keys themselves)
// and every display format but RGB565.
// Called by: the frame presentation (begin and end of drawing), the front ends (open, close,
// suspend, resume, reading the latest frame).
#include "platform/display.h"

#include <algorithm>
#include <atomic>
#include <mutex>

namespace {
constexpr int32_t kXPitch = 2;
constexpr int32_t kYPitch = kDisplayWidth * 2;
constexpr int32_t kBitsPerPixel = 16;
constexpr uint32_t kFormatRgb565 = 0x0080;

std::atomic<bool> displayOpen{false};
std::atomic<bool> suspended{false};
std::atomic<bool> drawing{false};  // between GXBeginDraw and GXEndDraw, surfaceMutex held
std::atomic<FrameListener> frameListener{nullptr};

std::mutex surfaceMutex;
uint16_t surface[kDisplayPixels];  // guarded by surfaceMutex
uint32_t frameNumber = 0;         // guarded by surfaceMutex
}  // namespace

int GXOpenDisplay(void*, uint32_t) {
  {
    std::lock_guard<std::mutex> lock(surfaceMutex);
    std::fill(std::begin(surface), std::end(surface), 0);
    frameNumber = 0;
  }
  suspended.store(false);
  displayOpen.store(true);
  return 1;
}

GXDisplayProperties GXGetDisplayProperties() {
  GXDisplayProperties properties;
  properties.cxWidth = kDisplayWidth;
  properties.cyHeight = kDisplayHeight;
  properties.cbxPitch = kXPitch;
  properties.cbyPitch = kYPitch;
  properties.cBPP = kBitsPerPixel;
  properties.ffFormat = kFormatRgb565;
  return properties;
}

void* GXBeginDraw() {
  if (!displayOpen.load() || suspended.load()) return nullptr;
  surfaceMutex.lock();
  drawing.store(true);
  return surface;
}

int GXEndDraw() {
  if (!drawing.exchange(false)) return 0;
  ++frameNumber;
  surfaceMutex.unlock();
  if (FrameListener listener = frameListener.load()) listener();
  return 1;
}

int GXSuspend() {
  suspended.store(true);
  return 1;
}

int GXResume() {
  suspended.store(false);
  return 1;
}

int GXCloseDisplay() {
  displayOpen.store(false);
  return 1;
}

int GXOpenInput() { return 1; }
int GXCloseInput() { return 1; }

uint32_t CopyLatestPicture(bool rotated, uint16_t* picture) {
  std::lock_guard<std::mutex> lock(surfaceMutex);
  if (!rotated) {
    std::copy(std::begin(surface), std::end(surface), picture);
    return frameNumber;
  }
  // Picture column u is surface row 319 - u, picture row v surface column v.
  for (int v = 0; v < kDisplayWidth; ++v) {
    for (int u = 0; u < kDisplayHeight; ++u) {
      picture[v * kDisplayHeight + u] = surface[(kDisplayHeight - 1 - u) * kDisplayWidth + v];
    }
  }
  return frameNumber;
}

void SetFrameListener(FrameListener listener) { frameListener.store(listener); }
