// sibling_program.cpp: handing over to a program installed beside this one.
//
// The desktop window lives in a program of its own, so that a run without a window never loads
// the window system's libraries.
// Called by: main, when no --headless is given.
#include "platform/sibling_program.h"

#include <unistd.h>

#include <filesystem>
#include <string>

void ExecSiblingProgram(const char* name, char** argv) {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return;
  const std::string sibling = (self.parent_path() / name).string();
  argv[0] = const_cast<char*>(sibling.c_str());
  execv(sibling.c_str(), argv);
}
