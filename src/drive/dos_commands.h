// dos_commands.h: the commands a program sends on channel 15.
#pragma once

#include <string>

#include "drive/dos_status.h"
#include "media/disk_image.h"

struct CommandOutcome {
  DosStatus status{kDosOk, 0, 0};
  bool diskChanged = false;     // the image must be stored
  bool resetDrive = false;      // "UI", "UJ": the drive starts over (channels closed, status 73)
  std::string ownCodeCommand;   // set when the command would run the program's code in the drive
};

// Runs one command ("I", "S:NAME", "R:NEW=OLD", "N:NAME,ID", "V", ...; a trailing RETURN is
// ignored) on the image.
CommandOutcome RunDosCommand(DiskImage& image, const std::string& command);
