// screenshot.cpp: the latest presented frame written as an 8-bit RGB PNG with libpng.
//
// Each RGB565 component is widened by repeating its top bits (31 becomes 255), so the file's
// colours map back onto the display's pixels exactly.
// Left out: the palette indices behind the pixels: the file holds what the display shows,
// including the rows below a portrait picture.
// Called by: the headless runner at the end of a run, after the emulation thread has returned.
#include "shell/screenshot.h"

#include <png.h>

#include <cstdint>
#include <vector>

#include "platform/display.h"

namespace {
uint8_t Widen(unsigned value, int bits) { return static_cast<uint8_t>((value << (8 - bits)) | (value >> (2 * bits - 8))); }
}  // namespace

bool WriteScreenshot(const std::string& path, bool rotated, std::string& error) {
  std::vector<uint16_t> picture(kDisplayPixels);
  CopyLatestPicture(rotated, picture.data());
  std::vector<uint8_t> rgb;
  rgb.reserve(3 * picture.size());
  for (uint16_t pixel : picture) {
    rgb.push_back(Widen(pixel >> 11, 5));
    rgb.push_back(Widen((pixel >> 5) & 0x3F, 6));
    rgb.push_back(Widen(pixel & 0x1F, 5));
  }

  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = rotated ? kDisplayHeight : kDisplayWidth;
  image.height = rotated ? kDisplayWidth : kDisplayHeight;
  image.format = PNG_FORMAT_RGB;
  if (png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr) == 0) {
    error = "cannot write the screenshot " + path + ": " + image.message;
    png_image_free(&image);
    return false;
  }
  return true;
}
