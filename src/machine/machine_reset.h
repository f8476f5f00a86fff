// machine_reset.h: the whole machine's power-on reset and start-up.
#pragma once

// Reloads the attached cartridge after every reset while cartridgePresent is set; installed by
// the cartridge code when a cartridge is attached, null until then.
extern int (*cartridgeLoader)(const char* path);

// Memories, VIC-II, CIAs and the raster position back to power-up; reloads an attached cartridge.
void ResetMachine();
// Once at start-up, before the emulation thread: allocates the memories, clears the keyboard,
// resets the machine and the sound, and leaves a CPU reset requested. Returns 0 when the
// memories cannot be allocated.
int InitMachine();
