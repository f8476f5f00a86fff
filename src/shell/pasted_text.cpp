// pasted_text.cpp: the desktop's Paste text, typed through the KERNAL keyboard buffer.
//
// The codes wait in a string the application thread appends to; the emulation thread hands them
// to the keyboard buffer ten at a time, each time BASIC or the program has read the buffer empty,
// which is as fast as the KERNAL takes keys, so a long listing arrives whole. The emulation thread
// only reads and counts; the string grows, and is emptied once typed, on the application thread.
// Left out: shifted letters and graphics characters, which a text clipboard does not hold.
// Called by: the desktop window (paste) and its frame observer (typing).
#include "shell/pasted_text.h"

#include <mutex>

#include "shell/keyboard_typist.h"
#include "shell/typed_text.h"

namespace {
std::mutex pasteMutex;
std::string pending;  // guarded by pasteMutex, as is typed
size_t typed = 0;
}  // namespace

std::string PetsciiForPaste(const std::string& text) {
  std::string petscii;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    char code;
    if (c == '\r' || c == '\n') {
      petscii += '\r';
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (c == '\t') {
      petscii += ' ';
    } else if (c == '{' || c == '}') {
      petscii += c == '{' ? '[' : ']';
    } else if (c == '`') {
      petscii += '_';
    } else if (PetsciiOfAscii(c, code)) {
      petscii += code;
    }
  }
  return petscii;
}

void PasteText(const std::string& petscii) {
  std::lock_guard<std::mutex> lock(pasteMutex);
  if (typed == pending.size()) {
    pending.clear();
    typed = 0;
  }
  pending += petscii;
}

void TypePastedText() {
  std::unique_lock<std::mutex> lock(pasteMutex, std::try_to_lock);
  if (!lock.owns_lock() || typed == pending.size()) return;
  typed += FillEmptyKeyboardBuffer(pending.data() + typed, pending.size() - typed);
}

bool PasteWaiting() {
  std::lock_guard<std::mutex> lock(pasteMutex);
  return typed < pending.size();
}
