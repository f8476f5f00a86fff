// Tests of option parsing beyond what the runner's own tests reach.
#include <gtest/gtest.h>

#include <vector>

#include "shell/command_line.h"

namespace {
bool Parse(std::vector<const char*> arguments, LaunchOptions& options, std::string& error) {
  arguments.insert(arguments.begin(), "vornce");
  return ParseCommandLine(static_cast<int>(arguments.size()), arguments.data(), options, error);
}
}  // namespace

TEST(CommandLine, TypedTextBecomesPetsciiWithReturnForBackslashN) {
  LaunchOptions options;
  std::string error;
  ASSERT_TRUE(Parse({"--headless", "--keybuf", "list\\n10 REM \\\\\\n{F1}", "--seconds", "2.5"}, options, error)) << error;
  EXPECT_EQ(options.typedText, "LIST\r10 REM \\\r\x85");
  EXPECT_DOUBLE_EQ(options.seconds, 2.5);
  EXPECT_TRUE(options.headless);
  EXPECT_FALSE(IsHarnessRun(options));
}

TEST(CommandLine, RejectsNonsenseDurations) {
  for (const char* seconds : {"0", "nan", "inf", "1e300", "3s", ""}) {
    LaunchOptions options;
    std::string error;
    EXPECT_FALSE(Parse({"--seconds", seconds}, options, error)) << seconds;
  }
}

TEST(CommandLine, HarnessOptionsSetTheirConditionsAndCheckTheirValues) {
  struct Case {
    std::vector<const char*> arguments;
    bool accepted;
    bool harness;
    std::string error;
  } cases[] = {
      {{"--until-ready"}, true, true, ""},
      {{"--debugcart"}, true, true, ""},
      {{"--until-text", "ALL 7 PASSED"}, true, true, ""},
      {{"--keybuf-delay", "0"}, true, false, ""},
      {{"--keybuf-delay", "1.5"}, true, false, ""},
      {{"--keybuf-delay", "-1"}, false, false, "--keybuf-delay needs a number of seconds, 0 or more, not '-1'"},
      {{"--until-text", ""}, false, false, "--until-text needs 1 to 40 printable ASCII characters"},
      {{"--until-text", "TAB\tTAB"}, false, false, "--until-text needs 1 to 40 printable ASCII characters"},
      {{"--until-text", "12345678901234567890123456789012345678901"}, false, false, "--until-text needs 1 to 40"},
      {{"--until-text"}, false, false, "--until-text needs a value"},
      {{"--wav", ""}, false, false, "--wav needs a file name"},
      {{"--wav", "a.wav", "--realtime"}, false, false, "--wav and --realtime cannot be combined"},
  };
  for (const Case& c : cases) {
    LaunchOptions options;
    std::string error;
    EXPECT_EQ(Parse(c.arguments, options, error), c.accepted) << c.arguments[0];
    EXPECT_EQ(error.rfind(c.error, 0), 0u) << c.arguments[0] << ": " << error;
    if (c.accepted) {
      EXPECT_EQ(IsHarnessRun(options), c.harness) << c.arguments[0];
    }
  }
  LaunchOptions options;
  std::string error;
  ASSERT_TRUE(Parse({"--keybuf-delay", "1.5", "--until-text", "ALL 7 PASSED", "-h"}, options, error));
  EXPECT_DOUBLE_EQ(options.keybufDelay, 1.5);
  EXPECT_EQ(options.untilText, "ALL 7 PASSED");
  EXPECT_TRUE(options.showHelp);
}
