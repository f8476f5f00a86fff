// headless_media.h: the files a headless run starts or ends with: a program or cartridge, a
// snapshot to restore and one to save.
#pragma once

#include <string>

#include "shell/command_line.h"

// After InitMachine, before the emulation thread starts: checks the named files and attaches a
// cartridge. Returns false with the reason in error when a file cannot be used.
bool PrepareHeadlessMedia(const LaunchOptions& options, std::string& error);
// Emulation thread, after every presented frame: holds the thread at the first frame for the
// snapshot to be restored, and loads the program once BASIC waits at its prompt.
void HeadlessMediaAfterFrame();
// Emulation thread, after every presented frame: whether the files may still end the run at a
// frame nobody can foresee, or look at the FrameBuffer before the run's end: a snapshot still to
// be restored, one to be saved, a program still waiting for BASIC's prompt (it may fail to load).
bool HeadlessMediaMayEndRun();
// Emulation thread, at the presented frame that ends the run: stops the thread, or holds it there
// for the snapshot to be saved first.
void EndHeadlessRunAtFrame();
// Main thread, in its wait loop: restores and saves snapshots when due; stopRequested (SIGINT,
// SIGTERM) ends the run.
void ServeHeadlessMedia(bool stopRequested);
// Main thread, after the emulation thread has returned: 0, or 2 when a file could not be loaded
// or saved (the reason has been printed).
int HeadlessMediaExitStatus();
