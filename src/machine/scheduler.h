// scheduler.h: the emulation thread: its loop, the frame observer and the pause handshake.
#pragma once

#include "core/scheduler_state.h"

// Called on the emulation thread after every presented frame, when set; front ends use it to act
// between frames without pausing the machine. Set before the thread starts.
extern void (*frameObserver)();

// One pass of the main loop, with one instruction. Returns 0 when the thread must return
// (keepRunning was clear at a frame presentation), 1 otherwise.
int RunEmulationPass();
// The thread procedure: opens the sound output, then runs passes until told to stop. Returns 0.
// Its passes run instructions up to the next event, a raster line's end at the latest, with the
// results of one pass per instruction.
int EmulationThread();

// The pause handshake, for the application thread: returns once the thread idles at an
// instruction boundary, so machine state may be read or replaced until ResumeEmulation.
void PauseEmulation();
void ResumeEmulation();
