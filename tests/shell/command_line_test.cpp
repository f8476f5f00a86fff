// Tests of option parsing beyond what the runner's own tests reach.
#include <gtest/gtest.h>

#include "shell/command_line.h"

TEST(CommandLine, TypedTextTurnsBackslashNIntoReturn) {
  const char* argv[] = {"vornce", "--headless", "--keybuf", "LIST\\n10 REM \\\\\\n", "--seconds", "2.5"};
  LaunchOptions options;
  std::string error;
  ASSERT_TRUE(ParseCommandLine(6, argv, options, error)) << error;
  EXPECT_EQ(options.typedText, "LIST\n10 REM \\\n");
  EXPECT_DOUBLE_EQ(options.seconds, 2.5);
  EXPECT_TRUE(options.headless);
}

TEST(CommandLine, RejectsNonsenseDurations) {
  for (const char* seconds : {"0", "nan", "inf", "1e300", "3s", ""}) {
    const char* argv[] = {"vornce", "--seconds", seconds};
    LaunchOptions options;
    std::string error;
    EXPECT_FALSE(ParseCommandLine(3, argv, options, error)) << seconds;
  }
}
