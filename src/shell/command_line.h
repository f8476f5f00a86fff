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
  std::string typedText;      // --keybuf TEXT, as the PETSCII codes to type
  double keybufDelay = 0;     // --keybuf-delay S: emulated seconds to wait before typing starts
  bool untilReady = false;    // --until-ready: end once BASIC waits at its prompt again
  std::string untilText;      // --until-text TEXT: end once the screen shows TEXT; empty: no
  bool debugCart = false;     // --debugcart: a write to $D7FF ends the run with that status
  bool dumpScreen = false;    // --dump-screen
  std::string wavPath;        // --wav FILE.wav: the sound goes to this file; empty: no sound
  bool realtime = false;      // --realtime: paced at real speed by a silent sound output
  std::string screenshotPath; // --screenshot FILE.png; empty: none
  bool landscape = false;     // --landscape: start in the rotated layout
  std::string mediaFile;      // FILE: a .prg, .p00 or .t64 to load at READY, a .crt to attach, or a
                              // .d64 to attach to drive 8 and start its first program
  std::string diskFile;       // --disk FILE.d64: attached to drive 8, nothing started
  std::string loadStatePath;  // --load-state FILE: a snapshot restored once the machine runs
  std::string saveStatePath;  // --save-state FILE: a snapshot saved at the end
  int scale = 0;              // --scale N: the desktop window shows each display pixel N x N;
                              // 0: the scale used last (2 at first)
};

// A test harness run: one that ends on a condition of its own (--until-ready, --until-text) or
// through the exit register (--debugcart), with an exit status that tells how the program did.
bool IsHarnessRun(const LaunchOptions& options);

// Fills options from the arguments; on a bad option returns false with the reason in error.
bool ParseCommandLine(int argc, const char* const* argv, LaunchOptions& options, std::string& error);

// The --help text: every option with what it does, and the exit statuses.
std::string UsageText();
