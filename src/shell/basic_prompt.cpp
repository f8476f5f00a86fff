// basic_prompt.cpp: BASIC's prompt, recognised from the KERNAL's documented locations and the
// screen.
//
// Both the genuine ROMs and ours keep the keyboard buffer count at $C6, the cursor blink switch
// at $CC (0 while the editor waits for a key), and the cursor row and column at $D6 and $D3.
// BASIC's current line at $39/$3A tells nothing here: it reads $FF in its high byte only while a
// direct-mode line runs, and keeps a program's last line after the program has ended, just as
// during the program's INPUT. So the prompt is told apart by what BASIC prints: "READY." on the
// line right above the cursor, read in whichever character set is showing.
// Called by: the startup program loader, the keyboard typist and the harness's end conditions,
// on the emulation thread between frames.
#include "shell/basic_prompt.h"

#include "core/machine.h"
#include "shell/screen_text.h"

namespace {
constexpr uint16_t kKeyboardCount = 0xC6;
constexpr uint16_t kBlinkSwitch = 0xCC;
constexpr uint16_t kCursorColumn = 0xD3;
constexpr uint16_t kCursorRow = 0xD6;
}  // namespace

bool BasicWaitsForLine() {
  if (Ram[kKeyboardCount] != 0 || Ram[kBlinkSwitch] != 0 || Ram[kCursorColumn] != 0) return false;
  const int row = Ram[kCursorRow];
  if (row < 1 || row >= kTextRows) return false;
  const std::string above = TextScreenLine(row - 1);
  return above == "READY." || above == "ready.";
}
