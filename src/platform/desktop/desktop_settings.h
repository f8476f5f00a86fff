// desktop_settings.h: what the desktop emulator remembers between runs.
#pragma once

#include <QString>

#include "platform/desktop/picture_widget.h"

struct WindowSettings {
  PictureView view = PictureView::FullPicture;
  int scale = 2;
};

// $XDG_CONFIG_HOME/vornce/vornce.conf (by default ~/.config/vornce/vornce.conf).
QString SettingsPath();

// The remembered view and scale, or the defaults on a first run.
WindowSettings LoadWindowSettings();
// The remembered sound, joystick port and sprites mode, put into the machine's flags.
void LoadMachineSettings();
// Remembers the view and scale and the machine's current sound, joystick and sprites settings.
void SaveSettings(const WindowSettings& window);

// The folder a file dialog last chose a file in, by the dialog's title; empty when none.
QString LastFolder(const QString& dialogTitle);
void RememberFolder(const QString& dialogTitle, const QString& folder);
