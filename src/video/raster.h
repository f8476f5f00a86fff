// raster.h: drawing of one raster line into the FrameBuffer.
#pragma once

void RenderRasterLine();
