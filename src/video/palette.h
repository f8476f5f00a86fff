// palette.h: the sixteen C64 colours as display pixels.
#pragma once

#include <array>
#include <cstdint>

struct PaletteColour {
  uint8_t red, green, blue;
};

inline constexpr PaletteColour kPaletteColours[16] = {
    {16, 16, 16},    {255, 255, 255}, {224, 64, 64},   {96, 255, 255},   // black, white, red, cyan
    {224, 96, 224},  {64, 224, 64},   {64, 64, 224},   {255, 255, 64},   // purple, green, blue, yellow
    {224, 160, 64},  {156, 116, 72},  {255, 160, 160}, {84, 84, 84},     // orange, brown, light red, dark grey
    {136, 136, 136}, {160, 255, 160}, {160, 160, 255}, {192, 192, 192},  // grey, light green, light blue, light grey
};

// RGB565 with the low bits of each component dropped.
constexpr uint16_t ToRgb565(PaletteColour colour) {
  return static_cast<uint16_t>(((colour.red & 0xF8) << 8) | ((colour.green & 0xFC) << 3) | (colour.blue >> 3));
}

// Built from the colour table when the program is compiled, so it is ready before any thread
// starts and never changes.
inline constexpr std::array<uint16_t, 16> palette565 = [] {
  std::array<uint16_t, 16> pixels{};
  for (int i = 0; i < 16; ++i) pixels[i] = ToRgb565(kPaletteColours[i]);
  return pixels;
}();
