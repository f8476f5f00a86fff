// full_picture.h: the whole C64 picture, unnarrowed, with its border colour, for front ends that
// show it as a desktop window does.
#pragma once

#include <cstdint>

inline constexpr int kFullPictureWidth = 320;
inline constexpr int kFullPictureHeight = 200;
inline constexpr int kFullPicturePixels = kFullPictureWidth * kFullPictureHeight;

// Emulation thread, for every presented frame: keeps a copy of the FrameBuffer and the border
// colour.
void PublishFullPicture();
// Any thread: the latest published picture as palette indices (kFullPicturePixels, row by row)
// and its border colour. Returns the frame's number, 0 while none has been published.
uint32_t CopyFullPicture(uint8_t* indices, uint8_t& border);
