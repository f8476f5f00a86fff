// launch.cpp: option handling shared by the headless and the desktop program.
//
// VORNCE_VERSION is the CMake project's version, handed in by the build, so the programs, the
// package and the man page all show the same number.
// Called by: both main functions and both front ends.
#include "shell/launch.h"

#include <cstdio>
#include <filesystem>
#include <string>

#include "shell/exit_status.h"

int ReadLaunchOptions(int argc, char** argv, LaunchOptions& options) {
  std::string error;
  if (!ParseCommandLine(argc, argv, options, error)) {
    std::fprintf(stderr, "vornce: %s\n%s", error.c_str(), UsageText().c_str());
    return kExitFileOrOptionProblem;
  }
  if (options.showHelp) {
    std::printf("VornCE %s, a Commodore 64 emulator\n%s", VORNCE_VERSION, UsageText().c_str());
    return 0;
  }
  if (options.showVersion) {
    const std::string program = argc > 0 ? std::filesystem::path(argv[0]).filename().string() : "vornce";
    std::printf("%s %s\n", program.c_str(), VORNCE_VERSION);
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
