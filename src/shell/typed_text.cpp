// typed_text.cpp: the --keybuf text turned into PETSCII before anything runs.
//
// Printable ASCII up to '_' types as the key with the same code ('\' is the pound key, '^' the
// up arrow, '_' the left arrow), lower-case letters as the unshifted letter keys. Braces name the
// keys C64 listings write by name; the codes are those of the keyboard's PETSCII table. Shifted
// letters and graphics characters have no name and are typed as {$xx}. Everything else is an
// error, so a harness run never drops a key unnoticed.
// Called by: the command-line parser.
#include "shell/typed_text.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {
constexpr char kReturn = 13;

struct KeyName {
  std::string_view name;
  unsigned char code;
};

constexpr KeyName kKeyNames[] = {
    {"return", 13},  {"clr", 147},   {"home", 19},   {"up", 145},    {"down", 17},   {"left", 157},
    {"rght", 29},    {"rvon", 18},   {"rvof", 146},  {"inst", 148},  {"del", 20},    {"f1", 133},
    {"f2", 137},     {"f3", 134},    {"f4", 138},    {"f5", 135},    {"f6", 139},    {"f7", 136},
    {"f8", 140},     {"blk", 144},   {"wht", 5},     {"red", 28},    {"cyn", 159},   {"pur", 156},
    {"grn", 30},     {"blu", 31},    {"yel", 158},   {"orng", 129},  {"brn", 149},   {"lred", 150},
    {"gry1", 151},   {"gry2", 152},  {"lgrn", 153},  {"lblu", 154},  {"gry3", 155},
};

bool CodeOfName(std::string name, unsigned char& code) {
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (name.size() >= 2 && name.size() <= 3 && name[0] == '$' &&
      name.find_first_not_of("0123456789abcdef", 1) == std::string::npos) {
    code = static_cast<unsigned char>(std::strtoul(name.c_str() + 1, nullptr, 16));
    return true;
  }
  for (const KeyName& key : kKeyNames) {
    if (key.name == name) {
      code = key.code;
      return true;
    }
  }
  return false;
}

std::string Shown(char c) {
  const auto byte = static_cast<unsigned char>(c);
  if (byte > ' ' && byte < 0x7F) return std::string("'") + c + "'";
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", byte);
  return text;
}
}  // namespace

bool PetsciiOfAscii(char c, char& code) {
  if (c >= 'a' && c <= 'z') {
    code = static_cast<char>(c - 'a' + 'A');
    return true;
  }
  code = c;
  return c >= ' ' && c <= '_';
}

bool TranslateTypedText(const std::string& text, std::string& petscii, std::string& error) {
  petscii.clear();
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\\' && i + 1 < text.size() && (text[i + 1] == 'n' || text[i + 1] == '\\')) {
      petscii += text[++i] == 'n' ? kReturn : '\\';
    } else if (c == '\n') {
      petscii += kReturn;
    } else if (char code; PetsciiOfAscii(c, code)) {
      petscii += code;
    } else if (c == '{') {
      const size_t close = text.find('}', i);
      if (close == std::string::npos) {
        error = "has '{' without its '}' in '" + text.substr(i) + "'";
        return false;
      }
      const std::string name = text.substr(i + 1, close - i - 1);
      unsigned char code;
      if (!CodeOfName(name, code)) {
        error = "has an unknown key name {" + name + "}; use a listing name such as {clr} or {f1}, or {$xx}";
        return false;
      }
      petscii += static_cast<char>(code);
      i = close;
    } else {
      error = "has " + Shown(c) + ", which no C64 key types; give its PETSCII code as {$xx}";
      return false;
    }
  }
  return true;
}
