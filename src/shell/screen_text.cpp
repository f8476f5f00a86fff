// screen_text.cpp: reading the text screen back as ASCII.
//
// The video matrix is read where the VIC-II fetches it: the bank from CIA 2 and the matrix base
// from $D018, in RAM. Letters follow the character set $D018 selects (upper case with graphics,
// or lower and upper case); graphics glyphs have no ASCII twin and show as '#', except the lines
// and the cross that draw boxes.
// Called by: the headless runner (screen dump, --until-text) and the recognition of BASIC's prompt.
#include "shell/screen_text.h"

#include "chips/vic.h"
#include "core/machine.h"

namespace {
// The second half of a 4 KiB character set holds the lower-case letters.
constexpr int kLowerCaseSetBit = 0x0800;

char ScreenCodeToAscii(uint8_t code, bool lowerCaseSet) {
  code &= 0x7F;
  if (code >= 0x01 && code <= 0x1A) return static_cast<char>((lowerCaseSet ? 'a' : 'A') + code - 0x01);
  if (lowerCaseSet && code >= 0x41 && code <= 0x5A) return static_cast<char>('A' + code - 0x41);
  if (code < 0x40) return "@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_ !\"#$%&'()*+,-./0123456789:;<=>?"[code];
  switch (code) {
    case 0x40: return '-';
    case 0x5B: return '+';
    case 0x5D: return '|';
    case 0x60: return ' ';
    default: return '#';
  }
}
}  // namespace

std::string TextScreenLine(int row) {
  const bool lowerCaseSet = (charBaseOffset & kLowerCaseSetBit) != 0;
  const unsigned matrix = vicBankBase + videoMatrixOffset + row * kTextColumns;
  std::string line(kTextColumns, ' ');
  for (int column = 0; column < kTextColumns; ++column) {
    line[column] = ScreenCodeToAscii(Ram[(matrix + column) & 0xFFFF], lowerCaseSet);
  }
  line.erase(line.find_last_not_of(' ') + 1);
  return line;
}

bool ScreenShowsText(const std::string& text) {
  for (int row = 0; row < kTextRows; ++row) {
    if (TextScreenLine(row).find(text) != std::string::npos) return true;
  }
  return false;
}
