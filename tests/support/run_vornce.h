// run_vornce.h: running the built vornce program as a user would.
#pragma once

#include <string>

struct VornceRun {
  int exitStatus = -1;
  std::string out;
  std::string err;
};

// Runs vornce with the given arguments (already quoted for the shell), under wrapper when one is
// given (a command such as "timeout 1" that runs vornce itself).
VornceRun RunVornce(const std::string& arguments, const std::string& wrapper = "");
