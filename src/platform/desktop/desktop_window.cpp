// desktop_window.cpp: the main window: menu bar, picture, keys, focus and dropped files.
//
// It plays the handheld application's window: the six menus with their command numbers and
// check marks, function keys posted as key down then key up, the tap that rotates the picture,
// and the focus rule (losing it pauses the emulation and suspends the display, regaining it
// resumes both). Key auto-repeat is dropped: the C64's own keyboard scan repeats keys.
// Called by: the desktop front end, which creates one window on the application thread.
#include "platform/desktop/desktop_window.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QUrl>

#include "machine/scheduler.h"
#include "platform/desktop/desktop_host.h"
#include "platform/desktop/key_mapping.h"
#include "platform/desktop/picture_widget.h"
#include "platform/display.h"
#include "shell/commands.h"
#include "shell/keyboard_input.h"
#include "shell/startup_media.h"
#include "video/presentation.h"

namespace {
constexpr int kFramePollMilliseconds = 20;
}  // namespace

DesktopWindow::DesktopWindow(int scale) : picture_(new PictureWidget(scale, this)) {
  setWindowTitle("VornCE v. 0.5 (alpha)");
  setCentralWidget(picture_);
  setAcceptDrops(true);
  setFocusPolicy(Qt::StrongFocus);
  BuildMenus();
  connect(picture_, &PictureWidget::tapped, this, [this] {
    ToggleRotation();
    RefreshFromState();
  });
  connect(&frameTimer_, &QTimer::timeout, picture_, &PictureWidget::Refresh);
  frameTimer_.start(kFramePollMilliseconds);
  RefreshFromState();
}

void DesktopWindow::BuildMenus() {
  std::map<QString, QMenu*> menus;
  for (int i = 0; i < kMenuEntryCount; ++i) {
    const MenuEntry& entry = kMenuEntries[i];
    QMenu*& popup = menus[entry.popup];
    if (popup == nullptr) popup = menuBar()->addMenu(entry.popup);
    QMenu* menu = popup;
    if (entry.submenu != nullptr) {
      QMenu*& submenu = menus[QString(entry.popup) + "/" + entry.submenu];
      if (submenu == nullptr) submenu = popup->addMenu(entry.submenu);
      menu = submenu;
    }
    if (entry.command == 0) {
      menu->addSeparator();
      continue;
    }
    QAction* action = menu->addAction(entry.text);
    action->setData(entry.command);
    const int command = entry.command;
    connect(action, &QAction::triggered, this, [this, command] { RunMenuCommand(command); });
    actions_[command] = action;
  }
}

void DesktopWindow::RunMenuCommand(int command) {
  RunCommand(command, DesktopCommandHost(this));
  RefreshFromState();
}

void DesktopWindow::RefreshFromState() {
  for (auto& [command, action] : actions_) {
    const bool checked = IsMenuItemChecked(command);
    action->setCheckable(checked || action->isCheckable());
    action->setChecked(checked);
  }
  // The rotated picture covers the whole display, so the menu bar shows in portrait only.
  menuBar()->setVisible(landscapeMode.load() == 0);
  picture_->Refresh();
  adjustSize();
}

bool DesktopWindow::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) {
    emulationRunning.store(1);
    GXResume();
  } else if (event->type() == QEvent::WindowDeactivate) {
    emulationRunning.store(0);
    GXSuspend();
  }
  return QMainWindow::event(event);
}

void DesktopWindow::HandleHostKey(QKeyEvent* event, bool down) {
  const int virtualKey = VirtualKeyFor(*event);
  if (event->isAutoRepeat() || virtualKey < 0) {
    event->ignore();
    return;
  }
  if (HandleKey(virtualKey, down)) RefreshFromState();
}

void DesktopWindow::keyPressEvent(QKeyEvent* event) { HandleHostKey(event, true); }
void DesktopWindow::keyReleaseEvent(QKeyEvent* event) { HandleHostKey(event, false); }

void DesktopWindow::dragEnterEvent(QDragEnterEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.size() == 1 && urls[0].isLocalFile() && MediaKindOf(urls[0].toLocalFile().toStdString()) != MediaKind::None) {
    event->acceptProposedAction();
  }
}

void DesktopWindow::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.size() != 1) return;
  LoadFileLikeMenu(urls[0].toLocalFile().toStdString());
  event->acceptProposedAction();
}
