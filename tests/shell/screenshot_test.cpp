// screenshot_test.cpp: the READY screen of the genuine ROMs in both layouts, read back from the
// PNG that --screenshot writes and compared pixel by pixel.
#include <gtest/gtest.h>
#include <png.h>

#include <string>
#include <vector>

#include "core/machine.h"
#include "core/rom_images.h"
#include "platform/display.h"
#include "support/run_vornce.h"
#include "support/temp_folder.h"
#include "video/palette.h"

namespace {
constexpr uint8_t kBlue = 6;
constexpr uint8_t kLightBlue = 14;

// The PNG as RGB565 pixels; empty when it cannot be read.
std::vector<uint16_t> ReadPng(const std::string& path, unsigned& width, unsigned& height) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_file(&image, path.c_str()) == 0) return {};
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
  if (png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr) == 0) return {};
  width = image.width;
  height = image.height;
  std::vector<uint16_t> pixels;
  for (size_t i = 0; i + 2 < rgb.size(); i += 3) {
    pixels.push_back(static_cast<uint16_t>(((rgb[i] >> 3) << 11) | ((rgb[i + 1] >> 2) << 5) | (rgb[i + 2] >> 3)));
  }
  return pixels;
}

// The palette index of picture pixel (x, y) on the given text lines, drawn with the character
// ROM in light blue on blue, with the 38-column border when narrow.
uint8_t ExpectedIndex(const std::vector<std::string>& lines, bool narrow, int x, int y) {
  if (narrow && (x < 7 || x >= 313)) return kLightBlue;
  const std::string& line = lines[y / 8];
  const size_t column = static_cast<size_t>(x / 8);
  const unsigned char c = column < line.size() ? line[column] : ' ';
  const int screenCode = c >= 64 ? c - 64 : c;
  return (CharRom[screenCode * 8 + y % 8] & (0x80 >> (x % 8))) ? kLightBlue : kBlue;
}

TEST(Screenshot, ShowsTheReadyScreenAsTheUserSeesItInBothLayouts) {
  const std::string roms = GenuineRomFolder();
  if (roms.empty()) GTEST_SKIP() << "the genuine ROM images are not available";
  ASSERT_EQ(LoadRomImages(roms).status, RomLoadStatus::Loaded);
  const std::vector<std::string> ready = {"", "    **** COMMODORE 64 BASIC V2 ****", "",
                                          " 64K RAM SYSTEM  38911 BASIC BYTES FREE", "", "READY."};
  std::vector<std::string> narrowed = ready;
  narrowed.insert(narrowed.end(), {"POKE53270,0", "", "READY."});
  // The text rows known at the end (the cursor blinks in the next one); the rotated case also
  // narrows the window to 38 columns to show the border.
  struct Case { const char* options; bool rotated; const std::vector<std::string>& lines; };
  for (const Case& c : {Case{"", false, ready}, Case{"--landscape --keybuf 'POKE53270,0\\n'", true, narrowed}}) {
    TempFolder folder;
    const std::string png = (folder.path() / "screen.png").string();
    const VornceRun run = RunVornce("--headless --roms " + roms + " --seconds 3 --screenshot " + png + " " + c.options);
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    unsigned width = 0, height = 0;
    const std::vector<uint16_t> pixels = ReadPng(png, width, height);
    ASSERT_EQ(width * 1000 + height, c.rotated ? 320240u : 240320u) << c.options;
    int mismatches = 0;
    for (unsigned y = 0; y < height; ++y) {
      for (unsigned x = 0; x < width && (y < 8 * c.lines.size() || y >= 200); ++x) {
        // Portrait shows source column x + (x + 1) / 3; below the picture the display is black
        // when rotated, and as it was opened in portrait.
        const uint16_t expected = y >= 200 ? (c.rotated ? palette565[0] : 0)
                                           : palette565[ExpectedIndex(c.lines, c.rotated, c.rotated ? x : x + (x + 1) / 3, y)];
        if (pixels[y * width + x] != expected && ++mismatches <= 5) {
          ADD_FAILURE() << c.options << ": pixel " << x << ", " << y << " is " << std::hex << pixels[y * width + x];
        }
      }
    }
    EXPECT_EQ(mismatches, 0) << c.options;
  }
}

TEST(Screenshot, AFileThatCannotBeWrittenEndsTheRunWithAMessage) {
  const std::string roms = GenuineRomFolder();
  if (roms.empty()) GTEST_SKIP() << "the genuine ROM images are not available";
  const VornceRun run = RunVornce("--headless --roms " + roms + " --seconds 0.1 --screenshot /nonexistent/screen.png");
  EXPECT_EQ(run.exitStatus, 2);
  EXPECT_NE(run.err.find("cannot write the screenshot /nonexistent/screen.png"), std::string::npos) << run.err;
}
}  // namespace
