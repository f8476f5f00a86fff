// launch.cpp: option handling shared by the headless and the desktop program.
// Called by: both main functions.
#include "shell/launch.h"

#include <cstdio>
#include <string>

int ReadLaunchOptions(int argc, char** argv, LaunchOptions& options) {
  std::string error;
  if (!ParseCommandLine(argc, argv, options, error)) {
    std::fprintf(stderr, "vornce: %s\n%s", error.c_str(), kUsageText);
    return 1;
  }
  if (options.showHelp) {
    std::printf("%s", kUsageText);
    return 0;
  }
  return -1;
}
