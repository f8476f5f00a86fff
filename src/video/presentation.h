// presentation.h: showing the finished FrameBuffer on the display.
#pragma once

#include <atomic>
#include <cstdint>

extern std::atomic<uint32_t> landscapeMode;  // nonzero while the picture is shown rotated

int PresentFrame();

// Status text over the picture, with the character ROM's glyphs (upper-case set), in character
// cells of the FrameBuffer: column 0-39, row 0-24, palette indices for the colours.
void DrawGlyph(int code, int column, int row, uint8_t foreground, uint8_t background);
void DrawText(const char* text, int column, int row, uint8_t foreground, uint8_t background);
