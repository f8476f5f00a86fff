#include "support/run_vornce.h"

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "support/temp_folder.h"

VornceRun RunVornce(const std::string& arguments, const std::string& wrapper) {
  TempFolder folder;
  const std::string outPath = (folder.path() / "out").string();
  const std::string errPath = (folder.path() / "err").string();
  const std::string command =
      (wrapper.empty() ? "" : wrapper + " ") + VORNCE_BINARY + " " + arguments + " >" + outPath + " 2>" + errPath + " </dev/null";
  VornceRun run;
  const int status = std::system(command.c_str());
  run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  auto slurp = [](const std::string& path) {
    std::ostringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
  };
  run.out = slurp(outPath);
  run.err = slurp(errPath);
  return run;
}
