// machine_reset.cpp: the power-on reset of the whole machine and its start-up.
//
// Does: brings memory, the VIC-II, both CIAs and the raster position to their power-up state and
// reloads an attached cartridge; at start-up also the keyboard and the sound.
// Leaves out: the processor's own reset, which the emulation loop performs on resetRequest.
// Called by: the emulation loop (jam opcodes, reset at frame end), the front ends once at
// start-up (InitMachine) and the snapshot and cartridge code.
#include "machine/machine_reset.h"

#include "chips/cia.h"
#include "chips/vic.h"
#include "core/machine.h"
#include "core/scheduler_state.h"
#include "sound/sound_output.h"

int (*cartridgeLoader)(const char* path) = nullptr;

void ResetMachine() {
  ResetMemories();
  ResetVic();
  ResetCias();
  rasterLine = 0;
  lineCyclePosition = 0;
  resetAtFrameEnd.store(0);
  if (cartridgePresent.load() != 0 && cartridgeLoader != nullptr) cartridgeLoader(cartridgeFileName);
}

int InitMachine() {
  if (AllocateMemories() == 0) return 0;
  ClearKeys();
  for (auto& column : KeyMatrix) column.store(0xFF);
  ResetMachine();
  resetRequest.store(1);
  ResetSound();
  return 1;
}
