// full_picture.cpp: the latest frame's 320 x 200 palette indices and border colour, kept whole.
//
// The handheld's layouts narrow or turn the picture; a desktop window shows it as a monitor
// would, with the border around it. The copy is taken under a lock once per presented frame, so a
// window on another thread only ever sees whole frames, and the border colour is the one in
// force when the frame was presented.
// Left out: the border's own raster effects (colour changes within a frame) and sprites in the
// border; the border is one colour per frame.
// Called by: the frame presentation (publish) and the desktop window (copy).
#include "video/full_picture.h"

#include <algorithm>
#include <mutex>

#include "chips/vic.h"
#include "core/machine.h"

namespace {
std::mutex pictureMutex;
uint8_t picture[kFullPicturePixels];  // guarded by pictureMutex, as are the two below
uint8_t pictureBorder = 0;
uint32_t pictureNumber = 0;
}  // namespace

void PublishFullPicture() {
  std::lock_guard<std::mutex> lock(pictureMutex);
  std::copy(FrameBuffer, FrameBuffer + kFullPicturePixels, picture);
  pictureBorder = borderColor & 15;
  ++pictureNumber;
}

uint32_t CopyFullPicture(uint8_t* indices, uint8_t& border) {
  std::lock_guard<std::mutex> lock(pictureMutex);
  std::copy(std::begin(picture), std::end(picture), indices);
  border = pictureBorder;
  return pictureNumber;
}
