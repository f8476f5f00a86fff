// sprites.cpp: drawing of the sprites.
//
// Nothing is drawn yet.
// Called by: the emulation thread, per 21-line band (accurate mode) or once a frame (fast mode).
#include "video/sprites.h"

void RenderSprites(int) {}
