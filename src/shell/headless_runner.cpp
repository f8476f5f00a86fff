// headless_runner.cpp: the machine run without a window, for scripts, tests and benchmarks.
//
// The machine runs on its real emulation thread, unpaced unless --realtime asks for real speed.
// Between frames, on that thread, the runner types the --keybuf text and counts emulated time;
// it stops the thread at the first presented frame past --seconds, or at SIGINT/SIGTERM.
// Everything the runner prints at the end is read after the thread has returned. The display is
// opened before the thread starts, and --screenshot saves the last presented picture once the
// thread has returned.
// Called by: main, for --headless.
#include "shell/headless_runner.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "core/machine.h"
#include "core/rom_images.h"
#include "core/scheduler.h"
#include "platform/stop_signals.h"
#include "shell/display_session.h"
#include "shell/headless_media.h"
#include "shell/headless_sound.h"
#include "shell/keyboard_typist.h"
#include "shell/launch.h"
#include "shell/screen_text.h"
#include "shell/screenshot.h"
#include "video/presentation.h"

namespace {
constexpr int kExitMachineProblem = 2;
constexpr int kStopPollMilliseconds = 5;

// Written on the emulation thread, read by the main thread once it has been joined.
uint64_t emulatedCycles = 0;
uint64_t cycleBudget = 0;  // 0: no limit
uint32_t lastCycleClock = 0;
std::atomic<bool> emulationReturned{false};

void OnFrameEnd() {
  // cycleClock wraps at 2^32; the unsigned difference is right across the wrap.
  emulatedCycles += cycleClock - lastCycleClock;
  lastCycleClock = cycleClock;
  HeadlessMediaAfterFrame();
  TypeIntoKeyboardBuffer();
  if (cycleBudget != 0 && emulatedCycles >= cycleBudget) EndHeadlessRunAtFrame();
}

void PrintScreen() {
  for (int row = 0; row < kTextRows; ++row) std::printf("%s\n", TextScreenLine(row).c_str());
}
}  // namespace

int RunHeadless(const LaunchOptions& options) {
  const RomLoadResult roms = SelectRomsFor(options);
  if (roms.status != RomLoadStatus::Loaded) {
    std::fprintf(stderr, "vornce: %s\n", roms.error.c_str());
    return kExitMachineProblem;
  }
  std::string soundError;
  if (!SetUpHeadlessSound(options, soundError)) {
    std::fprintf(stderr, "vornce: %s\n", soundError.c_str());
    return kExitMachineProblem;
  }
  if (InitMachine() == 0) {
    std::fprintf(stderr, "vornce: VornCE initialization failed\n");
    return kExitMachineProblem;
  }
  if (std::string mediaError; !PrepareHeadlessMedia(options, mediaError)) {
    std::fprintf(stderr, "vornce: %s\n", mediaError.c_str());
    return kExitMachineProblem;
  }
  if (!OpenDisplaySession(nullptr)) {
    std::fprintf(stderr, "vornce: VornCE GAPI initialization failed\n");
    return kExitMachineProblem;
  }
  landscapeMode.store(options.landscape ? 1 : 0);

  emulatedCycles = 0;
  lastCycleClock = cycleClock;
  cycleBudget = static_cast<uint64_t>(options.seconds * kCyclesPerSecond);
  StartTyping(options.typedText);
  frameObserver = OnFrameEnd;
  emulationRunning.store(1);
  keepRunning.store(1);
  emulationReturned.store(false);

  BlockStopSignals();
  const auto wallStart = std::chrono::steady_clock::now();
  std::thread emulation([] {
    EmulationThread();
    emulationReturned.store(true);
  });
  while (!emulationReturned.load()) {
    ServeHeadlessMedia(WaitForStopSignal(kStopPollMilliseconds));
  }
  emulation.join();
  FinishHeadlessSound();
  const double wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
  frameObserver = nullptr;

  if (options.dumpScreen) PrintScreen();
  const double emulatedSeconds = static_cast<double>(emulatedCycles) / kCyclesPerSecond;
  std::fprintf(stderr, "vornce: %.2f emulated seconds in %.3f wall seconds, %.1f times real time\n",
               emulatedSeconds, wallSeconds, wallSeconds > 0 ? emulatedSeconds / wallSeconds : 0.0);
  std::string screenshotError;
  const bool screenshotFailed = !options.screenshotPath.empty() &&
                                !WriteScreenshot(options.screenshotPath, landscapeMode.load() != 0, screenshotError);
  CloseDisplaySession();
  if (screenshotFailed) {
    std::fprintf(stderr, "vornce: %s\n", screenshotError.c_str());
    return kExitMachineProblem;
  }
  return HeadlessMediaExitStatus();
}
