// command_line.cpp: parsing of vornce's options.
//
// Every option is checked here, before anything is loaded or started, so a typing error gives
// a message and a non-zero exit status rather than a half-started machine. The option table is
// the one list of options: the parser looks names up in it and --help prints it.
// Called by: the program's main function.
#include "shell/command_line.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "shell/typed_text.h"

namespace {
// The longest run a user can ask for: past this, counting the cycles would lose precision.
constexpr double kMaxSeconds = 1e9;
// The screen's width: a longer --until-text could never show on one line.
constexpr size_t kMaxUntilText = 40;
constexpr int kHelpColumn = 21;

// Fills in the option's value; on a bad value returns false with the reason in error, worded to
// follow the option's name ("needs a file name").
using ApplyOption = bool (*)(LaunchOptions& options, const std::string& value, std::string& error);

struct OptionEntry {
  const char* name;
  const char* valueName;  // nullptr: the option takes no value
  const char* help;       // lines after the first are indented to the help column
  ApplyOption apply;
};

template <bool LaunchOptions::*flag>
bool SetFlag(LaunchOptions& options, const std::string&, std::string&) {
  options.*flag = true;
  return true;
}

template <std::string LaunchOptions::*path>
bool SetFileName(LaunchOptions& options, const std::string& value, std::string& error) {
  if (value.empty()) {
    error = "needs a file name";
    return false;
  }
  options.*path = value;
  return true;
}

bool ParseSeconds(const std::string& text, bool zeroAllowed, double& seconds) {
  const char* start = text.c_str();
  char* end = nullptr;
  errno = 0;
  seconds = std::strtod(start, &end);
  return errno == 0 && end != start && *end == '\0' && std::isfinite(seconds) &&
         (seconds > 0 || (zeroAllowed && seconds == 0)) && seconds <= kMaxSeconds;
}

bool SetRomFolder(LaunchOptions& options, const std::string& value, std::string& error) {
  if (value.empty()) {
    error = "needs a folder name";
    return false;
  }
  options.romFolder = value;
  return true;
}

bool SetSeconds(LaunchOptions& options, const std::string& value, std::string& error) {
  if (ParseSeconds(value, false, options.seconds)) return true;
  error = "needs a positive number of seconds, not '" + value + "'";
  return false;
}

bool SetScale(LaunchOptions& options, const std::string& value, std::string& error) {
  if (value.size() != 1 || value[0] < '1' || value[0] > '4') {
    error = "needs a whole number from 1 to 4, not '" + value + "'";
    return false;
  }
  options.scale = value[0] - '0';
  return true;
}

bool SetTypedText(LaunchOptions& options, const std::string& value, std::string& error) {
  return TranslateTypedText(value, options.typedText, error);
}

bool SetKeybufDelay(LaunchOptions& options, const std::string& value, std::string& error) {
  if (ParseSeconds(value, true, options.keybufDelay)) return true;
  error = "needs a number of seconds, 0 or more, not '" + value + "'";
  return false;
}

bool SetUntilText(LaunchOptions& options, const std::string& value, std::string& error) {
  bool printable = !value.empty() && value.size() <= kMaxUntilText;
  for (char c : value) printable = printable && c >= ' ' && c <= '~';
  if (!printable) {
    error = "needs 1 to 40 printable ASCII characters, as one line of the screen shows them";
    return false;
  }
  options.untilText = value;
  return true;
}

constexpr OptionEntry kOptions[] = {
    {"--headless", nullptr, "run without a window (the options below are for this runner)",
     SetFlag<&LaunchOptions::headless>},
    {"--scale", "N", "the window's picture scale, 1-4 (default: the last one used, at first 2)", SetScale},
    {"--roms", "DIR",
     "folder with the basic, kernal and chargen ROM images\n"
     "(default: $VORNCE_ROMS, else ~/.local/share/vornce/roms);\n"
     "without images there VornCE runs its own built-in ROMs",
     SetRomFolder},
    {"--builtin-roms", nullptr, "run the built-in ROMs even where genuine images are found",
     SetFlag<&LaunchOptions::builtinRoms>},
    {"--seconds", "S", "stop after S emulated seconds (default: run until interrupted)", SetSeconds},
    {"--keybuf", "TEXT",
     "type TEXT: into FILE's program once it has taken its RUN, else at\n"
     "READY; \\n is RETURN, and {clr} {home} {up} {down} {left} {rght}\n"
     "{rvon} {rvof} {inst} {del} {return} {f1}-{f8} {blk} {wht} {red}\n"
     "{cyn} {pur} {grn} {blu} {yel} {orng} {brn} {lred} {gry1} {gry2}\n"
     "{lgrn} {lblu} {gry3} and {$xx} (any PETSCII code) name keys",
     SetTypedText},
    {"--keybuf-delay", "S", "start the typing S emulated seconds later than it would start",
     SetKeybufDelay},
    {"--until-ready", nullptr,
     "end as soon as BASIC waits at READY again, once FILE's program has\n"
     "ended (without FILE: once the --keybuf text has been carried out);\n"
     "the exit status is the KERNAL's ST ($90), where cc65 leaves main's\n"
     "return value",
     SetFlag<&LaunchOptions::untilReady>},
    {"--until-text", "TEXT", "end with status 0 as soon as a line of the screen shows TEXT", SetUntilText},
    {"--debugcart", nullptr, "a write to $D7FF ends the run with the written value as status",
     SetFlag<&LaunchOptions::debugCart>},
    {"--dump-screen", nullptr, "print the text screen at the end", SetFlag<&LaunchOptions::dumpScreen>},
    {"--screenshot", "F", "write the picture as the PNG file F at the end",
     SetFileName<&LaunchOptions::screenshotPath>},
    {"--landscape", nullptr, "start with the picture rotated (320 x 240)", SetFlag<&LaunchOptions::landscape>},
    {"--wav", "FILE", "write the sound to FILE (8-bit mono WAV, 22050 Hz)", SetFileName<&LaunchOptions::wavPath>},
    {"--realtime", nullptr, "run at the real machine's speed (not with --wav)", SetFlag<&LaunchOptions::realtime>},
    {"--disk", "FILE.d64", "attach the disk image to drive 8 without starting anything",
     SetFileName<&LaunchOptions::diskFile>},
    {"--load-state", "F", "restore the snapshot F once the machine runs", SetFileName<&LaunchOptions::loadStatePath>},
    {"--save-state", "F", "save a snapshot to F at the end", SetFileName<&LaunchOptions::saveStatePath>},
    {"--help", nullptr, "show this text (also -h)", SetFlag<&LaunchOptions::showHelp>},
    {"--version", nullptr, "print the program's version", SetFlag<&LaunchOptions::showVersion>},
};

const OptionEntry* FindOption(const std::string& name) {
  const std::string wanted = name == "-h" ? "--help" : name;
  for (const OptionEntry& option : kOptions) {
    if (wanted == option.name) return &option;
  }
  return nullptr;
}

void AppendHelpLine(std::string& text, const std::string& head, const char* help) {
  std::string line = "  " + head;
  line.resize(kHelpColumn, ' ');
  for (const char* c = help; *c != '\0'; ++c) {
    line += *c;
    if (*c == '\n') line.append(kHelpColumn, ' ');
  }
  text += line + "\n";
}
}  // namespace

bool IsHarnessRun(const LaunchOptions& options) {
  return options.untilReady || !options.untilText.empty() || options.debugCart;
}

bool ParseCommandLine(int argc, const char* const* argv, LaunchOptions& options, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (!argument.empty() && argument[0] != '-') {
      if (!options.mediaFile.empty()) {
        error = "only one file can be given, not both " + options.mediaFile + " and " + argument;
        return false;
      }
      options.mediaFile = argument;
      continue;
    }
    const OptionEntry* option = FindOption(argument);
    if (option == nullptr) {
      error = "unknown option '" + argument + "'";
      return false;
    }
    std::string value;
    if (option->valueName != nullptr) {
      if (i + 1 >= argc) {
        error = argument + " needs a value";
        return false;
      }
      value = argv[++i];
    }
    if (!option->apply(options, value, error)) {
      error = argument + " " + error;
      return false;
    }
  }
  // A WAV file takes every block at once, so a run writing one cannot also keep real time.
  if (options.realtime && !options.wavPath.empty()) {
    error = "--wav and --realtime cannot be combined";
    return false;
  }
  return true;
}

std::string UsageText() {
  std::string text =
      "usage: vornce [--roms DIR] [--builtin-roms] [--scale N] [FILE]   the desktop window\n"
      "       vornce --headless [options] [FILE]                        without a window\n";
  AppendHelpLine(text, "FILE",
                 "a .prg, .p00 or .t64 program, loaded and RUN once BASIC is READY,\n"
                 "a .crt cartridge, attached with a reset, or a .d64 disk image,\n"
                 "attached to drive 8 with its first program loaded and RUN");
  for (const OptionEntry& option : kOptions) {
    AppendHelpLine(text, std::string(option.name) + (option.valueName != nullptr ? std::string(" ") + option.valueName : ""),
                   option.help);
  }
  text +=
      "exit status of a headless run: 0 when it ended as asked; ST with --until-ready and the\n"
      "written value with --debugcart (0-255); 2 for a file or option problem; 124 when --seconds\n"
      "ran out first in a run with --until-ready, --until-text or --debugcart; 125 when such a run\n"
      "met a jam opcode; 128 + the signal's number when SIGINT or SIGTERM ended such a run\n";
  return text;
}
