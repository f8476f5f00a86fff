// headless_runner.h: the machine on its emulation thread without a window.
#pragma once

#include "shell/command_line.h"

// Runs the machine as the options say and returns the process exit status.
int RunHeadless(const LaunchOptions& options);
