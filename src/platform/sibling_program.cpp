// sibling_program.cpp: handing over to another of our programs, found from this one's executable.
//
// The desktop window lives in a program of its own, so that a run without a window never loads
// the window system's libraries. Its place is known relative to this executable: beside it in a
// build folder, under the library-executables folder once installed. Nothing is looked up on
// $PATH, so an installed vornce never starts a window program of another build.
// Called by: main, when no --headless is given.
#include "platform/sibling_program.h"

#include <unistd.h>

#include <filesystem>
#include <string>

void ExecSiblingProgram(std::initializer_list<const char*> relativePaths, char** argv) {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return;
  char* const ownName = argv[0];
  for (const char* relativePath : relativePaths) {
    const std::string sibling = (self.parent_path() / relativePath).lexically_normal().string();
    argv[0] = const_cast<char*>(sibling.c_str());
    execv(sibling.c_str(), argv);
  }
  argv[0] = ownName;
}
