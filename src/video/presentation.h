// presentation.h: showing the finished FrameBuffer on the display.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/display.h"

extern std::atomic<uint32_t> landscapeMode;  // nonzero while the picture is shown rotated

// Copied from the display once at start-up, before the emulation thread starts.
extern GXDisplayProperties displayProperties;

// Draws the FrameBuffer onto the display surface in the current layout. Returns GXEndDraw's
// result, or 0 without writing anything while the display gives no surface.
int PresentFrame();

// Whether anything shows the display surface while the machine runs: a window does; a headless
// run looks only at the last picture, once the emulation thread has returned. Set before the
// emulation thread starts; true unless a front end says otherwise.
extern std::atomic<bool> picturesWatched;
// The emulation thread's presentation of each drawn frame: PresentFrame while pictures are
// watched; otherwise it only notes that the surface lags behind the FrameBuffer.
void PresentDrawnFrame();
// Once the emulation thread has returned, before the surface is read: presents the last drawn
// frame if it was left unpresented. The thread returns right after a presentation, so the
// FrameBuffer still holds that frame and the surface ends as presenting every frame leaves it.
void PresentLatestFrame();

// Status text over the picture, with the character ROM's glyphs (upper-case set), in character
// cells of the FrameBuffer: column 0-39, row 0-24, palette indices for the colours.
void DrawGlyph(int code, int column, int row, uint8_t foreground, uint8_t background);
void DrawText(const char* text, int column, int row, uint8_t foreground, uint8_t background);
