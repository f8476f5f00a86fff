// user_data.h: where the emulator keeps the user's files.
#pragma once

#include <string>

// $XDG_DATA_HOME/vornce, by default ~/.local/share/vornce (not created here).
std::string UserDataFolder();
