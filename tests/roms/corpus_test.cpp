// corpus_test.cpp: real programs, compiled at build time with cc65 (the cc65 package's samples
// and our own programs in tests/programs/), run under the genuine ROMs (when present) and under
// the built-in ones. Each is held to what a user sees: the screen text, the VIC-II's mode,
// memory set-up and colours, and the SID when it plays. The expected results were taken from
// the genuine ROMs' run; both runs must show them.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "chips/io.h"
#include "core/machine.h"
#include "media/program_loader.h"
#include "sound/sid.h"
#include "support/kernal_call.h"

namespace {
struct Video {
  uint8_t control1, control2, memory, bank, border, background;
};

struct Program {
  const char* name;
  double seconds;                  // after RUN is typed
  std::vector<std::string> lines;  // shown in this order; a final '*' matches the start of a line
  Video video;
  bool plays = false;  // a SID voice is gated with a pitch set
};

bool LineMatches(const std::string& shown, const std::string& expected) {
  if (!expected.empty() && expected.back() == '*')
    return shown.compare(0, expected.size() - 1, expected, 0, expected.size() - 1) == 0;
  return shown == expected;
}

// The first expected line not found after the ones before it, or an empty string.
std::string MissingLine(const std::vector<std::string>& shown, const std::vector<std::string>& expected) {
  size_t row = 0;
  for (const std::string& line : expected) {
    while (row < shown.size() && !LineMatches(shown[row], line)) ++row;
    if (row == shown.size()) return line;
    ++row;
  }
  return "";
}

std::string Screen() {
  std::string text;
  for (const std::string& line : ScreenLines()) text += line + "\n";
  return text;
}

void RunProgram(RomSet set, const Program& program) {
  ASSERT_TRUE(BootToReady(set));
  ASSERT_EQ(LoadPrg((std::string(VORNCE_TEST_PROGRAMS) + "/" + program.name + ".prg").c_str()), 1) << program.name;
  TypeAndRun("", program.seconds);
}

void CheckProgram(RomSet set, const Program& program) {
  const std::string context = std::string(program.name) + " under the " + RomSetName(set) + " ROMs";
  EXPECT_EQ(MissingLine(ScreenLines(), program.lines), "") << context << "\n" << Screen();
  // Straight from the chips: the program may have switched the I/O area out at this moment.
  // $D011 bit 7 reads the raster line's bit 8, which depends on the moment of sampling.
  const Video shown = {static_cast<uint8_t>(IoRead(0xD011) & 0x7F), IoRead(0xD016), IoRead(0xD018), static_cast<uint8_t>(IoRead(0xDD00) & 3),
                       static_cast<uint8_t>(IoRead(0xD020) & 15), static_cast<uint8_t>(IoRead(0xD021) & 15)};
  EXPECT_EQ(shown.control1, program.video.control1) << context;
  EXPECT_EQ(shown.control2, program.video.control2) << context;
  EXPECT_EQ(shown.memory, program.video.memory) << context;
  EXPECT_EQ(shown.bank, program.video.bank) << context;
  EXPECT_EQ(shown.border, program.video.border) << context;
  EXPECT_EQ(shown.background, program.video.background) << context;
  bool plays = false;
  for (int voice = 0; voice < 3; ++voice)
    plays = plays || ((sidRegs[voice * 7 + 4] & 1) != 0 && (sidRegs[voice * 7] | sidRegs[voice * 7 + 1]) != 0);
  EXPECT_EQ(plays, program.plays) << context;
}

void RunCorpus(const std::vector<Program>& programs) {
  for (RomSet set : AvailableRomSets())
    for (const Program& program : programs) {
      RunProgram(set, program);
      CheckProgram(set, program);
    }
}

const std::string kBorder = "#--------------------------------------#";
}  // namespace

TEST(Corpus, TextSamplesShowTheSameScreens) {
  RunCorpus({
      {"hello", 5, {kBorder, "|             Hello world!             |", kBorder}, {0x1B, 0xA8, 0x17, 3, 0, 0}},
      {"sieve",
       5,
       {"Sieve benchmark - calculating primes", "between 2 and 16384", "Please wait patiently ...", "Time used: *",
        "Q to quit, any other key for list"},
       {0x1B, 0xA8, 0x17, 3, 14, 6}},
      {"ascii", 5, {"Type characters to see", "their hexadecimal code", "numbers - 'Q' quits:"}, {0x1B, 0xA8, 0x17, 3, 14, 6}},
      {"nachtm",
       5,
       {"#00:0*", "|       Wolfgang Amadeus Mozart        |", "|       \"Eine kleine Nachtmusik\"       |",
        "|               (KV 525)               |", kBorder, "|     Ported to the SID in 1987 by     |",
        "|         C Implementation by          |", "|       Press any key to quit...       |", kBorder},
       {0x1B, 0xA8, 0x17, 3, 0, 0},
       true},
      {"multidemo",
       5,
       {"Log: Loading extended memory driver", "Dbg: Searching for emdrivers", "Log: Opening directory failed",
        "Log: No extended memory driver found", "Log: Press any key..."},
       {0x1B, 0xA8, 0x17, 3, 14, 6}},
  });
}

TEST(Corpus, OurKernalToursShowTheGenuineResults) {
  RunCorpus({
      {"kernal_tour",
       5,
       {"KERNAL TOUR", "AXYBCDE", "HEL", "Q\"Q\"Q", "SCREEN 28 19", "CLOCK 4F1A00 000001", "GETIN00", "OPEN 01-0580",
        "AGAIN 01-02", "CHKIN 01-03", "LOAD3 01-09", "LOAD8 01-05", "                    PLOT 13 18",
        "7654321076543210765432107654321076543210", "7654321076543210765432107654321076543210", "END", "", "", "DONE"},
       {0x1B, 0xA8, 0x15, 3, 14, 6}},
      {"kernal_c_tour",
       5,
       {"c tour", "open 8,15: 0 st 0", "open file: 5 st 128", "load: 0", "          gotoxy", "x 16 y 8",
        "clock ticks", "", "ready."},
       {0x1B, 0xA8, 0x17, 3, 14, 6}},
  });
}

TEST(Corpus, GraphicsSamplesSetUpTheSameVideo) {
  // Their pictures move or are still being drawn: the video set-up is what must agree.
  RunCorpus({
      {"plasma", 5, {}, {0x1B, 0xA8, 0x8B, 0, 6, 6}},
      {"fire", 5, {}, {0x1B, 0xA8, 0x9B, 0, 0, 0}},
      {"mandelbrot", 5, {}, {0x3B, 0xA8, 0x49, 0, 14, 6}},
      {"tgidemo", 5, {}, {0x3B, 0xA8, 0x49, 0, 0, 6}},
  });
}
