// Tests of the recognition of BASIC's prompt from the KERNAL's locations and the screen.
#include "shell/basic_prompt.h"

#include <gtest/gtest.h>

#include <string>

#include "chips/chip_test.h"
#include "core/machine.h"

namespace {
using BasicPrompt = ChipTest;

// Writes text into row of the screen at $0400 as screen codes: letters of the first 26 codes, the
// rest of the ASCII range as the same code (digits, punctuation).
void PutRow(int row, const std::string& text) {
  for (int column = 0; column < 40; ++column) {
    const char c = column < static_cast<int>(text.size()) ? text[column] : ' ';
    uint8_t code = static_cast<uint8_t>(c);
    if (c >= 'A' && c <= 'Z') code = static_cast<uint8_t>(c - 'A' + 1);
    if (c >= 'a' && c <= 'z') code = static_cast<uint8_t>(c - 'a' + 1);
    Ram[0x0400 + row * 40 + column] = code;
  }
}

TEST_F(BasicPrompt, EditorWaitingRightBelowReadyInEitherCharacterSet) {
  struct Case {
    const char* what;
    uint8_t charset;  // $D018: $14 upper case and graphics, $16 lower and upper case
    std::string above;
    uint8_t keysWaiting, blinkSwitch, row, column;
    bool waits;
  } cases[] = {
      {"prompt, upper case", 0x14, "READY.", 0, 0, 6, 0, true},
      {"prompt, lower case", 0x16, "ready.", 0, 0, 6, 0, true},
      {"prompt at the bottom row", 0x14, "READY.", 0, 0, 24, 0, true},
      {"keys still waiting", 0x14, "READY.", 1, 0, 6, 0, false},
      {"cursor off: a line is being handled", 0x14, "READY.", 0, 1, 6, 0, false},
      {"cursor inside a typed line", 0x14, "READY.", 0, 0, 6, 3, false},
      {"INPUT's prompt below RUN", 0x14, "RUN", 0, 0, 6, 0, false},
      {"READY. further up only", 0x14, "10 PRINT", 0, 0, 6, 0, false},
      {"cursor in the top row", 0x14, "READY.", 0, 0, 0, 0, false},
      {"cursor row past the screen", 0x14, "READY.", 0, 0, 25, 0, false},
  };
  for (const Case& c : cases) {
    for (int row = 0; row < 25; ++row) PutRow(row, "");
    PutRow(3, "READY.");
    if (c.row >= 1 && c.row <= 25) PutRow(c.row - 1, c.above);
    MemWrite(0xDD00, 0x97);  // VIC bank 0, as the KERNAL selects it
    MemWrite(0xD018, c.charset);
    Ram[0xC6] = c.keysWaiting;
    Ram[0xCC] = c.blinkSwitch;
    Ram[0xD6] = c.row;
    Ram[0xD3] = c.column;
    EXPECT_EQ(BasicWaitsForLine(), c.waits) << c.what;
  }
}
}  // namespace
