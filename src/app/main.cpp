// main.cpp: the vornce program: the headless runner, or the desktop window started in its place.
//
// VORNCE_INSTALLED_DESKTOP_PATH is where the install rules put vornce-desktop, relative to the
// folder they put vornce in; in a build folder the two programs sit side by side.
#include <cstdio>

#include "platform/sibling_program.h"
#include "shell/headless_runner.h"
#include "shell/launch.h"

int main(int argc, char** argv) {
  LaunchOptions options;
  if (const int status = ReadLaunchOptions(argc, argv, options); status >= 0) return status;
  if (options.headless) return RunHeadless(options);
  ExecSiblingProgram({VORNCE_INSTALLED_DESKTOP_PATH, "vornce-desktop"}, argv);
  std::fprintf(stderr, "vornce: cannot start the desktop window (vornce-desktop); use --headless\n");
  return 1;
}
