// command_line.cpp: parsing of vornce's options.
//
// Every option is checked here, before anything is loaded or started, so a typing error gives
// a message and a non-zero exit status rather than a half-started machine.
// Called by: the program's main function.
#include "shell/command_line.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

const char* const kUsageText =
    "usage: vornce [--roms DIR] [--builtin-roms] [--scale N] [FILE]   the desktop window\n"
    "       vornce --headless [options] [FILE]                        without a window\n"
    "  --scale N        show each display pixel N x N in the window (1-4, default 2)\n"
    "  FILE             a .prg, .p00 or .t64 program, loaded and RUN once BASIC is READY,\n"
    "                   or a .crt cartridge, attached with a reset\n"
    "  --roms DIR       folder with the basic, kernal and chargen ROM images\n"
    "                   (default: $VORNCE_ROMS, else ~/.local/share/vornce/roms);\n"
    "                   without images there VornCE runs its own built-in ROMs\n"
    "  --builtin-roms   run the built-in ROMs even where genuine images are found\n"
    "  --seconds S      stop after S emulated seconds (default: run until interrupted)\n"
    "  --keybuf TEXT    type TEXT once BASIC is READY; \\n stands for RETURN\n"
    "  --dump-screen    print the text screen at the end\n"
    "  --wav FILE       write the sound to FILE (8-bit mono WAV, 22050 Hz)\n"
    "  --realtime       run at the real machine's speed (not with --wav)\n"
    "  --screenshot F   write the picture as the PNG file F at the end\n"
    "  --landscape      start with the picture rotated (320 x 240)\n"
    "  --load-state F   restore the snapshot F once the machine runs\n"
    "  --save-state F   save a snapshot to F at the end\n"
    "  --help           show this text\n"
    "  --version        print the program's version\n";

namespace {
// The longest run a user can ask for: past this, counting the cycles would lose precision.
constexpr double kMaxSeconds = 1e9;

bool ParseSeconds(const char* text, double& seconds) {
  char* end = nullptr;
  errno = 0;
  seconds = std::strtod(text, &end);
  return errno == 0 && end != text && *end == '\0' && std::isfinite(seconds) && seconds > 0 &&
         seconds <= kMaxSeconds;
}

// "\n" (backslash, n) and a real newline both stand for RETURN; "\\" is one backslash.
std::string UnescapeTypedText(const std::string& text) {
  std::string result;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == 'n' || text[i + 1] == '\\')) {
      result += text[i + 1] == 'n' ? '\n' : '\\';
      ++i;
    } else {
      result += text[i];
    }
  }
  return result;
}
}  // namespace

bool ParseCommandLine(int argc, const char* const* argv, LaunchOptions& options, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    const bool hasValue = i + 1 < argc;
    auto needsValue = [&]() {
      if (!hasValue) error = option + " needs a value";
      return hasValue;
    };
    if (option == "--headless") {
      options.headless = true;
    } else if (option == "--help" || option == "-h") {
      options.showHelp = true;
    } else if (option == "--version") {
      options.showVersion = true;
    } else if (option == "--dump-screen") {
      options.dumpScreen = true;
    } else if (option == "--wav") {
      if (!needsValue()) return false;
      options.wavPath = argv[++i];
      if (options.wavPath.empty()) {
        error = "--wav needs a file name";
        return false;
      }
    } else if (option == "--realtime") {
      options.realtime = true;
    } else if (option == "--landscape") {
      options.landscape = true;
    } else if (option == "--screenshot") {
      if (!needsValue()) return false;
      options.screenshotPath = argv[++i];
      if (options.screenshotPath.empty()) {
        error = "--screenshot needs a file name";
        return false;
      }
    } else if (option == "--builtin-roms") {
      options.builtinRoms = true;
    } else if (option == "--roms") {
      if (!needsValue()) return false;
      options.romFolder = argv[++i];
      if (options.romFolder.empty()) {
        error = "--roms needs a folder name";
        return false;
      }
    } else if (option == "--seconds") {
      if (!needsValue()) return false;
      if (!ParseSeconds(argv[++i], options.seconds)) {
        error = std::string("--seconds needs a positive number of seconds, not '") + argv[i] + "'";
        return false;
      }
    } else if (option == "--scale") {
      if (!needsValue()) return false;
      const std::string value = argv[++i];
      if (value.size() != 1 || value[0] < '1' || value[0] > '4') {
        error = "--scale needs a whole number from 1 to 4, not '" + value + "'";
        return false;
      }
      options.scale = value[0] - '0';
    } else if (option == "--keybuf") {
      if (!needsValue()) return false;
      options.typedText = UnescapeTypedText(argv[++i]);
    } else if (option == "--load-state" || option == "--save-state") {
      if (!needsValue()) return false;
      std::string& path = option == "--load-state" ? options.loadStatePath : options.saveStatePath;
      path = argv[++i];
      if (path.empty()) {
        error = option + " needs a file name";
        return false;
      }
    } else if (!option.empty() && option[0] != '-') {
      if (!options.mediaFile.empty()) {
        error = "only one file can be given, not both " + options.mediaFile + " and " + option;
        return false;
      }
      options.mediaFile = option;
    } else {
      error = "unknown option '" + option + "'";
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
