// keyboard_typist.cpp: text typed through the KERNAL keyboard buffer.
//
// The KERNAL keeps up to 10 typed characters at $0277 with their count in $C6. Refilling only
// when the count is 0 keeps us clear of the KERNAL's own buffer handling: the interrupt's
// keyboard scan appends, and reading a key shifts the rest down; neither is under way once the
// buffer is empty. Characters without a C64 key are dropped.
// Called by: the headless runner, on the emulation thread after every presented frame (its
// program loading uses the READY check too).
#include "shell/keyboard_typist.h"

#include "core/machine.h"
#include "shell/screen_text.h"

namespace {
constexpr uint16_t kKeyboardBuffer = 0x0277;
constexpr uint16_t kKeyboardCount = 0x00C6;
constexpr int kKeyboardBufferSize = 10;
constexpr uint8_t kPetsciiReturn = 13;

std::string pendingText;
size_t typedCount = 0;
bool basicReady = false;

bool ToPetscii(char c, uint8_t& petscii) {
  if (c == '\n') {
    petscii = kPetsciiReturn;
  } else if (c >= 'a' && c <= 'z') {
    petscii = static_cast<uint8_t>(c - 'a' + 'A');  // unshifted letters, as the keyboard types them
  } else if (c >= ' ' && c <= '_') {
    petscii = static_cast<uint8_t>(c);
  } else {
    return false;
  }
  return true;
}

}  // namespace

void StartTyping(const std::string& text) {
  pendingText.clear();
  for (char c : text) {
    uint8_t petscii;
    if (ToPetscii(c, petscii)) pendingText += static_cast<char>(petscii);
  }
  typedCount = 0;
  basicReady = false;
}

void TypeIntoKeyboardBuffer() {
  if (TypingFinished() || Ram[kKeyboardCount] != 0) return;
  if (!basicReady && !(basicReady = ScreenShowsReady())) return;
  int count = 0;
  while (count < kKeyboardBufferSize && typedCount < pendingText.size()) {
    Ram[kKeyboardBuffer + count++] = static_cast<uint8_t>(pendingText[typedCount++]);
  }
  Ram[kKeyboardCount] = static_cast<uint8_t>(count);
}

bool TypingFinished() { return typedCount >= pendingText.size(); }
