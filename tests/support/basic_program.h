// basic_program.h: BASIC V2 program files made from program text, as SAVE writes them.
#pragma once

#include <string>
#include <vector>

// A .prg file loading at $0801 with each line ("10 PRINT A") tokenised: keywords outside quotes
// and REM text become their tokens, as BASIC crunches a typed line. Upper-case text only.
std::vector<unsigned char> BasicProgram(const std::vector<std::string>& lines);
