// Tests of the desktop window: menu commands, keys, focus, file dialogs and quitting.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <future>
#include <thread>

#include "chips/cia.h"
#include "core/machine.h"
#include "machine/scheduler.h"
#include "platform/desktop/desktop_app.h"
#include "platform/desktop/desktop_window.h"
#include "platform/display.h"
#include "shell/commands.h"
#include "shell/display_session.h"
#include "shell/keyboard_input.h"
#include "sound/sound_output.h"
#include "support/test_machine.h"

namespace {
QAction* ActionFor(const DesktopWindow& window, int command) {
  for (QAction* action : window.findChildren<QAction*>()) {
    if (action->data().toInt() == command) return action;
  }
  return nullptr;
}

std::vector<int> CheckedCommands(const DesktopWindow& window) {
  std::vector<int> checked;
  for (QAction* action : window.findChildren<QAction*>()) {
    if (action->isChecked()) checked.push_back(action->data().toInt());
  }
  std::sort(checked.begin(), checked.end());
  return checked;
}

class DesktopWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    PrepareTestMachine();
    for (auto& column : KeyMatrix) column.store(0xFF);
    joystickEnabled.store(1);
    joystickPort.store(1);
    soundEnabled.store(1);
    shiftHeld.store(0);
  }
  DesktopWindow window{1};
};
}  // namespace

TEST_F(DesktopWindowTest, MenuCommandsChangeTheirStateAndCheckMarks) {
  EXPECT_EQ(CheckedCommands(window), (std::vector<int>{kCommandJoystick2, kCommandAccurateSprites, kCommandSoundOn}));
  struct Case {
    int command;
    uint32_t accurate, joystick, port, sound;
    std::vector<int> checked;
  } cases[] = {
      {kCommandFastSprites, 0, 1, 1, 1, {kCommandJoystick2, kCommandFastSprites, kCommandSoundOn}},
      {kCommandKeyboard, 0, 0, 1, 1, {kCommandKeyboard, kCommandFastSprites, kCommandSoundOn}},
      {kCommandJoystick1, 0, 1, 2, 1, {kCommandJoystick1, kCommandFastSprites, kCommandSoundOn}},
      {kCommandSoundOff, 0, 1, 2, 0, {kCommandJoystick1, kCommandFastSprites, kCommandSoundOff}},
      {kCommandAccurateSprites, 1, 1, 2, 0, {kCommandJoystick1, kCommandAccurateSprites, kCommandSoundOff}},
      {kCommandJoystick2, 1, 1, 1, 0, {kCommandJoystick2, kCommandAccurateSprites, kCommandSoundOff}},
      {kCommandSoundOn, 1, 1, 1, 1, {kCommandJoystick2, kCommandAccurateSprites, kCommandSoundOn}},
  };
  for (const Case& c : cases) {
    ActionFor(window, c.command)->trigger();
    EXPECT_EQ(accurateSprites.load(), c.accurate) << c.command;
    EXPECT_EQ(joystickEnabled.load(), c.joystick) << c.command;
    EXPECT_EQ(joystickPort.load(), c.port) << c.command;
    EXPECT_EQ(soundEnabled.load(), c.sound) << c.command;
    EXPECT_EQ(CheckedCommands(window), c.checked) << c.command;
  }
  resetAtFrameEnd.store(0);
  ActionFor(window, kCommandReset)->trigger();
  EXPECT_EQ(resetAtFrameEnd.load(), 1u);
}

TEST_F(DesktopWindowTest, TypedKeysReachTheKeyboardMatrix) {
  QTest::keyPress(&window, Qt::Key_Shift);
  QTest::keyPress(&window, Qt::Key_At, Qt::ShiftModifier);
  EXPECT_EQ(KeyMatrix[5].load(), 0xFF & ~(1 << 6)) << "@ held";
  EXPECT_EQ(KeyMatrix[1].load(), 0xFF) << "without shift";
  QTest::keyRelease(&window, Qt::Key_At, Qt::ShiftModifier);
  QTest::keyRelease(&window, Qt::Key_Shift);

  QTest::keyPress(&window, Qt::Key_V);
  for (int column = 0; column < 8; ++column) {
    EXPECT_EQ(KeyMatrix[column].load(), column == 3 ? 0x7F : 0xFF) << column;
  }
  QTest::keyRelease(&window, Qt::Key_V);

  QTest::keyPress(&window, Qt::Key_Left);
  for (int column = 0; column < 8; ++column) EXPECT_EQ(KeyMatrix[column].load(), 0xFF) << column;
  EXPECT_EQ(KeyDown[kVkLeft].load(), 1) << "the joypad direction";
  QTest::keyRelease(&window, Qt::Key_Left);
  EXPECT_EQ(KeyDown[kVkLeft].load(), 0);
}

TEST_F(DesktopWindowTest, FocusLossPausesAndSuspendsTheDisplayUntilFocusReturns) {
  ASSERT_TRUE(OpenDisplaySession(&window));
  QEvent deactivate(QEvent::WindowDeactivate);
  QApplication::sendEvent(&window, &deactivate);
  EXPECT_EQ(emulationRunning.load(), 0u);
  EXPECT_EQ(GXBeginDraw(), nullptr);

  QEvent activate(QEvent::WindowActivate);
  QApplication::sendEvent(&window, &activate);
  EXPECT_EQ(emulationRunning.load(), 1u);
  EXPECT_NE(GXBeginDraw(), nullptr);
  GXEndDraw();
  CloseDisplaySession();
}

TEST_F(DesktopWindowTest, CancelledFileDialogResumesWithTheSoundSettingRestored) {
  for (uint32_t soundBefore : {1u, 0u}) {
    soundEnabled.store(soundBefore);
    emulationRunning.store(1);
    uint32_t runningDuringDialog = 9, soundDuringDialog = 9;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
      if (QWidget* dialog = QApplication::activeModalWidget()) {
        runningDuringDialog = emulationRunning.load();
        soundDuringDialog = soundEnabled.load();
        dialog->close();
      }
    });
    closer.start(10);
    const uint8_t before = Ram[0x0801];
    window.RunMenuCommand(kCommandLoadProgram);
    EXPECT_EQ(runningDuringDialog, 0u);
    EXPECT_EQ(soundDuringDialog, 0u);
    EXPECT_EQ(emulationRunning.load(), 1u);
    EXPECT_EQ(soundEnabled.load(), soundBefore);
    EXPECT_EQ(Ram[0x0801], before) << "nothing loaded";
  }
}

TEST_F(DesktopWindowTest, QuitWhilePausedStillEndsTheProgram) {
  PokeBytes(0x1000, {0x4C, 0x00, 0x10});
  ASSERT_TRUE(OpenDisplaySession(&window));
  std::thread emulation(EmulationThread);
  QEvent deactivate(QEvent::WindowDeactivate);
  QApplication::sendEvent(&window, &deactivate);
  PauseEmulation();

  window.RunMenuCommand(kCommandQuit);
  QApplication::exec();  // returns at the posted quit

  auto ended = std::async(std::launch::async, [&] { EndDesktopSession(emulation); });
  EXPECT_EQ(ended.wait_for(std::chrono::seconds(5)), std::future_status::ready);
}
