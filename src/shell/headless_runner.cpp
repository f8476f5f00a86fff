// headless_runner.cpp: the machine run without a window, for scripts, tests and benchmarks.
//
// The machine runs on its real emulation thread, unpaced unless --realtime asks for real speed.
// Between frames, on that thread, the runner checks the run's end conditions, types the --keybuf
// text and counts emulated time; it stops the thread at the first presented frame where a
// condition holds or --seconds has run out, or at SIGINT/SIGTERM. Everything the runner prints at
// the end (the screen, the summary line with how the run ended) is read after the thread has
// returned, whatever ended it. The display is opened before the thread starts, and --screenshot
// saves the last presented picture once the thread has returned. Only that last picture is ever
// looked at, so while the run can end only at a frame the runner foresees (no end condition, no
// snapshot, no program still to load, and --seconds not about to run out) the drawn frames go
// unrendered; the frame the run ends at is always rendered whole.
// Called by: main, for --headless.
#include "shell/headless_runner.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "core/machine.h"
#include "core/rom_images.h"
#include "machine/machine_reset.h"
#include "machine/scheduler.h"
#include "platform/stop_signals.h"
#include "shell/display_session.h"
#include "shell/exit_status.h"
#include "shell/headless_media.h"
#include "shell/headless_sound.h"
#include "shell/keyboard_typist.h"
#include "shell/launch.h"
#include "shell/run_ending.h"
#include "shell/screen_text.h"
#include "shell/screenshot.h"
#include "video/presentation.h"

namespace {
// More than the cycles of the two frames up to the next presented one (262 lines of at most 70
// cycles each), so the frame --seconds ends the run at is never one left unrendered.
constexpr uint64_t kRenderedFramesMarginCycles = 100000;

// The emulation thread wakes the waiting main thread when it wants it (a snapshot to serve, the
// run's end), so the wait between looks can be long.
constexpr int kStopPollMilliseconds = 100;

// Written on the emulation thread, read by the main thread once it has been joined.
uint64_t emulatedCycles = 0;
uint64_t cycleBudget = 0;  // 0: no limit
uint32_t lastCycleClock = 0;
bool endForeseeable = false;  // set before the thread starts: not a harness run
std::atomic<bool> emulationReturned{false};

// The next drawn frame may go unrendered only if the run cannot end there: nothing unforeseeable
// can end it, and --seconds runs out no earlier than a few frames from now.
bool NextPictureUnseen() {
  if (!endForeseeable || picturesWatched.load() || HeadlessMediaMayEndRun()) return false;
  return cycleBudget == 0 || emulatedCycles + kRenderedFramesMarginCycles < cycleBudget;
}

void OnFrameEnd() {
  // cycleClock wraps at 2^32; the unsigned difference is right across the wrap.
  emulatedCycles += cycleClock - lastCycleClock;
  lastCycleClock = cycleClock;
  HeadlessMediaAfterFrame();
  if (RunEndConditionMet()) {
    EndHeadlessRunAtFrame();
    return;
  }
  TypeIntoKeyboardBuffer(emulatedCycles);
  if (cycleBudget != 0 && emulatedCycles >= cycleBudget) {
    EndRunAtTimeLimit();
    EndHeadlessRunAtFrame();
  }
  picturesSkipped = NextPictureUnseen();
}

void PrintScreen() {
  for (int row = 0; row < kTextRows; ++row) std::printf("%s\n", TextScreenLine(row).c_str());
  // The summary goes to stderr right after: the screen comes first in a combined stream too.
  std::fflush(stdout);
}
}  // namespace

int RunHeadless(const LaunchOptions& options) {
  const RomLoadResult roms = SelectRomsFor(options);
  if (roms.status != RomLoadStatus::Loaded) {
    std::fprintf(stderr, "vornce: %s\n", roms.error.c_str());
    return kExitFileOrOptionProblem;
  }
  std::string soundError;
  if (!SetUpHeadlessSound(options, soundError)) {
    std::fprintf(stderr, "vornce: %s\n", soundError.c_str());
    return kExitFileOrOptionProblem;
  }
  if (InitMachine() == 0) {
    std::fprintf(stderr, "vornce: VornCE initialization failed\n");
    return kExitFileOrOptionProblem;
  }
  if (std::string mediaError; !PrepareHeadlessMedia(options, mediaError)) {
    std::fprintf(stderr, "vornce: %s\n", mediaError.c_str());
    return kExitFileOrOptionProblem;
  }
  if (!OpenDisplaySession(nullptr)) {
    std::fprintf(stderr, "vornce: VornCE GAPI initialization failed\n");
    return kExitFileOrOptionProblem;
  }
  landscapeMode.store(options.landscape ? 1 : 0);

  emulatedCycles = 0;
  lastCycleClock = cycleClock;
  cycleBudget = static_cast<uint64_t>(options.seconds * kCyclesPerSecond);
  StartTyping(options.typedText, static_cast<uint64_t>(options.keybufDelay * kCyclesPerSecond));
  WatchForRunEnd(options);
  endForeseeable = !IsHarnessRun(options);
  picturesSkipped = false;
  frameObserver = OnFrameEnd;
  // Only the last picture is ever looked at, by --screenshot.
  picturesWatched.store(false);
  emulationRunning.store(1);
  keepRunning.store(1);
  emulationReturned.store(false);

  BlockStopSignals();
  const auto wallStart = std::chrono::steady_clock::now();
  std::thread emulation([] {
    EmulationThread();
    emulationReturned.store(true);
    WakeStopSignalWaiter();
  });
  while (!emulationReturned.load()) {
    const int stopSignal = WaitForStopSignal(kStopPollMilliseconds);
    if (stopSignal != 0) NoteStopSignal(stopSignal);
    ServeHeadlessMedia(stopSignal != 0);
  }
  emulation.join();
  PresentLatestFrame();
  picturesWatched.store(true);
  picturesSkipped = false;
  FinishHeadlessSound();
  const double wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
  frameObserver = nullptr;
  FinishRunEnding();

  if (options.dumpScreen) PrintScreen();
  std::string screenshotError;
  const bool screenshotFailed = !options.screenshotPath.empty() &&
                                !WriteScreenshot(options.screenshotPath, landscapeMode.load() != 0, screenshotError);
  CloseDisplaySession();
  if (screenshotFailed) std::fprintf(stderr, "vornce: %s\n", screenshotError.c_str());
  const int mediaStatus = HeadlessMediaExitStatus();
  const int status = screenshotFailed ? kExitFileOrOptionProblem : mediaStatus != 0 ? mediaStatus : RunEndingExitStatus();
  if (const std::string message = RunEndingMessage(); !message.empty()) {
    std::fprintf(stderr, "vornce: %s\n", message.c_str());
  }
  const double emulatedSeconds = static_cast<double>(emulatedCycles) / kCyclesPerSecond;
  std::fprintf(stderr, "vornce: %.2f emulated seconds in %.3f wall seconds, %.1f times real time; %s: exit status %d\n",
               emulatedSeconds, wallSeconds, wallSeconds > 0 ? emulatedSeconds / wallSeconds : 0.0,
               RunEndingDescription().c_str(), status);
  return status;
}
