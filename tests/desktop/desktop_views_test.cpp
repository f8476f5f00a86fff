// Tests of the desktop's own menus: views and scale, screenshots, warp, settings and paste.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMenuBar>
#include <QSettings>
#include <QTest>

#include "chips/cia.h"
#include "chips/vic.h"
#include "core/machine.h"
#include "machine/scheduler.h"
#include "platform/desktop/desktop_settings.h"
#include "platform/desktop/desktop_window.h"
#include "platform/wave_output.h"
#include "running_machine.h"
#include "shell/commands.h"
#include "shell/key_queue.h"
#include "shell/keyboard_input.h"
#include "shell/pasted_text.h"
#include "sound/sound_output.h"
#include "support/temp_folder.h"
#include "support/test_machine.h"
#include "video/full_picture.h"
#include "video/palette.h"
#include "video/presentation.h"

namespace {
class DesktopViewsTest : public testing::Test {
 protected:
  void SetUp() override {
    PrepareTestMachine();
    landscapeMode.store(0);
    warpMode.store(0);
    ClearKeyQueue();
  }
  void TearDown() override {
    warpMode.store(0);
    landscapeMode.store(0);
  }
};

// A palette colour as the window shows it: RGB565, each component widened by repeating its top
// bits.
QColor ShownColour(int index) {
  const uint16_t pixel = palette565[index];
  return QColor(((pixel >> 11) << 3) | (pixel >> 13), (((pixel >> 5) & 63) << 2) | ((pixel >> 9) & 3),
                ((pixel & 31) << 3) | ((pixel >> 2) & 7));
}

std::vector<QString> CheckedTexts(const DesktopWindow& window) {
  std::vector<QString> texts;
  for (QAction* action : window.findChildren<QAction*>()) {
    if (action->isChecked() && action->data().toInt() == 0) texts.push_back(action->text());
  }
  std::sort(texts.begin(), texts.end());
  return texts;
}
}  // namespace

TEST_F(DesktopViewsTest, ViewMenuSetsTheLayoutSizeMenuBarAndCheckMarks) {
  DesktopWindow window(2);
  window.show();
  EXPECT_EQ(window.View(), PictureView::FullPicture) << "the window opens in the Full picture";
  struct Case {
    const char* item;
    uint32_t landscape;
    QSize pictureSize;
    bool menuBar;
    std::vector<QString> checked;
  } cases[] = {
      {"Handheld portrait", 0, {480, 640}, true, {"2 x", "Handheld portrait"}},
      {"Handheld rotated", 1, {640, 480}, false, {"2 x", "Handheld rotated"}},
      {"3 x", 1, {960, 720}, false, {"3 x", "Handheld rotated"}},
      {"Full picture", 0, {384 * 3, 264 * 3}, true, {"3 x", "Full picture"}},
      {"1 x", 0, {384, 264}, true, {"1 x", "Full picture"}},
  };
  for (const Case& c : cases) {
    window.FindAction(c.item)->trigger();
    EXPECT_EQ(landscapeMode.load(), c.landscape) << c.item;
    EXPECT_EQ(window.centralWidget()->size(), c.pictureSize) << c.item;
    EXPECT_EQ(window.menuBar()->isVisible(), c.menuBar) << c.item;
    EXPECT_EQ(CheckedTexts(window), c.checked) << c.item;
  }
}

TEST_F(DesktopViewsTest, F12AndTheClickToggleTheHandheldLayouts) {
  DesktopWindow window(1);
  window.FindAction("Handheld portrait")->trigger();
  QTest::mouseClick(window.centralWidget(), Qt::LeftButton);
  EXPECT_EQ(window.View(), PictureView::HandheldRotated);
  EXPECT_EQ(landscapeMode.load(), 1u);
  window.QueueKey(kVkRecordButton, true);
  framesEnded.fetch_add(3);
  window.QueueKey(kVkRecordButton, false);
  EXPECT_EQ(window.View(), PictureView::HandheldPortrait);
  EXPECT_EQ(landscapeMode.load(), 0u);

  window.FindAction("Full picture")->trigger();
  QTest::mouseClick(window.centralWidget(), Qt::LeftButton);
  EXPECT_EQ(window.View(), PictureView::FullPicture) << "a click in the Full picture only focuses";
}

TEST_F(DesktopViewsTest, FullScreenKeepsTheAspectWithBlackAround) {
  DesktopWindow window(1);
  window.show();
  window.FindAction("Full screen")->trigger();
  EXPECT_TRUE(window.isFullScreen());
  auto* picture = static_cast<PictureWidget*>(window.centralWidget());
  picture->resize(1000, 400);
  const QRect shown = picture->PictureRect();
  EXPECT_EQ(shown.height(), 400);
  EXPECT_EQ(shown.width(), 400 * 384 / 264);
  EXPECT_EQ(shown.left(), (1000 - shown.width()) / 2);
  window.FindAction("Full screen")->trigger();
  EXPECT_FALSE(window.isFullScreen());
  EXPECT_EQ(picture->size(), QSize(384, 264));
}

TEST_F(DesktopViewsTest, ScreenshotHoldsTheFullPictureWithItsBorder) {
  for (int y = 0; y < kFullPictureHeight; ++y) {
    for (int x = 0; x < kFullPictureWidth; ++x) FrameBuffer[y * kFullPictureWidth + x] = x < 160 ? 6 : 7;
  }
  borderColor = 2;
  PublishFullPicture();
  DesktopWindow window(2);
  TempFolder folder;
  const QString path = QString::fromStdString((folder.path() / "shot.png").string());
  ASSERT_TRUE(window.SaveScreenshot(path));
  QImage shot(path);
  ASSERT_EQ(shot.size(), QSize(768, 528));
  const struct {
    int x, y, colour;
  } points[] = {{0, 0, 2}, {767, 527, 2}, {63, 100, 2}, {64, 64, 6}, {383, 463, 6}, {384, 64, 7}, {703, 463, 7}, {704, 300, 2}};
  for (const auto& p : points) {
    EXPECT_EQ(shot.pixelColor(p.x, p.y), ShownColour(p.colour)) << p.x << "," << p.y;
  }
  EXPECT_FALSE(window.SaveScreenshot("/nonexistent-folder/shot.png"));
}

TEST_F(DesktopViewsTest, WarpRunsUnpacedAndSilentUntilSwitchedOff) {
  DesktopWindow window(1);
  PokeBytes(0x1000, {0x4C, 0x00, 0x10});
  ChooseSoundOutput(&timedWaveOutput);
  InitSound();
  const uint8_t samples[4] = {1, 2, 3, 4};
  for (bool warp : {true, false}) {
    if (warp != (warpMode.load() != 0)) window.FindAction("Warp")->trigger();
    EXPECT_EQ(window.windowTitle().contains("warp"), warp);
    EXPECT_EQ(window.FindAction("Warp")->isChecked(), warp);
    // A full sound queue holds the CPU, except in warp.
    queuedSoundBuffers.store(kThrottleQueueLimit + 1);
    throttleCycleCount = kThrottlePeriod;
    const uint32_t before = cycleClock;
    RunEmulationPass();
    EXPECT_EQ(cycleClock != before, warp) << "warp " << warp;
    queuedSoundBuffers.store(0);
    QueueSoundBlock(samples, 4);
    EXPECT_EQ(queuedSoundBuffers.load(), warp ? 0 : 1) << "warp " << warp;
  }
  EXPECT_EQ(window.FindAction("Warp")->shortcut(), QKeySequence(Qt::Key_F9));
  ShutdownSound();
  ChooseSoundOutput(nullptr);
}

TEST_F(DesktopViewsTest, SettingsComeBackInTheNextRun) {
  QFile::remove(SettingsPath());
  {
    DesktopWindow window(1);
    window.FindAction("Handheld rotated")->trigger();
    window.FindAction("3 x")->trigger();
    window.RunMenuCommand(kCommandSoundOff);
    window.RunMenuCommand(kCommandJoystick1);
    window.RunMenuCommand(kCommandFastSprites);
  }
  EXPECT_TRUE(SettingsPath().startsWith(qEnvironmentVariable("XDG_CONFIG_HOME")));
  soundEnabled.store(1);
  joystickPort.store(1);
  accurateSprites.store(1);
  LoadMachineSettings();
  EXPECT_EQ(soundEnabled.load(), 0u);
  EXPECT_EQ(joystickEnabled.load(), 1u);
  EXPECT_EQ(joystickPort.load(), 2);
  EXPECT_EQ(accurateSprites.load(), 0u);
  const WindowSettings remembered = LoadWindowSettings();
  EXPECT_EQ(remembered.view, PictureView::HandheldRotated);
  EXPECT_EQ(remembered.scale, 3);

  RememberFolder("Load a program", "/tmp/programs");
  EXPECT_EQ(LastFolder("Load a program"), "/tmp/programs");
  EXPECT_EQ(LastFolder("Load a cartridge"), "");

  {
    QSettings damaged(SettingsPath(), QSettings::IniFormat);
    damaged.setValue("window/view", 7);
    damaged.setValue("window/scale", 9);
  }
  EXPECT_EQ(LoadWindowSettings().view, PictureView::FullPicture);
  EXPECT_EQ(LoadWindowSettings().scale, 2);
  QFile::remove(SettingsPath());
  soundEnabled.store(1);
  joystickPort.store(1);
  accurateSprites.store(1);
}

TEST(DesktopPaste, TextBecomesTheKeysTheC64Types) {
  struct Case {
    std::string text, petscii;
  } cases[] = {
      {"print 2+2\n", "PRINT 2+2\r"},
      {"10 Print \"Hi\"\r\n20 goto 10\r", "10 PRINT \"HI\"\r20 GOTO 10\r"},
      {"a\tb", "A B"},
      {"{x}`~|\\^_@", "[X]_\\^_@"},
      {"caf\xC3\xA9!", "CAF!"},
  };
  for (const Case& c : cases) EXPECT_EQ(PetsciiForPaste(c.text), c.petscii) << c.text;
}

TEST(DesktopPaste, AFiftyLineListingArrivesWhole) {
  DesktopWindow window(1);
  RunningMachine machine;
  if (!machine.Start(window)) GTEST_SKIP() << "the genuine ROM images are not in $VORNCE_ROMS or ../shared/roms";
  ASSERT_TRUE(machine.WaitForText("READY."));
  QString listing;
  for (int line = 1; line <= 50; ++line) listing += QString("%1 print \"line %1 of the listing\"\n").arg(line * 10);
  // Printed only once every line before it has been entered.
  listing += "print 12345*2\n";
  QGuiApplication::clipboard()->setText(listing);
  window.FindAction("Paste text")->trigger();
  ASSERT_TRUE(machine.WaitForText(" 24690"));
  // The program's lines, by walking BASIC's link chain from $0801.
  PauseEmulation();
  std::vector<int> numbers;
  for (uint16_t at = 0x0801; Ram[at] | Ram[at + 1]; at = static_cast<uint16_t>(Ram[at] | Ram[at + 1] << 8)) {
    numbers.push_back(Ram[at + 2] | Ram[at + 3] << 8);
    if (numbers.size() > 60) break;
  }
  ResumeEmulation();
  std::string listed;
  for (int number : numbers) listed += std::to_string(number) + " ";
  ASSERT_EQ(numbers.size(), 50u) << listed;
  for (int i = 0; i < 50; ++i) EXPECT_EQ(numbers[i], (i + 1) * 10);
}
