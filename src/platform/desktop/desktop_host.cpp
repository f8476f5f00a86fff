// desktop_host.cpp: Qt dialogs and message boxes in place of the handheld's.
//
// The three open-file dialogs (each opening in the folder it last chose from), the About and "Keys usage" boxes, quitting and posted function
// keys. Messages raised on the emulation thread are queued to the application thread and shown
// there; the emulation thread carries on without waiting, so closing the window can never wait
// on a message box that the window's own thread has yet to show.
// Called by: the desktop window's menu commands and the emulator's message-box calls.
#include "platform/desktop/desktop_host.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QThread>

#include "platform/desktop/desktop_settings.h"
#include "platform/message_box.h"

namespace {
QPointer<QWidget> hostWindow;

const char* const kAboutText =
    "VornCE\n\nA Commodore 64 emulator.\nCredits: the VornCE team.\n\n"
    "This build is made for Linux desktops.\n\nVornCE is free of charge.";
const char* const kKeysUsageText =
    "Keys usage:\n\n"
    "Joypad (cursor keys) - as joystick; C64 cursor keys after Emu > Keyboard (shift reverses)\n"
    "Right buttons (Right Ctrl, Left Alt) - FIRE\n"
    "Left buttons (Esc) - RUN/STOP\n"
    "REC button (F12) - rotate screen (a click on the handheld picture too)\n\n"
    "Tab - Commodore key\nLeft Ctrl - CTRL\nHome - CLR/HOME (with shift: CLR)\n"
    "Backspace, Delete - INST/DEL (Insert: INST)\nPage Up - RESTORE\n"
    "\\ - pound\nShift+6 (^) - up arrow\n` or Shift+- (_) - left arrow\n"
    "F1-F8 - the C64's function keys\n\n"
    "Gamepad - joystick: D-pad or left stick, A/B fire, Start RUN/STOP\n"
    "F9 - warp    F11 - full screen    Shift+Insert - paste text";

bool ChooseFile(const FileDialogSetup& setup, std::string& path) {
  // Linux file names are case-sensitive, so the patterns are offered in both cases.
  QStringList patterns = QString(setup.filterPatterns).split(';');
  for (const QString& pattern : QStringList(patterns)) patterns << pattern.toUpper();
  const QString filter = QString("%1 (%2)").arg(setup.filterDescription, patterns.join(' '));
  QFileDialog dialog(hostWindow, setup.title, LastFolder(setup.title), filter);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(setup.defaultExtension);
  dialog.selectFile(setup.initialName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  path = dialog.selectedFiles().first().toStdString();
  RememberFolder(setup.title, dialog.directory().absolutePath());
  return true;
}

void PostQuit() { QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection); }

void PostKey(int virtualKey, bool down) {
  QMetaObject::invokeMethod(hostWindow, "QueueKey", Qt::QueuedConnection, Q_ARG(int, virtualKey), Q_ARG(bool, down));
}

void ShowInfo(InfoDialog dialog) {
  if (dialog == InfoDialog::About) {
    QMessageBox::about(hostWindow, "About", kAboutText);
    return;
  }
  QMessageBox::information(hostWindow, "Keys Usage", kKeysUsageText);
}

void ShowDesktopMessage(const char* text, const char* caption) {
  const QString message(text), title(caption);
  auto show = [message, title] { QMessageBox::warning(nullptr, title, message); };
  if (QThread::currentThread() == qApp->thread()) {
    show();
  } else {
    QMetaObject::invokeMethod(qApp, show, Qt::QueuedConnection);
  }
}
}  // namespace

CommandHost DesktopCommandHost(QWidget* window) {
  hostWindow = window;
  return {ChooseFile, PostQuit, PostKey, ShowInfo};
}

void InstallDesktopMessageBoxes() { SetMessageBoxHandler(ShowDesktopMessage); }
