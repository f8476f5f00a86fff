// keyboard_typist.h: typing text into the KERNAL keyboard buffer, as if a user typed it.
#pragma once

#include <string>

// Text to type once BASIC waits at READY; '\n' is RETURN. Set before the emulation thread starts.
void StartTyping(const std::string& text);
// On the emulation thread between frames: once READY shows, refills the buffer whenever BASIC
// has drained it.
void TypeIntoKeyboardBuffer();
bool TypingFinished();
