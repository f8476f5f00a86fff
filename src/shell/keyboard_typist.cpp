// keyboard_typist.cpp: text typed through the KERNAL keyboard buffer.
//
// The KERNAL keeps up to 10 typed characters at $0277 with their count in $C6. Refilling only
// when the count is 0 keeps us clear of the KERNAL's own buffer handling: the interrupt's
// keyboard scan appends, and reading a key shifts the rest down; neither is under way once the
// buffer is empty. It also hands a program's INPUT and GET every character in order.
// Called by: the headless runner, on the emulation thread after every presented frame; the
// buffer filling also by the desktop's pasted text.
#include "shell/keyboard_typist.h"

#include "core/machine.h"
#include "shell/basic_prompt.h"
#include "shell/startup_media.h"

namespace {
constexpr uint16_t kKeyboardBuffer = 0x0277;
constexpr uint16_t kKeyboardCount = 0x00C6;
constexpr size_t kKeyboardBufferSize = 10;

// Emulation thread only, after StartTyping.
std::string pendingText;
size_t typedCount = 0;
uint64_t delay = 0;
bool mayType = false;
uint64_t typingStart = 0;

bool TypingMayBegin() {
  switch (StartupProgram()) {
    case StartupProgramState::NotDue:
      return BasicWaitsForLine();
    case StartupProgramState::Started:
      return true;
    default:
      return false;
  }
}
}  // namespace

void StartTyping(const std::string& petscii, uint64_t delayCycles) {
  pendingText = petscii;
  typedCount = 0;
  delay = delayCycles;
  mayType = false;
  typingStart = 0;
}

void TypeIntoKeyboardBuffer(uint64_t cyclesRun) {
  if (TypingFinished()) return;
  if (!mayType) {
    if (!TypingMayBegin()) return;
    mayType = true;
    typingStart = cyclesRun + delay;
  }
  if (cyclesRun < typingStart) return;
  typedCount += FillEmptyKeyboardBuffer(pendingText.data() + typedCount, pendingText.size() - typedCount);
}

size_t FillEmptyKeyboardBuffer(const char* text, size_t length) {
  if (Ram[kKeyboardCount] != 0) return 0;
  size_t count = 0;
  while (count < kKeyboardBufferSize && count < length) {
    Ram[kKeyboardBuffer + count] = static_cast<uint8_t>(text[count]);
    ++count;
  }
  Ram[kKeyboardCount] = static_cast<uint8_t>(count);
  return count;
}

bool TypingFinished() { return typedCount >= pendingText.size(); }
