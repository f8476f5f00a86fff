// sibling_program.h: starting another of our programs in place of this one.
#pragma once

#include <initializer_list>

// Replaces this process with the first of the programs that can be started, each path taken
// relative to the folder of this process's executable, handing it argv. Returns only when none
// can be started.
void ExecSiblingProgram(std::initializer_list<const char*> relativePaths, char** argv);
