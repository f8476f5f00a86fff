// desktop_host.h: the desktop's services for the emulator's commands and messages.
#pragma once

#include "shell/commands.h"

class QWidget;

// File dialogs, dialogs, quitting and posted keys, all owned by window.
CommandHost DesktopCommandHost(QWidget* window);

// Shows the emulator's messages as Qt message boxes from now on.
void InstallDesktopMessageBoxes();
