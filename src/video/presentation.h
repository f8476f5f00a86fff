// presentation.h: showing the finished FrameBuffer on the display.
#pragma once

#include <atomic>
#include <cstdint>

extern std::atomic<uint32_t> landscapeMode;  // nonzero while the picture is shown rotated

int PresentFrame();
