// running_machine.cpp: the genuine ROMs booted behind a desktop window, for the tests that type
// into BASIC; and key events sent the way the window system sends them.
#include "running_machine.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <chrono>

#include "core/cpu.h"
#include "core/machine.h"
#include "core/rom_images.h"
#include "machine/machine_reset.h"
#include "machine/scheduler.h"
#include "platform/desktop/desktop_app.h"
#include "shell/key_queue.h"
#include "shell/display_session.h"
#include "shell/screen_text.h"
#include "sound/sound_output.h"
#include "support/temp_folder.h"
#include "support/test_machine.h"

bool RunningMachine::Start(QWidget& window) {
  PrepareTestMachine();
  const std::string folder = GenuineRomFolder();
  if (folder.empty() || LoadRomImages(folder).status != RomLoadStatus::Loaded) return false;
  ResetMachine();
  ResetCpu();
  ChooseSoundOutput(nullptr);
  ClearKeyQueue();
  frameObserver = DesktopFrameObserver;
  if (!OpenDisplaySession(&window)) return false;
  emulation_ = std::thread(EmulationThread);
  return true;
}

RunningMachine::~RunningMachine() {
  if (!emulation_.joinable()) return;
  keepRunning.store(0);
  emulationRunning.store(1);
  emulation_.join();
  ShutdownSound();
  CloseDisplaySession();
}

bool RunningMachine::WaitForText(const std::string& text, int timeoutMilliseconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMilliseconds);
  while (std::chrono::steady_clock::now() < end) {
    PauseEmulation();
    const bool shown = ScreenShowsText(text);
    ResumeEmulation();
    if (shown) return true;
    QTest::qWait(20);
  }
  return false;
}

std::string RunningMachine::ScreenCodes(int row, int count) {
  PauseEmulation();
  std::string codes;
  for (int i = 0; i < count; ++i) codes += static_cast<char>(Ram[0x0400 + row * 40 + i] & 0x7F);
  ResumeEmulation();
  return codes;
}

void SendKey(QWidget& window, int key, bool down, Qt::KeyboardModifiers modifiers) {
  QKeyEvent event(down ? QEvent::KeyPress : QEvent::KeyRelease, key, modifiers);
  QApplication::sendEvent(&window, &event);
}

void TypeKey(QWidget& window, int key, bool shifted) {
  const Qt::KeyboardModifiers modifiers = shifted ? Qt::ShiftModifier : Qt::NoModifier;
  if (shifted) SendKey(window, Qt::Key_Shift, true);
  SendKey(window, key, true, modifiers);
  SendKey(window, key, false, modifiers);
  if (shifted) SendKey(window, Qt::Key_Shift, false, modifiers);
}
