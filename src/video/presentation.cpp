// presentation.cpp: the finished frame onto the 240 x 320 display through palette lookups.
//
// Portrait: each 320-pixel row narrowed to 240 by dropping the third of every four pixels, the
// picture on display rows 0-199. Rotated: the picture turned a quarter turn at full width, its
// top edge along the display's left edge, and display columns 200-239 black.
// Left out: scaling filters, and displays other than 240 x 320 RGB565 (the display's size and
// format are not consulted, only its two pitches). Display rows 200-319 belong to the picture
// only in the rotated layout: on the way back to portrait they are blanked once, so no stale
// rotated picture stays below the portrait one.
// Each presented frame is also kept whole, unnarrowed, for the desktop's Full picture view.
// While nothing watches the display (a headless run), the emulation thread skips the drawing and
// only the last frame is drawn, once the thread has returned.
// Called by: the emulation thread for every drawn frame while the emulation runs, and the
// application thread while the emulation thread is paused or has returned.
#include "video/presentation.h"

#include <cstring>

#include "core/machine.h"
#include "video/full_picture.h"
#include "video/palette.h"

std::atomic<uint32_t> landscapeMode{0};
GXDisplayProperties displayProperties;
std::atomic<bool> picturesWatched{true};

namespace {
constexpr int kPictureWidth = 320;
constexpr int kPictureHeight = 200;

// Only the presenting thread touches these; presentations never overlap.
uint32_t lastLayout = 0;
bool presentationSkipped = false;  // the last drawn frame never reached the surface

// Two display pixels side by side: on a surface whose pixels are adjacent in memory (x pitch 2)
// one 4-byte store of a ready-made pair, else two stores.
constexpr auto kPixelPairs = [] {
  std::array<std::array<uint16_t, 2>, 256> pairs{};
  for (int i = 0; i < 256; ++i) pairs[i] = {palette565[i & 15], palette565[i >> 4]};
  return pairs;
}();

void Put(uint8_t* at, uint8_t index) { *reinterpret_cast<uint16_t*>(at) = palette565[index & 15]; }

void PutPair(uint8_t* at, intptr_t xPitch, uint8_t left, uint8_t right) {
  if (xPitch == 2) {
    std::memcpy(at, kPixelPairs[(left & 15) | (right & 15) << 4].data(), 4);
  } else {
    Put(at, left);
    Put(at + xPitch, right);
  }
}

// Of every four source pixels the third is dropped: display pixels 3g, 3g + 1, 3g + 2 show
// source columns 4g, 4g + 1, 4g + 3.
void PresentPortrait(uint8_t* surface, intptr_t xPitch, intptr_t yPitch) {
  for (int y = 0; y < kPictureHeight; ++y) {
    const uint8_t* source = FrameBuffer + y * kPictureWidth;
    uint8_t* out = surface + y * yPitch;
    for (int g = 0; g < kPictureWidth / 8; ++g, source += 8, out += 6 * xPitch) {
      PutPair(out, xPitch, source[0], source[1]);
      PutPair(out + 2 * xPitch, xPitch, source[3], source[4]);
      PutPair(out + 4 * xPitch, xPitch, source[5], source[7]);
    }
  }
}

// Display columns firstColumn-239 of rows firstRow-319 in palette colour 0.
void Fill(uint8_t* surface, intptr_t xPitch, intptr_t yPitch, int firstColumn, int firstRow) {
  for (int row = firstRow; row < kDisplayHeight; ++row) {
    uint8_t* out = surface + row * yPitch + firstColumn * xPitch;
    for (int x = firstColumn; x < kDisplayWidth; x += 2, out += 2 * xPitch) PutPair(out, xPitch, 0, 0);
  }
}

// Source rows y and y + 1 together, so that their pixels land side by side in display columns
// y and y + 1.
void PresentRotated(uint8_t* surface, intptr_t xPitch, intptr_t yPitch) {
  for (int y = 0; y < kPictureHeight; y += 2) {
    const uint8_t* source = FrameBuffer + y * kPictureWidth;
    uint8_t* out = surface + y * xPitch + (kDisplayHeight - 1) * yPitch;
    for (int j = 0; j < kPictureWidth; ++j, out -= yPitch) PutPair(out, xPitch, source[j], source[j + kPictureWidth]);
  }
  Fill(surface, xPitch, yPitch, kPictureHeight, 0);
}
}  // namespace

int PresentFrame() {
  presentationSkipped = false;
  auto* surface = static_cast<uint8_t*>(GXBeginDraw());
  if (surface == nullptr) return 0;
  // The pitches are used rounded down to whole 16-bit pixels.
  const intptr_t xPitch = displayProperties.cbxPitch & ~1;
  const intptr_t yPitch = displayProperties.cbyPitch & ~1;
  const uint32_t layout = landscapeMode.load() != 0 ? 1 : 0;
  if (layout != 0) {
    PresentRotated(surface, xPitch, yPitch);
  } else {
    PresentPortrait(surface, xPitch, yPitch);
    if (lastLayout != 0) Fill(surface, xPitch, yPitch, 0, kPictureHeight);
  }
  lastLayout = layout;
  PublishFullPicture();
  return GXEndDraw();
}

void PresentDrawnFrame() {
  if (picturesWatched.load()) {
    PresentFrame();
  } else {
    presentationSkipped = true;
  }
}

void PresentLatestFrame() {
  if (presentationSkipped) PresentFrame();
}
