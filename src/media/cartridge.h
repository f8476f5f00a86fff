// cartridge.h: the CRT cartridge image copied into memory at every reset.
#pragma once

// The "Load cartridge..." command: remembers path, marks a cartridge present and asks for a
// machine reset at the end of the next drawn frame, which loads it. ResetMachine reads the name
// on the emulation thread, so call this only while that thread is paused by the pause handshake
// or before it starts. Returns 0, changing nothing, for a path too long to keep.
int AttachCartridge(const char* path);

// 1 when LoadCartridge would copy an image from path: the file opens, holds the header and the
// first chip packet's header, and its hardware type is 0 or 4.
int CartridgeLoadable(const char* path);

// Copies the first chip packet's data into Ram at its load address, wrapping from $FFFF to $0000;
// bytes missing at the end of a short file are not loaded. Returns 1 when an image was copied.
// Called by ResetMachine, on the emulation thread.
int LoadCartridge(const char* path);
