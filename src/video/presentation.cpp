// presentation.cpp: showing the finished frame.
//
// Nothing is shown yet; the layout flag already exists because the joystick directions follow it.
// Called by: the emulation thread for every drawn frame while the emulation runs.
#include "video/presentation.h"

std::atomic<uint32_t> landscapeMode{0};

int PresentFrame() { return 1; }
void DrawGlyph(int, int, int, uint8_t, uint8_t) {}
void DrawText(const char*, int, int, uint8_t, uint8_t) {}
