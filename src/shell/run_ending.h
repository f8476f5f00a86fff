// run_ending.h: what ends a headless run, and the exit status and words that say how it ended.
#pragma once

#include <string>

#include "shell/command_line.h"

enum class RunEnding {
  None,          // not ended by the runner (a file problem stopped it)
  TimeLimit,     // --seconds ran out
  Signal,        // SIGINT or SIGTERM
  BasicReady,    // --until-ready: BASIC waits at its prompt again
  TextShown,     // --until-text: the screen shows the text
  ExitRegister,  // --debugcart: the program wrote $D7FF
  Jam,           // a harness run's program ran a jam opcode
};

// Before the emulation thread starts: takes the end conditions from the options and, for a
// harness run, lets a jam halt the processor and (with --debugcart) opens the exit register.
void WatchForRunEnd(const LaunchOptions& options);
// Emulation thread, after every presented frame: true once the processor has halted at a jam or
// an exit register write, or an --until-... condition holds; the run should end at this frame.
bool RunEndConditionMet();
// Emulation thread: --seconds has run out (unless the run has ended already).
void EndRunAtTimeLimit();
// Main thread: SIGINT or SIGTERM (by number) asked the run to stop.
void NoteStopSignal(int signal);

// After the emulation thread has returned: how the run ended, its exit status, and the words
// for the summary line ("BASIC ready with ST = 3"). Also closes the exit register and lets jams
// reset the machine again, as in any other run.
RunEnding FinishRunEnding();
int RunEndingExitStatus();
std::string RunEndingDescription();
// The message a timed-out or jammed harness run prints before its summary; empty otherwise.
std::string RunEndingMessage();
