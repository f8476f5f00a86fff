// command_line.h: the options vornce is started with.
#pragma once

#include <string>

struct LaunchOptions {
  bool headless = false;
  bool showHelp = false;
  std::string romFolder;      // --roms DIR; empty: $VORNCE_ROMS or the user's data folder
  double seconds = 0;         // --seconds S; 0: run until SIGINT or SIGTERM
  std::string typedText;      // --keybuf TEXT, with \n already turned into RETURN
  bool dumpScreen = false;    // --dump-screen
};

// Fills options from the arguments; on a bad option returns false with the reason in error.
bool ParseCommandLine(int argc, const char* const* argv, LaunchOptions& options, std::string& error);

extern const char* const kUsageText;
