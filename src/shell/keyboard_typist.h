// keyboard_typist.h: typing text into the KERNAL keyboard buffer, as if a user typed it.
#pragma once

#include <cstdint>
#include <cstddef>
#include <string>

// Set before the emulation thread starts: the PETSCII codes to type, and how many emulated cycles
// to wait once typing may begin.
void StartTyping(const std::string& petscii, uint64_t delayCycles);
// On the emulation thread after every presented frame, with the emulated cycles run so far.
// Typing may begin once the program named at start-up has taken its RUN from the keyboard
// buffer, or, without one, once BASIC waits at its prompt; from then on, after the delay, the
// buffer is refilled whenever the program or BASIC has drained it.
void TypeIntoKeyboardBuffer(uint64_t cyclesRun);
// True once every code has been put into the buffer.
bool TypingFinished();

// Emulation thread, machine running: when the KERNAL's keyboard buffer is empty, puts up to its
// ten characters of text[0..length) into it. Returns how many it put (0 while the buffer is not
// empty yet).
size_t FillEmptyKeyboardBuffer(const char* text, size_t length);
