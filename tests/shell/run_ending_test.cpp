// Tests of the headless runner as a test harness: real programs run through vornce end on their
// condition with the exit status, message, summary and screen a CI user relies on. Each test runs
// with the genuine ROMs (skipped when absent) and with the built-in ones.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "support/basic_program.h"
#include "support/run_vornce.h"
#include "support/temp_folder.h"

namespace {
enum class Roms { Genuine, Builtin };

std::string Program(const std::string& name) { return std::string(VORNCE_TEST_PROGRAMS) + "/" + name + ".prg"; }

double EmulatedSeconds(const std::string& err) {
  const size_t at = err.rfind("vornce: ");
  return at == std::string::npos ? -1 : std::atof(err.c_str() + at + 8);
}

std::string Row(const std::string& screen, int row) {
  size_t at = 0;
  for (int skipped = 0; skipped < row && at != std::string::npos; ++skipped) {
    at = screen.find('\n', at);
    if (at != std::string::npos) ++at;
  }
  return at == std::string::npos ? "" : screen.substr(at, screen.find('\n', at) - at);
}

bool IsPng(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  char signature[8] = {};
  file.read(signature, sizeof signature);
  return file.gcount() == 8 && std::string(signature + 1, 3) == "PNG";
}

class HarnessRun : public testing::TestWithParam<Roms> {
 protected:
  void SetUp() override {
    if (GetParam() == Roms::Builtin) {
      roms_ = "--builtin-roms";
      return;
    }
    const std::string folder = GenuineRomFolder();
    if (folder.empty()) GTEST_SKIP() << "the genuine ROM images are not in $VORNCE_ROMS or ../shared/roms";
    roms_ = "--roms " + folder;
  }

  // Runs vornce headless on these ROMs, with the screen dumped and a screenshot written.
  VornceRun Run(const std::string& arguments) {
    std::filesystem::remove(screenshot_);
    return RunVornce("--headless " + roms_ + " --dump-screen --screenshot " + screenshot_.string() + " " + arguments);
  }

  std::string roms_;
  TempFolder folder_;
  std::filesystem::path screenshot_ = folder_.path() / "end.png";
};

TEST_P(HarnessRun, UntilReadyEndsWithTheStatusMainLeftInSt) {
  for (const auto& [name, status] : {std::pair{"return_zero", 0}, std::pair{"return_three", 3}}) {
    const VornceRun run = Run("--until-ready --seconds 30 " + Program(name));
    EXPECT_EQ(run.exitStatus, status) << name << "\n" << run.err;
    EXPECT_NE(run.err.find("BASIC ready with ST = " + std::to_string(status) + ": exit status " + std::to_string(status)),
              std::string::npos) << run.err;
    EXPECT_GT(EmulatedSeconds(run.err), 0.0) << run.err;
    EXPECT_LT(EmulatedSeconds(run.err), 4.0) << run.err;
    // cc65's start-up switches to the lower-case set; BASIC's prompt reads "ready." there
    const std::string screen = run.out;
    EXPECT_NE(screen.find("\nready.\nrun\n\nready.\n"), std::string::npos) << screen;
    EXPECT_TRUE(IsPng(screenshot_)) << name;
  }
}

TEST_P(HarnessRun, EveryEndingGivesItsStatusMessageScreenAndPicture) {
  struct Case {
    std::string arguments;
    int status;
    std::string summary;  // how the summary line says the run ended
    std::string message;  // a line printed before the summary, or empty
    int row;              // a row of the dumped screen (-1: any row) ...
    std::string rowText;  // ... and what it reads
    std::string absent;   // what the screen must not show, or empty
  };
  const std::string loop = "--keybuf '10 GOTO 10\\nRUN\\n' ";
  const Case cases[] = {
      {"--until-ready --seconds 10 --keybuf '{clr}{down}{down}{rght}{rght}PRINT 7*6\\n'", 0,
       "BASIC ready with ST = 0: exit status 0", "", 2, "  PRINT 7*6", "**"},
      {"--until-text 42 --seconds 10 --keybuf 'PRINT 6*7\\n'", 0, "the screen showed \"42\": exit status 0", "", -1,
       " 42", ""},
      {"--until-text 43 --seconds 3.5 --keybuf 'PRINT 6*7\\n'", 124, "timed out: exit status 124",
       "timed out: 3.5 emulated seconds ran out before the screen showed \"43\"", -1, " 42", ""},
      {"--debugcart --seconds 10 --keybuf 'POKE 55295,7\\nPRINT 1\\n'", 7, "$D7FF written with 7: exit status 7", "",
       -1, "POKE 55295,7", "PRINT 1"},
      {"--debugcart --seconds 10 " + Program("exit_register"), 42, "$D7FF written with 42: exit status 42", "", -1,
       "RUN", "RUN\n\nREADY."},
      {"--until-ready --seconds 10 " + Program("exit_register"), 3, "BASIC ready with ST = 3: exit status 3", "", -1,
       "READY.", ""},
      {"--until-ready --seconds 10 --keybuf 'POKE 55295,7\\n'", 0, "BASIC ready with ST = 0: exit status 0", "", -1,
       "POKE 55295,7", ""},
      {"--until-ready --debugcart --seconds 4 " + loop, 124, "timed out: exit status 124",
       "timed out: 4 emulated seconds ran out before BASIC was ready again or a write to $D7FF", -1, "RUN", ""},
      {"--seconds 4 " + loop, 0, "--seconds reached: exit status 0", "", -1, "RUN", ""},
      {"--until-ready --seconds 10 " + Program("jam"), 125, "jam opcode at $C000: exit status 125",
       "Unrecognized CPU instruction was executed at $C000; the run ends there", -1, "RUN", "RUN\n\nREADY."},
  };
  for (const Case& c : cases) {
    const VornceRun run = Run(c.arguments);
    EXPECT_EQ(run.exitStatus, c.status) << c.arguments << "\n" << run.err;
    EXPECT_NE(run.err.find(c.summary + "\n"), std::string::npos) << c.arguments << "\n" << run.err;
    EXPECT_EQ(run.err.find("vornce: " + c.message + "\n") != std::string::npos, !c.message.empty())
        << c.arguments << "\n" << run.err;
    const bool rowMatches = c.row >= 0 ? Row(run.out, c.row) == c.rowText
                                       : run.out.find("\n" + c.rowText + "\n") != std::string::npos;
    EXPECT_TRUE(rowMatches) << c.arguments << "\n" << run.out;
    if (!c.absent.empty()) {
      EXPECT_EQ(run.out.find(c.absent), std::string::npos) << c.arguments << "\n" << run.out;
    }
    // no run ends in a reset: the start-up banner shows at most once, in either character set
    std::string lowerCase = run.out;
    std::transform(lowerCase.begin(), lowerCase.end(), lowerCase.begin(), [](unsigned char ch) { return std::tolower(ch); });
    EXPECT_EQ(lowerCase.find("64k ram system"), lowerCase.rfind("64k ram system")) << c.arguments << "\n" << run.out;
    EXPECT_TRUE(IsPng(screenshot_)) << c.arguments;
  }
}

TEST_P(HarnessRun, KeysReachTheAutostartedProgramsInputAndGetInOrder) {
  const std::vector<std::string> asks = {
      "10 INPUT \"NUMBER\";N",
      "20 GET K$:IF K$=\"\" THEN 20",
      "30 IF ASC(K$)<>133 THEN POKE 55295,255",
      "40 POKE 55295,N-900",
  };
  std::vector<std::string> flushesFirst = asks;
  flushesFirst.insert(flushesFirst.begin(), "5 FOR I=1 TO 300:NEXT:POKE 198,0");
  const std::string asksPath = folder_.Write("asks.prg", BasicProgram(asks));
  const std::string flushesPath = folder_.Write("flushes.prg", BasicProgram(flushesFirst));
  struct Case {
    std::string program;
    std::string delay;
    int status;
  } cases[] = {
      {asksPath, "", 44},
      {flushesPath, "", 124},  // the keys typed at RUN are flushed before INPUT asks
      {flushesPath, "--keybuf-delay 2", 44},
  };
  for (const Case& c : cases) {
    const VornceRun run = Run("--debugcart --seconds 6 --keybuf '944\\n{f1}' " + c.delay + " " + c.program);
    EXPECT_EQ(run.exitStatus, c.status) << c.program << " " << c.delay << "\n" << run.err;
    EXPECT_EQ(run.out.find("\nNUMBER? 944\n") != std::string::npos, c.status == 44) << run.out;
  }
}

INSTANTIATE_TEST_SUITE_P(RomSets, HarnessRun, testing::Values(Roms::Genuine, Roms::Builtin),
                         [](const testing::TestParamInfo<Roms>& info) {
                           return info.param == Roms::Genuine ? "Genuine" : "Builtin";
                         });

TEST(HarnessSignals, AStopSignalEndsAHarnessRunWithItsNumberAndAPlainRunWithZero) {
  struct Case {
    std::string arguments;
    std::string wrapper;
    int status;
    std::string summary;
  } cases[] = {
      {"--until-ready --keybuf '10 GOTO 10\\nRUN\\n'", "timeout --preserve-status -s TERM 1", 128 + 15,
       "stopped by SIGTERM: exit status 143"},
      {"--debugcart", "timeout --preserve-status -s INT 1", 128 + 2, "stopped by SIGINT: exit status 130"},
      {"", "timeout --preserve-status -s INT 1", 0, "stopped by SIGINT: exit status 0"},
  };
  for (const Case& c : cases) {
    const VornceRun run = RunVornce("--headless --builtin-roms --dump-screen " + c.arguments, c.wrapper);
    EXPECT_EQ(run.exitStatus, c.status) << c.arguments << "\n" << run.err;
    EXPECT_NE(run.err.find(c.summary), std::string::npos) << run.err;
    EXPECT_NE(run.out.find("\nREADY.\n"), std::string::npos) << c.arguments << "\n" << run.out;
  }
}
}  // namespace
