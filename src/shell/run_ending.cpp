// run_ending.cpp: the end conditions of a headless run and the exit status they give.
//
// A harness run (--until-ready, --until-text or --debugcart) ends on its own condition, checked
// after every presented frame, and passes on how the program did: ST ($90) when BASIC is back
// at its prompt, the value written to the exit register, 124 when --seconds runs out first, 125
// for a jam opcode. In such a run a jam halts the processor rather than resetting the machine, so
// the reset's fresh READY can never pass for a program that returned, and the screen stays as the
// jam left it. Any other run ends with status 0 at --seconds or at a stop signal, as before.
// Called by: the headless runner (conditions on the emulation thread, the rest on the main
// thread after the emulation thread has returned).
#include "shell/run_ending.h"

#include <csignal>
#include <cstdio>

#include "chips/io.h"
#include "core/cpu.h"
#include "core/machine.h"
#include "machine/scheduler.h"
#include "shell/basic_prompt.h"
#include "shell/exit_status.h"
#include "shell/keyboard_typist.h"
#include "shell/screen_text.h"
#include "shell/startup_media.h"

namespace {
constexpr uint16_t kKernalStatus = 0x90;

// Set before the emulation thread starts.
bool harnessRun = false;
bool untilReady = false;
std::string untilText;
bool debugCart = false;
double limitSeconds = 0;

// Written on the emulation thread, read by the main thread once it has been joined.
RunEnding threadEnding = RunEnding::None;
int programStatus = 0;  // ST, or the exit register's value

// Main thread only.
int stopSignal = 0;
RunEnding ending = RunEnding::None;

// The program named at start-up has ended, or without one, the typed text has been carried out.
bool WorkDone() {
  switch (StartupProgram()) {
    case StartupProgramState::Started:
      return true;
    case StartupProgramState::NotDue:
      return TypingFinished();
    default:
      return false;
  }
}

std::string Hex4(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "$%04X", value & 0xFFFF);
  return text;
}

std::string AwaitedEnd() {
  std::string awaited;
  auto add = [&](const std::string& what) { awaited += (awaited.empty() ? "" : " or ") + what; };
  if (untilReady) add("BASIC was ready again");
  if (!untilText.empty()) add("the screen showed \"" + untilText + "\"");
  if (debugCart) add("a write to $D7FF");
  return awaited;
}
}  // namespace

void WatchForRunEnd(const LaunchOptions& options) {
  harnessRun = IsHarnessRun(options);
  untilReady = options.untilReady;
  untilText = options.untilText;
  debugCart = options.debugCart;
  limitSeconds = options.seconds;
  jamHaltsCpu = harnessRun;
  exitRegisterEnabled = options.debugCart;
  exitRegisterValue = -1;
  threadEnding = ending = RunEnding::None;
  programStatus = 0;
  stopSignal = 0;
}

bool RunEndConditionMet() {
  if (threadEnding != RunEnding::None) return true;
  if (resetRequest.load() == kHaltRequest) {
    threadEnding = exitRegisterValue >= 0 ? RunEnding::ExitRegister : RunEnding::Jam;
    programStatus = exitRegisterValue;
  } else if (untilReady && WorkDone() && BasicWaitsForLine()) {
    threadEnding = RunEnding::BasicReady;
    programStatus = Ram[kKernalStatus];
  } else if (!untilText.empty() && ScreenShowsText(untilText)) {
    threadEnding = RunEnding::TextShown;
  }
  return threadEnding != RunEnding::None;
}

void EndRunAtTimeLimit() {
  if (threadEnding == RunEnding::None) threadEnding = RunEnding::TimeLimit;
}

void NoteStopSignal(int signal) {
  if (stopSignal == 0) stopSignal = signal;
}

RunEnding FinishRunEnding() {
  jamHaltsCpu = false;
  exitRegisterEnabled = false;
  ending = threadEnding;
  if (ending == RunEnding::None && stopSignal != 0) ending = RunEnding::Signal;
  return ending;
}

int RunEndingExitStatus() {
  switch (ending) {
    case RunEnding::TimeLimit:
      return harnessRun ? kExitTimedOut : 0;
    case RunEnding::Signal:
      return harnessRun ? kExitSignalBase + stopSignal : 0;
    case RunEnding::BasicReady:
    case RunEnding::ExitRegister:
      return programStatus;
    case RunEnding::Jam:
      return kExitJam;
    default:
      return 0;
  }
}

std::string RunEndingDescription() {
  switch (ending) {
    case RunEnding::TimeLimit:
      return harnessRun ? "timed out" : "--seconds reached";
    case RunEnding::Signal:
      return stopSignal == SIGINT ? "stopped by SIGINT" : "stopped by SIGTERM";
    case RunEnding::BasicReady:
      return "BASIC ready with ST = " + std::to_string(programStatus);
    case RunEnding::TextShown:
      return "the screen showed \"" + untilText + "\"";
    case RunEnding::ExitRegister:
      return "$D7FF written with " + std::to_string(programStatus);
    case RunEnding::Jam:
      return "jam opcode at " + Hex4(jamAddress);
    default:
      return "stopped by a file problem";
  }
}

std::string RunEndingMessage() {
  if (ending == RunEnding::Jam) {
    return "Unrecognized CPU instruction was executed at " + Hex4(jamAddress) + "; the run ends there";
  }
  if (ending == RunEnding::TimeLimit && harnessRun) {
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%g", limitSeconds);
    return std::string("timed out: ") + seconds + " emulated seconds ran out before " + AwaitedEnd();
  }
  return "";
}
