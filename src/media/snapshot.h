// snapshot.h: the "Save State" and "Load State" commands.
#pragma once

#include <string>

// The menu's snapshot file: $XDG_DATA_HOME/vornce/vorn.sta, by default
// ~/.local/share/vornce/vorn.sta.
std::string DefaultSnapshotPath();

// For the application thread while the emulation thread runs. Each pauses the thread with the
// pause handshake, shows its status line, transfers the whole machine state, leaves the message
// up for a second and resumes the emulation, whatever happened. Both return 1 on success.
//
// Saving creates the file's folder when needed and replaces the file only once every byte is on
// the disk; on failure the old file is left as it was, "SAVE FAILED" is shown and 0 returned.
int SaveSnapshot(const char* path);
// Loading reads the whole file first and applies it only when it is exactly a snapshot's size;
// otherwise the machine stays exactly as it was, "LOAD FAILED" is shown and 0 returned.
int LoadSnapshot(const char* path);
