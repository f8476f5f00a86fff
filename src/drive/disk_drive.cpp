// disk_drive.cpp: the one virtual drive, device 8, and how a disk gets into it.
//
// Attaching reads the image and arms the serial-bus traps; detaching disarms them, so without a
// disk the KERNAL's own bus code runs and finds no device. The notice that a program wants to run
// its own code in the drive is given once per attached disk: a line on stderr at once, and a
// flag the window takes to show it in its status bar.
// Called by: the start-up code and the window's commands (attach, detach, first program), the
// serial-bus traps (the drive, the notice).
#include "drive/disk_drive.h"

#include <atomic>
#include <cstdio>

#include "drive/serial_bus_traps.h"
#include "drive/virtual_drive.h"
#include "media/disk_directory.h"

namespace {
VirtualDrive drive;
bool attached = false;
bool ownCodeReported = false;
std::atomic<bool> ownCodeNotice{false};
}  // namespace

bool AttachDisk(const std::string& path, std::string& error) {
  DiskImage image;
  if (!image.Load(path, error)) return false;
  drive.Insert(std::move(image));
  attached = true;
  ownCodeReported = false;
  ownCodeNotice.store(false);
  ArmSerialBusTraps(true);
  return true;
}

void DetachDisk() {
  ArmSerialBusTraps(false);
  drive.Insert(DiskImage{});
  attached = false;
}

bool DiskAttached() { return attached; }

bool FirstProgramOnDisk(std::vector<uint8_t>& bytes) {
  if (!attached) return false;
  std::vector<DirectoryEntry> entries;
  ReadDirectory(drive.image(), entries);
  for (const DirectoryEntry& entry : entries) {
    if (entry.Type() != FileType::Prg || !entry.Closed()) continue;
    return ReadFileChain(drive.image(), entry.first, bytes).code == 0 && bytes.size() >= 2;
  }
  return false;
}

VirtualDrive& Drive8() { return drive; }

bool TakeOwnCodeNotice() { return ownCodeNotice.exchange(false); }

void ReportOwnCodeOnce() {
  if (ownCodeReported || drive.ownCodeCommand().empty()) return;
  ownCodeReported = true;
  std::fprintf(stderr,
               "vornce: the program sent drive 8 its own code to run (%s); it needs a disk drive with its own "
               "processor, which VornCE's drive 8 does not have, so it cannot go on\n",
               drive.ownCodeCommand().c_str());
  ownCodeNotice.store(true);
}
