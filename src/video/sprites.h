// sprites.h: drawing of the sprites over finished raster lines.
#pragma once

// line: the raster line that just ended (accurate mode), or 255 for the whole frame.
void RenderSprites(int line);
