// disk_drive.h: disk drive 8 for the front ends: attaching and detaching a .d64 image.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class VirtualDrive;

// Call these while the emulation thread is paused or not yet started.
// Reads the image and makes device 8 answer with it (replacing any disk attached before). False,
// with a message naming the file and the sizes accepted, when it cannot be used; then nothing
// changes.
bool AttachDisk(const std::string& path, std::string& error);
// Device 8 is absent again, as without a disk.
void DetachDisk();
bool DiskAttached();

// The first PRG file of the attached disk's directory, load address first; false when there is
// none or it cannot be read.
bool FirstProgramOnDisk(std::vector<uint8_t>& bytes);

// The drive itself, for the serial-bus traps and tests.
VirtualDrive& Drive8();

// Set (once per attached disk) when a program sent the drive a command that runs its own code
// there; the window shows why the program stops. Any thread; taking it clears it.
bool TakeOwnCodeNotice();
// Called by the traps after each command: says once on stderr that the program needs a drive
// with its own processor.
void ReportOwnCodeOnce();
