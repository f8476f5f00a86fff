// desktop_settings.cpp: the settings file, an INI file in the user's configuration folder.
//
// Stored: the view and scale, Sound ON/OFF, the joystick port (or Keyboard), the sprites mode and
// the last folder of each file dialog. Values read back are checked: an unknown or out-of-range
// value gives the default, so a damaged file cannot start the emulator in a state the menus
// cannot show.
// Left out: the window's position, and anything the command line already chooses per run.
// Called by: the desktop front end at start-up and the window whenever a setting changes.
#include "platform/desktop/desktop_settings.h"

#include <QSettings>
#include <QStandardPaths>

#include "chips/cia.h"
#include "machine/scheduler.h"
#include "sound/sound_output.h"

namespace {
// The joystick setting as one number: 0 Keyboard, 1 control port 2, 2 control port 1.
int JoystickSetting() { return joystickEnabled.load() == 0 ? 0 : joystickPort.load(); }
}  // namespace

QString SettingsPath() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/vornce/vornce.conf";
}

WindowSettings LoadWindowSettings() {
  QSettings settings(SettingsPath(), QSettings::IniFormat);
  WindowSettings window;
  const int view = settings.value("window/view", 0).toInt();
  if (view >= 0 && view <= static_cast<int>(PictureView::HandheldRotated)) window.view = static_cast<PictureView>(view);
  const int scale = settings.value("window/scale", window.scale).toInt();
  if (scale >= kMinScale && scale <= kMaxScale) window.scale = scale;
  return window;
}

void LoadMachineSettings() {
  QSettings settings(SettingsPath(), QSettings::IniFormat);
  soundEnabled.store(settings.value("machine/sound", 1).toInt() == 0 ? 0 : 1);
  accurateSprites.store(settings.value("machine/fastSprites", 0).toInt() == 0 ? 1 : 0);
  const int joystick = settings.value("machine/joystick", 1).toInt();
  joystickEnabled.store(joystick == 0 ? 0 : 1);
  joystickPort.store(joystick == 2 ? 2 : 1);
}

void SaveSettings(const WindowSettings& window) {
  QSettings settings(SettingsPath(), QSettings::IniFormat);
  settings.setValue("window/view", static_cast<int>(window.view));
  settings.setValue("window/scale", window.scale);
  settings.setValue("machine/sound", soundEnabled.load() != 0 ? 1 : 0);
  settings.setValue("machine/fastSprites", accurateSprites.load() == 0 ? 1 : 0);
  settings.setValue("machine/joystick", JoystickSetting());
}

QString LastFolder(const QString& dialogTitle) {
  QSettings settings(SettingsPath(), QSettings::IniFormat);
  return settings.value("folders/" + dialogTitle).toString();
}

void RememberFolder(const QString& dialogTitle, const QString& folder) {
  QSettings settings(SettingsPath(), QSettings::IniFormat);
  settings.setValue("folders/" + dialogTitle, folder);
}
