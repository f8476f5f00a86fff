// desktop_app.h: the desktop front end: the emulator in a Qt window.
#pragma once

#include <thread>

#include "shell/command_line.h"

// Runs the window's start-up sequence, its event loop and its end sequence; returns the exit
// status.
int RunDesktop(int argc, char** argv, const LaunchOptions& options);

// The end sequence: stops the emulation thread, resuming it first if it is paused, waits for it,
// then closes the sound and the display.
void EndDesktopSession(std::thread& emulation);

// Run by the emulation thread after every presented frame: the start-up program at READY and
// the keys whose turn has come and the pasted text.
void DesktopFrameObserver();
