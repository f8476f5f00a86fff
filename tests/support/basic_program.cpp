#include "support/basic_program.h"

#include <cstdlib>
#include <string_view>

namespace {
constexpr unsigned kProgramStart = 0x0801;
constexpr unsigned char kFirstToken = 0x80;
constexpr unsigned char kRemToken = 0x8F;

// BASIC V2's keywords in token order from $80; "INPUT#" and "PRINT#" come before their plain
// forms, so the first match is the longest.
constexpr std::string_view kKeywords[] = {
    "END",  "FOR",  "NEXT", "DATA",  "INPUT#", "INPUT", "DIM",   "READ", "LET",    "GOTO",  "RUN",
    "IF",   "RESTORE", "GOSUB", "RETURN", "REM", "STOP", "ON",   "WAIT", "LOAD",   "SAVE",  "VERIFY",
    "DEF",  "POKE", "PRINT#", "PRINT", "CONT", "LIST",  "CLR",   "CMD",  "SYS",    "OPEN",  "CLOSE",
    "GET",  "NEW",  "TAB(", "TO",    "FN",     "SPC(",  "THEN",  "NOT",  "STEP",   "+",     "-",
    "*",    "/",    "^",    "AND",   "OR",     ">",     "=",     "<",    "SGN",    "INT",   "ABS",
    "USR",  "FRE",  "POS",  "SQR",   "RND",    "LOG",   "EXP",   "COS",  "SIN",    "TAN",   "ATN",
    "PEEK", "LEN",  "STR$", "VAL",   "ASC",    "CHR$",  "LEFT$", "RIGHT$", "MID$", "GO",
};

std::vector<unsigned char> Crunch(std::string_view text) {
  std::vector<unsigned char> bytes;
  bool quoted = false;
  bool remark = false;
  for (size_t at = 0; at < text.size();) {
    if (text[at] == '"') quoted = !quoted;
    size_t token = 0;
    while (!quoted && !remark && token < std::size(kKeywords) && text.substr(at, kKeywords[token].size()) != kKeywords[token]) {
      ++token;
    }
    if (quoted || remark || token == std::size(kKeywords)) {
      bytes.push_back(static_cast<unsigned char>(text[at++]));
      continue;
    }
    bytes.push_back(static_cast<unsigned char>(kFirstToken + token));
    remark = kFirstToken + token == kRemToken;
    at += kKeywords[token].size();
  }
  return bytes;
}
}  // namespace

std::vector<unsigned char> BasicProgram(const std::vector<std::string>& lines) {
  std::vector<unsigned char> program = {kProgramStart & 0xFF, kProgramStart >> 8};
  unsigned address = kProgramStart;
  for (const std::string& line : lines) {
    char* rest = nullptr;
    const unsigned long number = std::strtoul(line.c_str(), &rest, 10);
    const std::vector<unsigned char> body = Crunch(std::string_view(rest).substr(rest[0] == ' ' ? 1 : 0));
    address += 2 + 2 + static_cast<unsigned>(body.size()) + 1;
    program.insert(program.end(), {static_cast<unsigned char>(address & 0xFF), static_cast<unsigned char>(address >> 8),
                                   static_cast<unsigned char>(number & 0xFF), static_cast<unsigned char>(number >> 8)});
    program.insert(program.end(), body.begin(), body.end());
    program.push_back(0);
  }
  program.insert(program.end(), {0, 0});
  return program;
}
