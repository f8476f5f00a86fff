// typed_text.h: the --keybuf text turned into the PETSCII codes the keyboard buffer takes.
#pragma once

#include <string>

// "\n" (backslash, n) and a real newline are RETURN, "\\" is one backslash (the pound key);
// letters of either case are the unshifted letter keys; a name in braces, as C64 listings write
// keys without an ASCII character ({clr}, {f1}, {red}, {$93} ...), is that key's code. Returns
// false, with the reason in error ("has an unknown key name ..."), for an unknown name or a
// character no C64 key types.
bool TranslateTypedText(const std::string& text, std::string& petscii, std::string& error);

// The PETSCII code of one plain ASCII character as the keyboard types it: letters of either case
// as the unshifted letter keys, space to '_' as the key with the same code ('\\' the pound key,
// '^' the up arrow, '_' the left arrow). False for any other character.
bool PetsciiOfAscii(char c, char& code);
