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
    "usage: vornce --headless [options]\n"
    "  --roms DIR       folder with the basic, kernal and chargen ROM images\n"
    "                   (default: $VORNCE_ROMS, else ~/.local/share/vornce/roms)\n"
    "  --seconds S      stop after S emulated seconds (default: run until interrupted)\n"
    "  --keybuf TEXT    type TEXT once BASIC is READY; \\n stands for RETURN\n"
    "  --dump-screen    print the text screen at the end\n"
    "  --help           show this text\n";

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
    } else if (option == "--dump-screen") {
      options.dumpScreen = true;
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
    } else if (option == "--keybuf") {
      if (!needsValue()) return false;
      options.typedText = UnescapeTypedText(argv[++i]);
    } else {
      error = "unknown option '" + option + "'";
      return false;
    }
  }
  return true;
}
