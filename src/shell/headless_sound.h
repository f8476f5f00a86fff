// headless_sound.h: the sound output of a run without a window.
#pragma once

#include <string>

#include "shell/command_line.h"

// Chooses the output before the emulation thread starts: none by default (silent, unpaced), the
// WAV file of --wav, or for --realtime a silent output that keeps real time. False, with the
// reason in error, when the WAV file cannot be created.
bool SetUpHeadlessSound(const LaunchOptions& options, std::string& error);
// Once the emulation thread has returned: lets the queued blocks play out and closes the
// output, which completes the WAV file.
void FinishHeadlessSound();
