// launch.cpp: option handling shared by the headless and the desktop program.
// Called by: both main functions and both front ends.
#include "shell/launch.h"

#include <cstdio>
#include <string>

#include "shell/exit_status.h"

int ReadLaunchOptions(int argc, char** argv, LaunchOptions& options) {
  std::string error;
  if (!ParseCommandLine(argc, argv, options, error)) {
    std::fprintf(stderr, "vornce: %s\n%s", error.c_str(), UsageText().c_str());
    return kExitFileOrOptionProblem;
  }
  if (options.showHelp) {
    std::printf("%s", UsageText().c_str());
    return 0;
  }
  return -1;
}

RomLoadResult SelectRomsFor(const LaunchOptions& options) {
  const RomLoadResult roms = SelectRomImages(options.romFolder, options.builtinRoms);
  if (!roms.notice.empty()) std::fprintf(stderr, "vornce: %s\n", roms.notice.c_str());
  for (const auto& warning : roms.warnings) std::fprintf(stderr, "vornce: warning: %s\n", warning.c_str());
  return roms;
}
