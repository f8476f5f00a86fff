// pasted_text.h: text from the clipboard typed into the machine at the KERNAL's pace.
#pragma once

#include <string>

// Host text (UTF-8) as the PETSCII codes the keyboard types: letters of either case as the
// unshifted letter keys, every kind of line break as RETURN, a tab as a space, { } ` as [ ] and
// the left arrow; characters no C64 key types are left out.
std::string PetsciiForPaste(const std::string& text);

// Application thread: queues the codes behind any still being typed.
void PasteText(const std::string& petscii);
// Emulation thread, after every presented frame: refills the emptied keyboard buffer.
void TypePastedText();
// True while pasted codes wait to be typed.
bool PasteWaiting();
