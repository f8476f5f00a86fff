// screenshot.h: the picture a user sees, saved as a PNG file.
#pragma once

#include <string>

// Writes the latest presented frame as the user sees it: portrait 240 x 320, or rotated 320 x 240
// with the C64 picture upright. Returns false with the reason in error when the file cannot be
// written.
bool WriteScreenshot(const std::string& path, bool rotated, std::string& error);
