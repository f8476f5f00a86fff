// headless_media.cpp: programs, cartridges and snapshots named on the command line.
//
// Everything goes through the menu commands' own code: a program is loaded with LoadPrg or
// LoadT64 once BASIC waits at its prompt, so it starts through the typed RUN; a cartridge is
// attached before the emulation thread starts, so the reset at the end of the first drawn frame
// brings it in; snapshots are restored and saved with the pause handshake. The handshake needs a
// running thread, so the thread holds itself (emulationRunning = 0) at the frame where a snapshot
// is due and the main thread does the rest: at the first presented frame, after the CPU reset,
// for --load-state, and at the run's last frame for --save-state. After a save the thread runs on
// to the next presented frame and returns.
// Called by: the headless runner.
#include "shell/headless_media.h"

#include <atomic>
#include <cstdio>

#include "machine/scheduler.h"
#include "media/snapshot.h"
#include "media/snapshot_format.h"
#include "platform/stop_signals.h"
#include "shell/exit_status.h"
#include "shell/startup_media.h"

namespace {
constexpr uint32_t kRestoreDue = 1;
constexpr uint32_t kEndDue = 2;

// Set before the emulation thread starts, only read afterwards.
std::string loadStatePath;
std::string saveStatePath;

// Emulation thread only (read by the main thread after the join).
bool firstFrameSeen = false;
bool restoreServed = false;  // the thread has run on past the hold for the restore
bool endHeld = false;

// Main thread only.
bool runEnded = false;

std::atomic<uint32_t> dueRequests{0};
std::atomic<bool> mediaFailed{false};

void Fail(const std::string& message) {
  std::fprintf(stderr, "vornce: %s\n", message.c_str());
  mediaFailed.store(true);
}

// Holds the emulation thread at this frame until the main thread has served the request.
void HoldFor(uint32_t request) {
  emulationRunning.store(0);
  dueRequests.fetch_or(request);
  WakeStopSignalWaiter();
}

void EndRun() {
  if (runEnded) return;
  runEnded = true;
  // Told to stop only afterwards: a thread that returned before acknowledging the save's pause
  // would leave the handshake waiting for ever.
  if (!saveStatePath.empty() && !mediaFailed.load() && SaveSnapshot(saveStatePath.c_str()) == 0) {
    Fail("cannot save the snapshot " + saveStatePath);
  }
  keepRunning.store(0);
}
}  // namespace

bool PrepareHeadlessMedia(const LaunchOptions& options, std::string& error) {
  loadStatePath = options.loadStatePath;
  saveStatePath = options.saveStatePath;
  firstFrameSeen = restoreServed = endHeld = runEnded = false;
  dueRequests.store(0);
  mediaFailed.store(false);
  return PrepareStartupMedia(options.mediaFile, options.diskFile, error);
}

void HeadlessMediaAfterFrame() {
  if (!firstFrameSeen) {
    firstFrameSeen = true;
    if (!loadStatePath.empty()) {
      HoldFor(kRestoreDue);
      return;
    }
  }
  restoreServed = true;
  LoadStartupProgramAtReady();
  if (StartupProgram() == StartupProgramState::Failed) {
    Fail("cannot load the program: " + StartupProgramFailure());
    keepRunning.store(0);
  }
}

bool HeadlessMediaMayEndRun() {
  const bool restoreDue = !loadStatePath.empty() && !restoreServed;
  return restoreDue || !saveStatePath.empty() || StartupProgram() == StartupProgramState::Waiting;
}

void EndHeadlessRunAtFrame() {
  // Already held in this frame (for a restore, or by a save's pause): returning now would leave
  // that handshake waiting, so the end waits its turn with the main thread too.
  const bool held = emulationRunning.load() == 0;
  if (!held && (saveStatePath.empty() || endHeld)) {
    keepRunning.store(0);
    return;
  }
  endHeld = true;
  HoldFor(kEndDue);
}

void ServeHeadlessMedia(bool stopRequested) {
  const uint32_t due = dueRequests.exchange(0);
  if ((due & kRestoreDue) != 0 && LoadSnapshot(loadStatePath.c_str()) == 0) {
    Fail("cannot load the snapshot " + loadStatePath + ": it must be a readable file of exactly " +
         std::to_string(kSnapshotSize) + " bytes");
    stopRequested = true;
  }
  if (stopRequested || (due & kEndDue) != 0) EndRun();
}

int HeadlessMediaExitStatus() {
  if (StartupProgram() == StartupProgramState::Waiting) {
    std::fprintf(stderr, "vornce: warning: BASIC never showed READY, so the program was not loaded\n");
  }
  return mediaFailed.load() ? kExitFileOrOptionProblem : 0;
}
