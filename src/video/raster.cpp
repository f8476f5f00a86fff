// raster.cpp: drawing of one raster line.
//
// Nothing is drawn yet: the FrameBuffer keeps what was last written to it.
// Called by: the emulation thread at the end of every line of a drawn frame.
#include "video/raster.h"

void RenderRasterLine() {}
