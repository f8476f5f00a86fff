// startup_media.h: a program or cartridge named when the emulator starts, or dropped on it.
#pragma once

#include <string>

enum class MediaKind { None, Program, TapeImage, Cartridge, DiskImage };

// By the file name's extension, in any case: .prg and .p00, .t64, .crt, .d64.
MediaKind MediaKindOf(const std::string& path);

// Before the emulation thread starts (path may be empty: nothing to do): checks that the file
// can be used and attaches a cartridge, which the reset at the end of the first drawn frame
// brings in, or a disk, whose first program is then started. diskPath (may be empty) names a disk
// attached to drive 8 without starting anything. False, with the reason in error, for an
// unknown, unreadable or unusable file.
bool PrepareStartupMedia(const std::string& path, const std::string& diskPath, std::string& error);

// On the emulation thread after every presented frame: loads the prepared program or T64 image
// once BASIC waits at its prompt, so that it starts through the typed RUN; at a later frame, notes
// that BASIC has taken that RUN from the keyboard buffer.
void LoadStartupProgramAtReady();

// What became of the prepared program: not due (none, or a cartridge), waiting for BASIC's prompt,
// loaded with RUN in the keyboard buffer, started (BASIC has taken the RUN), or failed (the file
// went away or is too short, or the disk holds no program).
enum class StartupProgramState { NotDue, Waiting, Loaded, Started, Failed };
StartupProgramState StartupProgram();
// Why the prepared program failed, for a message.
std::string StartupProgramFailure();
