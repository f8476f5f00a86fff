// main.cpp: the vornce program: parses the options and starts the chosen front end.
#include <cstdio>
#include <string>

#include "shell/command_line.h"
#include "shell/headless_runner.h"

int main(int argc, char** argv) {
  LaunchOptions options;
  std::string error;
  if (!ParseCommandLine(argc, argv, options, error)) {
    std::fprintf(stderr, "vornce: %s\n%s", error.c_str(), kUsageText);
    return 1;
  }
  if (options.showHelp) {
    std::printf("%s", kUsageText);
    return 0;
  }
  if (!options.headless) {
    std::fprintf(stderr, "vornce: this build has no desktop window yet; run it with --headless\n%s", kUsageText);
    return 1;
  }
  return RunHeadless(options);
}
