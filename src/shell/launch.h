// launch.h: what both programs do first with their command line.
#pragma once

#include "core/rom_images.h"
#include "shell/command_line.h"

// Parses the options; prints the usage for --help or a bad option. Returns -1 when the program
// should go on, else the exit status to end with.
int ReadLaunchOptions(int argc, char** argv, LaunchOptions& options);

// Installs the ROM images the options ask for and prints the notice and warnings on stderr; the
// caller reports an error its own way.
RomLoadResult SelectRomsFor(const LaunchOptions& options);
