// cartridge.cpp: the cartridge image reloaded at every reset.
//
// Nothing is loaded yet: a machine reset leaves the freshly filled memory as it is.
// Called by: ResetMachine while a cartridge is attached.
#include "media/cartridge.h"

void LoadCartridge(const char*) {}
