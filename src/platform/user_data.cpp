// user_data.cpp: the user's data folder, as the desktop's conventions place it.
// Called by: the ROM search and the snapshot commands.
#include "platform/user_data.h"

#include <cstdlib>

std::string UserDataFolder() {
  if (const char* dataHome = std::getenv("XDG_DATA_HOME"); dataHome && *dataHome) {
    return std::string(dataHome) + "/vornce";
  }
  const char* home = std::getenv("HOME");
  return std::string(home ? home : ".") + "/.local/share/vornce";
}
