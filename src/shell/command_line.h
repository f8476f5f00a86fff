// command_line.h: the options vornce is started with.
#pragma once

#include <string>

struct LaunchOptions {
  bool headless = false;
  bool showHelp = false;
  bool showVersion = false;
  std::string romFolder;      // --roms DIR; empty: $VORNCE_ROMS or the user's data folder
  bool builtinRoms = false;   // --builtin-roms: the built-in ROMs even where genuine ones are found
  double seconds = 0;         // --seconds S; 0: run until SIGINT or SIGTERM
  std::string typedText;      // --keybuf TEXT, with \n already turned into RETURN
  bool dumpScreen = false;    // --dump-screen
  std::string wavPath;        // --wav FILE.wav: the sound goes to this file; empty: no sound
  bool realtime = false;      // --realtime: paced at real speed by a silent sound output
  std::string screenshotPath; // --screenshot FILE.png; empty: none
  bool landscape = false;     // --landscape: start in the rotated layout
  std::string mediaFile;      // FILE: a .prg, .p00 or .t64 to load at READY, or a .crt to attach
  std::string loadStatePath;  // --load-state FILE: a snapshot restored once the machine runs
  std::string saveStatePath;  // --save-state FILE: a snapshot saved at the end
  int scale = 2;              // --scale N: the desktop window shows each display pixel N x N
};

// Fills options from the arguments; on a bad option returns false with the reason in error.
bool ParseCommandLine(int argc, const char* const* argv, LaunchOptions& options, std::string& error);

extern const char* const kUsageText;
