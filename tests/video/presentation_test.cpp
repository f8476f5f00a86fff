// presentation_test.cpp: the FrameBuffer on the display surface in both layouts, a suspended
// display, and status text.
#include "video/presentation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "core/machine.h"
#include "support/test_machine.h"
#include "video/palette.h"

TEST(Palette, HoldsTheDisplayPixelsOfTheSixteenColours) {
  const uint16_t expected[16] = {0x1082, 0xFFFF, 0xE208, 0x67FF, 0xE31C, 0x4708, 0x421C, 0xFFE8,
                                 0xE508, 0x9BA9, 0xFD14, 0x52AA, 0x8C51, 0xA7F4, 0xA51F, 0xC618};
  EXPECT_TRUE(std::equal(std::begin(expected), std::end(expected), palette565.begin()));
}

TEST(PresentFrame, PlacesThePictureInBothLayoutsAndNothingWhileSuspended) {
  PrepareTestMachine();
  ASSERT_EQ(GXOpenDisplay(nullptr, kGxFullScreen), 1);
  displayProperties = GXGetDisplayProperties();
  // Blue, with row 0 red from column 4 on, row 199 green, and a few marked pixels.
  std::fill_n(FrameBuffer, 64000, 6);
  std::fill_n(FrameBuffer, 320, 2);
  std::fill_n(FrameBuffer + 199 * 320, 320, 5);
  for (auto [column, index] : {std::pair{0, 1}, {1, 3}, {2, 4}, {3, 7}, {319, 8}}) FrameBuffer[column] = index;
  FrameBuffer[64000 - 1] = 9;

  struct Case { uint32_t landscape; bool turnedBack; int x, y; uint16_t pixel; };
  const Case cases[] = {
      {0, false, 0, 0, palette565[1]},   {0, false, 2, 0, palette565[7]},   {0, false, 239, 0, palette565[8]},
      {0, false, 5, 199, palette565[5]}, {0, false, 100, 319, 0},
      {1, false, 0, 319, palette565[1]}, {1, false, 199, 0, palette565[9]}, {1, false, 220, 100, palette565[0]},
      {1, true, 319, 199, palette565[9]}, {1, true, 3, 0, palette565[7]},   {1, true, 0, 239, palette565[0]},
      {0, false, 100, 319, palette565[0]},  // back from the rotated layout, the leftovers are blanked
  };
  std::vector<uint16_t> picture(kDisplayPixels);
  for (const Case& c : cases) {
    landscapeMode.store(c.landscape);
    ASSERT_EQ(PresentFrame(), 1);
    CopyLatestPicture(c.turnedBack, picture.data());
    EXPECT_EQ(picture[c.y * (c.turnedBack ? kDisplayHeight : kDisplayWidth) + c.x], c.pixel)
        << c.landscape << c.turnedBack << " " << c.x << ", " << c.y;
    if (c.landscape == 0) {
      EXPECT_EQ(std::count(picture.begin(), picture.begin() + 240, palette565[4]), 0) << "column 2 shows";
    }
  }

  const uint32_t frame = CopyLatestPicture(false, picture.data());
  GXSuspend();
  EXPECT_EQ(PresentFrame(), 0);
  EXPECT_EQ(CopyLatestPicture(false, picture.data()), frame);
  GXResume();
  EXPECT_EQ(PresentFrame(), 1);
  GXCloseDisplay();
  landscapeMode.store(0);
}

TEST(DrawText, WritesGlyphCellsAndDropsCellsOutsideTheGrid) {
  PrepareTestMachine();
  uint8_t glyphs[kCharRomSize] = {};
  std::fill_n(glyphs + 8, 8, 0xF0);   // A
  std::fill_n(glyphs + 16, 8, 0x81);  // B
  const uint8_t* const installed = CharRom;
  CharRom = glyphs;
  std::fill_n(FrameBuffer, kFrameBufferSize, 9);
  DrawText("AB", 0, 0, 1, 0);
  DrawText("ABC", 39, 24, 1, 0);
  CharRom = installed;
  for (int k = 0; k < 8; ++k) {
    EXPECT_EQ(std::string(FrameBuffer + 320 * k, FrameBuffer + 320 * k + 17),
              std::string("\1\1\1\1\0\0\0\0\1\0\0\0\0\0\0\1\11", 17)) << "line " << k;
  }
  EXPECT_EQ(FrameBuffer[64000 - 320 - 8], 1) << "A in the last cell";
  EXPECT_TRUE(std::all_of(FrameBuffer + 64000, FrameBuffer + kFrameBufferSize, [](uint8_t b) { return b == 9; }));
}

TEST(PresentDrawnFrame, UnwatchedFramesReachTheSurfaceOnlyAsTheLastOne) {
  PrepareTestMachine();
  ASSERT_EQ(GXOpenDisplay(nullptr, kGxFullScreen), 1);
  displayProperties = GXGetDisplayProperties();
  std::vector<uint16_t> picture(kDisplayPixels);
  for (bool watched : {true, false}) {
    SCOPED_TRACE(watched);
    picturesWatched.store(watched);
    for (uint8_t colour : {uint8_t{2}, uint8_t{5}}) {
      std::fill_n(FrameBuffer, 64000, colour);
      const uint32_t before = CopyLatestPicture(false, picture.data());
      PresentDrawnFrame();
      EXPECT_EQ(CopyLatestPicture(false, picture.data()), watched ? before + 1 : before);
    }
    // Nothing is left to present after a watched frame; the last unwatched one is drawn once.
    const uint32_t before = CopyLatestPicture(false, picture.data());
    PresentLatestFrame();
    PresentLatestFrame();
    EXPECT_EQ(CopyLatestPicture(false, picture.data()), watched ? before : before + 1);
    EXPECT_EQ(picture[0], palette565[5]);
    EXPECT_EQ(picture[kDisplayWidth * 199 + 239], palette565[5]);
  }
  picturesWatched.store(true);
  GXCloseDisplay();
}
