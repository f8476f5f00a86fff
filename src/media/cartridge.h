// cartridge.h: the cartridge image copied into memory at every reset.
#pragma once

void LoadCartridge(const char* path);
