// desktop_main.cpp: vornce-desktop, the emulator in a Qt window; vornce starts it.
#include "platform/desktop/desktop_app.h"
#include "shell/headless_runner.h"
#include "shell/launch.h"

int main(int argc, char** argv) {
  LaunchOptions options;
  if (const int status = ReadLaunchOptions(argc, argv, options); status >= 0) return status;
  return options.headless ? RunHeadless(options) : RunDesktop(argc, argv, options);
}
