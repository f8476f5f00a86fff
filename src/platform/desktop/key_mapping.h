// key_mapping.h: desktop key events as the handheld's virtual-key codes.
#pragma once

class QKeyEvent;

// The virtual-key code for the host key, or -1 for a key the emulator does not use.
int VirtualKeyFor(const QKeyEvent& event);
