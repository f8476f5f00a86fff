// headless_runner.cpp: the machine run without a window, for scripts, tests and benchmarks.
//
// The machine runs on its real emulation thread, unpaced. Between frames, on that thread, the
// runner types the --keybuf text and counts emulated time; it stops the thread at the first
// presented frame past --seconds, or at SIGINT/SIGTERM. Everything the runner prints at the end
// is read after the thread has returned.
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
#include "shell/keyboard_typist.h"
#include "shell/screen_text.h"

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
  TypeIntoKeyboardBuffer();
  if (cycleBudget != 0 && emulatedCycles >= cycleBudget) keepRunning.store(0);
}

void PrintScreen() {
  for (int row = 0; row < kTextRows; ++row) std::printf("%s\n", TextScreenLine(row).c_str());
}
}  // namespace

int RunHeadless(const LaunchOptions& options) {
  const std::string romFolder = ChooseRomFolder(options.romFolder);
  const RomLoadResult roms = LoadRomImages(romFolder);
  for (const auto& warning : roms.warnings) std::fprintf(stderr, "vornce: warning: %s\n", warning.c_str());
  if (roms.status != RomLoadStatus::Loaded) {
    std::fprintf(stderr, "vornce: %s\n", roms.error.c_str());
    return kExitMachineProblem;
  }
  if (InitMachine() == 0) {
    std::fprintf(stderr, "vornce: VornCE initialization failed\n");
    return kExitMachineProblem;
  }

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
    if (WaitForStopSignal(kStopPollMilliseconds)) keepRunning.store(0);
  }
  emulation.join();
  const double wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
  frameObserver = nullptr;

  if (options.dumpScreen) PrintScreen();
  const double emulatedSeconds = static_cast<double>(emulatedCycles) / kCyclesPerSecond;
  std::fprintf(stderr, "vornce: %.2f emulated seconds in %.3f wall seconds, %.1f times real time\n",
               emulatedSeconds, wallSeconds, wallSeconds > 0 ? emulatedSeconds / wallSeconds : 0.0);
  return 0;
}
