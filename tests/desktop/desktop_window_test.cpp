// Tests of the desktop window: menu commands, keys, focus, file dialogs and quitting.
#include <gtest/gtest.h>

#include <QAction>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <future>
#include <thread>

#include "chips/cia.h"
#include "core/cpu.h"
#include "core/machine.h"
#include "drive/disk_drive.h"
#include "machine/scheduler.h"
#include "platform/desktop/desktop_app.h"
#include "platform/desktop/desktop_window.h"
#include "platform/display.h"
#include "platform/message_box.h"
#include "shell/commands.h"
#include "shell/display_session.h"
#include "shell/key_queue.h"
#include "shell/keyboard_input.h"
#include "sound/sound_output.h"
#include "support/d64_builder.h"
#include "support/temp_folder.h"
#include "support/test_machine.h"

namespace {
QAction* ActionFor(const DesktopWindow& window, int command) {
  for (QAction* action : window.findChildren<QAction*>()) {
    if (action->data().toInt() == command) return action;
  }
  return nullptr;
}

std::string shownMessage;
void NoteMessage(const char* text, const char*) { shownMessage = text; }

// The window's drop handler reached directly: the offscreen platform delivers no drops.
struct DropTarget : DesktopWindow {
  DropTarget() : DesktopWindow(1) {}
  void Drop(const std::string& path) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    dropEvent(&drop);
  }
};

std::vector<int> CheckedCommands(const DesktopWindow& window) {
  std::vector<int> checked;
  for (QAction* action : window.findChildren<QAction*>()) {
    if (action->isChecked() && action->data().toInt() != 0) checked.push_back(action->data().toInt());
  }
  std::sort(checked.begin(), checked.end());
  return checked;
}

// One key event as the window system delivers it (QTest would add presses of the modifiers).
void SendKey(QWidget& window, int key, bool down, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
             quint32 scanCode = 0) {
  QKeyEvent event(down ? QEvent::KeyPress : QEvent::KeyRelease, key, modifiers, scanCode, 0, 0);
  QApplication::sendEvent(&window, &event);
}

// Lets the machine end three frames, which always hold a keyboard scan, and the frame observer
// apply the next key.
void ScanOnce() {
  framesEnded.fetch_add(3);
  DesktopFrameObserver();
}

bool Held(int column, int bit) { return (KeyMatrix[column].load() & (1 << bit)) == 0; }

class DesktopWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    PrepareTestMachine();
    for (auto& column : KeyMatrix) column.store(0xFF);
    joystickEnabled.store(1);
    joystickPort.store(1);
    soundEnabled.store(1);
    shiftHeld.store(0);
    ClearKeyQueue();
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
  SendKey(window, Qt::Key_Shift, true);
  ScanOnce();
  SendKey(window, Qt::Key_At, true, Qt::ShiftModifier);
  EXPECT_FALSE(Held(1, 7)) << "LEFT SHIFT let go a scan before @ goes down";
  EXPECT_FALSE(Held(5, 6));
  ScanOnce();
  EXPECT_EQ(KeyMatrix[5].load(), 0xFF & ~(1 << 6)) << "@ held";
  EXPECT_EQ(KeyMatrix[1].load(), 0xFF) << "without shift";
  SendKey(window, Qt::Key_At, false, Qt::ShiftModifier);
  ScanOnce();
  SendKey(window, Qt::Key_Shift, false);
  ScanOnce();

  SendKey(window, Qt::Key_V, true);
  ScanOnce();
  for (int column = 0; column < 8; ++column) {
    EXPECT_EQ(KeyMatrix[column].load(), column == 3 ? 0x7F : 0xFF) << column;
  }
  SendKey(window, Qt::Key_V, false);
  ScanOnce();

  SendKey(window, Qt::Key_Left, true);
  ScanOnce();
  for (int column = 0; column < 8; ++column) EXPECT_EQ(KeyMatrix[column].load(), 0xFF) << column;
  EXPECT_EQ(KeyDown[kVkLeft].load(), 1) << "the joypad direction";
  SendKey(window, Qt::Key_Left, false);
  ScanOnce();
  EXPECT_EQ(KeyDown[kVkLeft].load(), 0);
}

TEST_F(DesktopWindowTest, FastTapsStayInTheMatrixForAScanAndKeepTheirOrder) {
  // A, B, A tapped within one frame: each press and release reaches the matrix in turn.
  for (int key : {Qt::Key_A, Qt::Key_B, Qt::Key_A}) {
    SendKey(window, key, true);
    SendKey(window, key, false);
  }
  const struct {
    bool aHeld, bHeld;
  } steps[] = {{true, false}, {false, false}, {false, true}, {false, false}, {true, false}, {false, false}};
  for (const auto& step : steps) {
    EXPECT_EQ(Held(1, 2), step.aHeld) << &step - steps;
    EXPECT_EQ(Held(3, 4), step.bHeld) << &step - steps;
    // Two frame ends may not yet enclose a scan: nothing moves.
    for (int frameEnd = 0; frameEnd < 2; ++frameEnd) {
      framesEnded.fetch_add(1);
      DesktopFrameObserver();
      EXPECT_EQ(Held(1, 2), step.aHeld) << &step - steps;
      EXPECT_EQ(Held(3, 4), step.bHeld) << &step - steps;
    }
    framesEnded.fetch_add(1);
    DesktopFrameObserver();
  }
}

TEST_F(DesktopWindowTest, AKeyHeldLongerThanAScanIsReleasedAtOnce) {
  SendKey(window, Qt::Key_V, true);
  ScanOnce();
  ASSERT_TRUE(Held(3, 7));
  SendKey(window, Qt::Key_V, false);
  EXPECT_FALSE(Held(3, 7)) << "released without waiting for a frame";
}

TEST_F(DesktopWindowTest, DesktopKeysReachTheirC64KeysAndPageUpRaisesTheNmi) {
  struct Case {
    int key;
    Qt::KeyboardModifiers modifiers;
    int column, bit;
  } cases[] = {
      {Qt::Key_Tab, Qt::NoModifier, 7, 5},      {Qt::Key_Home, Qt::NoModifier, 6, 3},
      {Qt::Key_Delete, Qt::NoModifier, 0, 0},   {Qt::Key_Backslash, Qt::NoModifier, 6, 0},
      {Qt::Key_QuoteLeft, Qt::NoModifier, 7, 1}, {Qt::Key_Asterisk, Qt::KeypadModifier, 6, 1},
      {Qt::Key_Plus, Qt::KeypadModifier, 5, 0}, {Qt::Key_sterling, Qt::NoModifier, 6, 0},
  };
  for (const Case& c : cases) {
    SendKey(window, c.key, true, c.modifiers);
    ScanOnce();
    EXPECT_TRUE(Held(c.column, c.bit)) << c.key;
    SendKey(window, c.key, false, c.modifiers);
    ScanOnce();
    EXPECT_FALSE(Held(c.column, c.bit)) << c.key;
  }

  PokeBytes(0x1000, {0x4C, 0x00, 0x10});
  PokeBytes(0x3000, {0x4C, 0x00, 0x30});
  SendKey(window, Qt::Key_PageUp, true);
  for (auto& column : KeyMatrix) EXPECT_EQ(column.load(), 0xFF) << "RESTORE is not in the matrix";
  RunPassesUntilLine(kLinesPerFrame - 1);
  RunPassesUntilLine(1);
  EXPECT_EQ(CpuRegs.pc, 0x3000) << "the NMI handler runs after the frame's end";
  SendKey(window, Qt::Key_PageUp, false);
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

TEST_F(DesktopWindowTest, DroppedDisksAreAttachedAndStartedOrRefusedWithAMessage) {
  TempFolder folder;
  DiskBytes bytes = BlankD64();
  AddD64File(bytes, "HELLO", 2, {0x00, 0x30, 0xAB}, 1, 0);
  const std::string good = folder.Write("good.d64", bytes);
  const std::string bad = folder.Write("bad.d64", DiskBytes(1000));
  SetMessageBoxHandler(NoteMessage);
  PokeBytes(0x1000, {0x4C, 0x00, 0x10});
  DropTarget target;
  ASSERT_TRUE(OpenDisplaySession(&target));
  std::thread emulation(EmulationThread);

  target.Drop(bad);
  EXPECT_NE(shownMessage.find(bad), std::string::npos) << shownMessage;
  EXPECT_NE(shownMessage.find("174848, 175531, 196608 or 197376 bytes"), std::string::npos) << shownMessage;
  EXPECT_FALSE(DiskAttached());
  EXPECT_EQ(emulationRunning.load(), 1u);

  target.Drop(good);
  EXPECT_TRUE(DiskAttached());
  EXPECT_EQ(Ram[0x3000], 0xAB);
  EXPECT_EQ(Ram[0xC6], 4) << "RUN typed";
  target.RunMenuCommand(kCommandDetachDisk);
  EXPECT_FALSE(DiskAttached());
  EXPECT_EQ(emulationRunning.load(), 1u);

  EndDesktopSession(emulation);
  SetMessageBoxHandler(nullptr);
}
