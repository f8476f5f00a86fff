// sprites.h: drawing of the sprites over finished raster lines.
#pragma once

#include <cstdint>

// line: the raster line that has just been drawn, a multiple of 21 (accurate mode: only the
// sprites whose last line lies 64 to 113 lines above are drawn), or kWholeFrameSprites (fast mode:
// every enabled sprite).
void RenderSprites(int line);

// One sprite of 21 rows of 3 bytes at dataAddress in Ram, its top-left pixel at FrameBuffer
// column x0, row y0; the expansions are 0 or 1. Pixels outside the 320 x 200 picture are dropped.
void DrawHiresSprite(uint8_t colour, uint16_t dataAddress, int xExpand, int yExpand, int x0, int y0);
void DrawMulticolourSprite(uint8_t colour, uint8_t multicolour0, uint8_t multicolour1, uint16_t dataAddress,
                           int xExpand, int yExpand, int x0, int y0);
