// raster_test.cpp: programs that set up each display mode, window, scroll and bank, checked on
// the pixels of the first drawn frame.
#include "video/raster.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/machine.h"
#include "video/vic_program.h"

namespace {
uint8_t testCharRom[kCharRomSize];

// Screen at $0400 with codes $01, $01, $C1 in colours 10, 2, 5 and $01 in colour 1 at the start
// of row 24; glyphs and bitmap at $2000 (glyph 1 and bitmap cell 1: $E4 on every line, bitmap
// cell 0 line 0: $1B); bank 1 and 2 screens with code $01; glyph 1 of the ROM: $3C.
void BuildScene() {
  std::fill_n(Ram + 0x0400, 1000, 0x20);
  std::fill_n(Ram + 0x2000, 0x2000, 0);
  Ram[0x0400] = Ram[0x0401] = 0x01;
  Ram[0x0402] = 0xC1;
  Ram[0x07C0] = 0x01;
  ColorRam[0] = 10;
  ColorRam[1] = 2;
  ColorRam[2] = 5;
  ColorRam[960] = 1;
  Ram[0x2000] = 0x1B;
  std::fill_n(Ram + 0x2008, 8, 0xE4);
  Ram[0x4400] = Ram[0x8400] = 0x01;
  Ram[0x6008] = 0x81;
  Ram[0x5008] = 0xFF;
  std::fill(std::begin(testCharRom), std::end(testCharRom), 0);
  testCharRom[0] = 0x01;
  testCharRom[8] = 0x3C;
  CharRom = testCharRom;
  std::fill_n(FrameBuffer, kFrameBufferSize, 0);
  std::fill_n(FrameBuffer + 64000, kFrameBufferSize - 64000, 0x5A);
}

struct Case {
  const char* name;
  std::vector<ProgramStep> steps;
  std::vector<PixelRun> expected;
};

TEST(RenderRasterLine, DrawsEachModeWindowScrollAndBankAsProgrammed) {
  const std::vector<ProgramStep> common = {{0xD020, 0x0E}, {0xD021, 6}, {0xD022, 3}, {0xD023, 4}, {0xD024, 7},
                                           {0xD011, 0x1B}, {0xD016, 0x08}, {0xD018, 0x18}, {0xDD00, 0x03}};
  const Case cases[] = {
      {"standard text", {}, {{0, 0, "AAA66A662226626666666666"}, {199, 0, "11166166"}}},
      {"multicolour text, colours below 8 as hires", {{0xD016, 0x18}}, {{0, 0, "224433662226626666666666"}}},
      {"extended background, $C1 on $D024", {{0xD011, 0x5B}}, {{0, 0, "AAA66A662226626655577577"}}},
      {"standard bitmap", {{0xD011, 0x3B}}, {{0, 0, "111001000001101111111111"}}},
      {"multicolour bitmap", {{0xD011, 0x3B}, {0xD016, 0x18}}, {{0, 0, "660011AA2211006666666666"}}},
      {"extended with bitmap is border", {{0xD011, 0x7B}}, {{0, 0, "EEEEEEEE"}}},
      {"extended with multicolour is border", {{0xD011, 0x5B}, {0xD016, 0x18}}, {{100, 300, "EEEEEEEE"}}},
      {"display off is border", {{0xD011, 0x0B}}, {{0, 0, "EEEEEEEE"}, {199, 312, "EEEEEEEE"}}},
      {"YSCROLL 4 starts one line late", {{0xD011, 0x1C}}, {{0, 0, "66666666"}, {1, 0, "AAA66A66"}}},
      {"YSCROLL 0 ends three lines early", {{0xD011, 0x18}}, {{196, 0, "11166166"}, {197, 0, "66666666"}}},
      {"24 rows", {{0xD011, 0x13}}, {{3, 0, "EEEEEEEE"}, {4, 0, "AAA66A66"}, {195, 0, "11166166"}, {196, 0, "EEEEEEEE"}}},
      {"38 columns", {{0xD016, 0x00}}, {{0, 0, "EEEEEEE6"}, {0, 312, "6EEEEEEE"}}},
      {"XSCROLL 7", {{0xD016, 0x0F}}, {{0, 0, "EEEEEEEAAA66A6622"}}},
      {"bank 1", {{0xDD00, 0x02}}, {{0, 0, "A666666A"}}},
      {"bank 1 at $1000 is RAM", {{0xDD00, 0x02}, {0xD018, 0x14}}, {{0, 0, "AAAAAAAA"}}},
      {"bank 0 at $1000 is the ROM", {{0xD018, 0x14}}, {{0, 0, "66AAAA66"}}},
      {"bank 2 at $1000 is the ROM", {{0xDD00, 0x01}, {0xD018, 0x14}}, {{0, 0, "66AAAA66"}}},
      {"matrix in the ROM window", {{0xD018, 0x48}}, {{0, 0, "AAA66A6666622622"}}},
  };
  for (const Case& c : cases) {
    std::vector<ProgramStep> steps = common;
    steps.insert(steps.end(), c.steps.begin(), c.steps.end());
    PrepareProgram(steps);
    BuildScene();
    RunFirstDrawnFrame();
    for (const PixelRun& run : c.expected) {
      EXPECT_EQ(FramePixels(run), run.pixels) << c.name << " at row " << run.row << ", column " << run.column;
    }
    EXPECT_TRUE(std::all_of(FrameBuffer + 64000, FrameBuffer + kFrameBufferSize, [](uint8_t b) { return b == 0x5A; }))
        << c.name << ": lines past 249 are not drawn";
  }
}
}  // namespace
