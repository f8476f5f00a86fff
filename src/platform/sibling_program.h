// sibling_program.h: starting another of our programs in place of this one.
#pragma once

// Replaces this process with the program called name that sits beside this one's executable,
// handing it argv. Returns only when that fails.
void ExecSiblingProgram(const char* name, char** argv);
