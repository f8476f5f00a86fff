// desktop_app.cpp: start-up and end of the desktop emulator.
//
// Start-up follows the handheld's order: the window is shown, the machine initialised, the
// display opened, the start-up flags set and the emulation thread created; the remembered
// settings (sprites mode, sound, joystick, view, scale) replace the start-up values; each failure shows its
// message box and ends the program. Qt's event loop is the message loop. At the end the thread is
// stopped and waited for before sound and display close, so it never draws or plays into a
// closed device; a paused machine is resumed for that, so quitting while paused still ends the
// program. Gamepads are read from a timer on the application thread.
// Called by: main, without --headless.
#include "platform/desktop/desktop_app.h"

#include <QApplication>
#include <QTimer>
#include <system_error>
#include <thread>

#include "core/machine.h"
#include "core/rom_images.h"
#include "machine/machine_reset.h"
#include "machine/scheduler.h"
#include "platform/desktop/desktop_host.h"
#include "platform/desktop/desktop_settings.h"
#include "platform/desktop/gamepads.h"
#include "platform/desktop/desktop_window.h"
#include "platform/message_box.h"
#include "platform/stop_signals.h"
#include "platform/wave_output.h"
#include "shell/display_session.h"
#include "shell/key_queue.h"
#include "shell/pasted_text.h"
#include "shell/launch.h"
#include "shell/startup_media.h"
#include "sound/sound_output.h"

namespace {
constexpr int kExitStartFailed = 1;
constexpr int kExitMachineProblem = 2;
constexpr int kStopPollMilliseconds = 100;
constexpr int kGamepadPollMilliseconds = 10;
}  // namespace

int RunDesktop(int argc, char** argv, const LaunchOptions& options) {
  // SIGINT and SIGTERM end the program the way Quit does; blocked before any thread starts, so
  // only the poll below sees them.
  BlockStopSignals();
  QApplication application(argc, argv);
  QTimer stopPoll;
  QObject::connect(&stopPoll, &QTimer::timeout, [] {
    if (WaitForStopSignal(0)) QCoreApplication::quit();
  });
  stopPoll.start(kStopPollMilliseconds);
  InstallDesktopMessageBoxes();

  const RomLoadResult roms = SelectRomsFor(options);
  if (roms.status != RomLoadStatus::Loaded) {
    ShowMessageBox(roms.error.c_str(), "Error!");
    return kExitMachineProblem;
  }

  // The remembered settings first: the window saves them as it lays itself out.
  LoadMachineSettings();
  WindowSettings remembered = LoadWindowSettings();
  if (options.scale != 0) remembered.scale = options.scale;
  DesktopWindow window(remembered.scale);
  window.SetView(remembered.view);
  window.show();
  if (InitMachine() == 0) {
    ShowMessageBox("VornCE initialization failed", "Error!");
    return kExitStartFailed;
  }
  if (std::string error; !PrepareStartupMedia(options.mediaFile, options.diskFile, error)) {
    ShowMessageBox(error.c_str(), "Error!");
    // a disk that cannot be used is refused, and the machine starts without it
    if (MediaKindOf(options.mediaFile) != MediaKind::DiskImage && options.diskFile.empty()) return kExitMachineProblem;
  }
  if (!OpenDisplaySession(&window)) {
    ShowMessageBox("VornCE GAPI initialization failed", "Error!");
    return kExitStartFailed;
  }
  frameSkipCountdown = 1;
  frameReady = 1;
  keepRunning.store(1);
  frameObserver = DesktopFrameObserver;
  ChooseSoundOutput(&quietSdlWaveOutput);

  // SDL's subsystems start one at a time: the gamepads here, the sound on the emulation thread.
  OpenGamepads();
  QTimer gamepadPoll;
  QObject::connect(&gamepadPoll, &QTimer::timeout, PollGamepads);
  gamepadPoll.start(kGamepadPollMilliseconds);

  std::thread emulation;
  try {
    emulation = std::thread(EmulationThread);
  } catch (const std::system_error&) {
    ShowMessageBox("CPU initialization failed", "Damn!");
    return kExitStartFailed;
  }
  const int exitCode = application.exec();

  gamepadPoll.stop();
  EndDesktopSession(emulation);
  CloseGamepads();
  return exitCode;
}

void DesktopFrameObserver() {
  LoadStartupProgramAtReady();
  ApplyQueuedKeys();
  TypePastedText();
}

void EndDesktopSession(std::thread& emulation) {
  keepRunning.store(0);
  emulationRunning.store(1);
  emulation.join();
  ShutdownSound();
  CloseDisplaySession();
}
