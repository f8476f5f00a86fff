// sprites_test.cpp: programs that place sprites, checked on the pixels of the first drawn frame.
#include "video/sprites.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/machine.h"
#include "machine/scheduler.h"
#include "video/vic_program.h"

namespace {
// Sprites 0 and 1 point at $3000: row 0 is $E4 $00 $01, row 20 is $80 $00 $00, the rest clear.
void BuildSpriteShape() {
  std::fill_n(Ram + 0x3000, 64, 0);
  Ram[0x3000] = 0xE4;
  Ram[0x3002] = 0x01;
  Ram[0x303C] = 0x80;
  Ram[0x07F8] = Ram[0x07F9] = 0xC0;
}

struct Case {
  const char* name;
  bool accurate;
  std::vector<ProgramStep> steps;
  std::vector<PixelRun> expected;
  int loopFrom = -1;
};

TEST(RenderSprites, DrawsSpritesAsProgrammedOverABorderColouredPicture) {
  // The display is off, so every line is border (14); sprite 0 paints $F1 (1), sprite 1 2.
  const std::vector<ProgramStep> common = {{0xD020, 0x0E}, {0xD011, 0x0B}, {0xD018, 0x18}, {0xDD00, 0x03},
                                           {0xD025, 3},    {0xD026, 4},    {0xD027, 0xF1}, {0xD028, 2},
                                           {0xD015, 1},    {0xD000, 24},   {0xD001, 50}};
  const Case cases[] = {
      {"top-left corner", true, {}, {{0, 0, "111EE1EEEEEEEEEEEEEEEEE1E"}, {1, 0, "EEEEEEEE"}, {20, 0, "1EEEEEEE"}}},
      {"X expansion", true, {{0xD01D, 1}}, {{0, 0, "111111EEEE11EEEE"}, {0, 44, "EE11E"}}},
      {"Y expansion", true, {{0xD017, 1}}, {{1, 0, "111EE1EE"}, {2, 0, "EEEEEEEE"}, {40, 0, "1E"}, {41, 0, "1E"}}},
      {"multicolour", true, {{0xD01C, 1}}, {{0, 0, "441133EEEEEEEEEEEEEEEE33E"}}},
      {"multicolour, X expansion", true, {{0xD01C, 1}, {0xD01D, 1}}, {{0, 0, "444411113333EEEE"}, {0, 44, "3333E"}}},
      {"sprite 0 in front of sprite 1", true, {{0xD015, 3}, {0xD002, 24}, {0xD003, 50}}, {{0, 0, "111EE1EE"}}},
      {"X 0 is off the left edge", true, {{0xD000, 0}}, {{0, 0, "EEEEEEEE"}}},
      {"X 0 expanded shows columns 12-23", true, {{0xD000, 0}, {0xD01D, 1}}, {{0, 0, "EEEEEEEEEEEEEEEEEEEEEE11E"}}},
      {"X bit 8", true, {{0xD000, 16}, {0xD010, 1}}, {{0, 247, "E111EE1EE"}}},
      {"fast mode, Y expanded at 240", false, {{0xD001, 240}, {0xD017, 1}},
       {{190, 0, "111EE1EE"}, {191, 0, "111EE1EE"}, {0, 0, "EEEEEEEE"}}},
      {"Y 238 is drawn by the last band", true, {{0xD001, 238}}, {{188, 0, "111EE1EE"}}},
      {"Y 239 is past the last band", true, {{0xD001, 239}}, {{189, 0, "EEEEEEEE"}}},
      {"moved at line 100: both positions", true,
       {{kWaitForLine, 220}, {0xD001, 60}, {kWaitForLine, 100}, {0xD001, 150}},
       {{10, 0, "111EE1EE"}, {100, 0, "111EE1EE"}, {50, 0, "EEEEEEEE"}}, 11},
  };
  for (const Case& c : cases) {
    std::vector<ProgramStep> steps = common;
    steps.insert(steps.end(), c.steps.begin(), c.steps.end());
    PrepareProgram(steps, c.loopFrom);
    accurateSprites.store(c.accurate ? 1 : 0);
    BuildSpriteShape();
    RunFirstDrawnFrame();
    for (const PixelRun& run : c.expected) {
      EXPECT_EQ(FramePixels(run), run.pixels) << c.name << " at row " << run.row << ", column " << run.column;
    }
  }
  accurateSprites.store(1);
}
}  // namespace
