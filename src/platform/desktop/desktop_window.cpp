// desktop_window.cpp: the main window: menu bar, picture, keys, focus and dropped files.
//
// It plays the handheld application's window: the six menus with their command numbers and
// check marks, function keys posted as key down then key up, the tap that rotates the handheld
// picture, and the focus rule (losing it pauses the emulation and suspends the display,
// regaining it resumes both). The status bar says why a disk program stops. Keys go through a queue that holds each event until the machine has scanned it,
// so fast taps are never lost. Key auto-repeat is dropped: the C64's own keyboard scan repeats
// keys. Around them sit the desktop's own menus: Edit (paste), View (Full picture and the two
// handheld layouts, scale, full screen), Save screenshot in File and Warp in Options; every
// setting is remembered for the next run.
// Called by: the desktop front end, which creates one window on the application thread.
#include "platform/desktop/desktop_window.h"

#include <QAction>
#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QUrl>
#include <QFileInfo>

#include "drive/disk_drive.h"
#include "machine/scheduler.h"
#include "platform/desktop/desktop_host.h"
#include "platform/desktop/desktop_settings.h"
#include "platform/desktop/key_mapping.h"
#include "platform/desktop/picture_widget.h"
#include "platform/display.h"
#include "shell/commands.h"
#include "shell/key_queue.h"
#include "shell/keyboard_input.h"
#include "shell/pasted_text.h"
#include "shell/startup_media.h"
#include "video/presentation.h"

namespace {
constexpr int kFramePollMilliseconds = 20;
const char* const kOwnCodeNotice =
    "This program sends its own code to the disk drive: it needs a drive with its own processor, "
    "which drive 8 does not have.";
constexpr int kSpeedMilliseconds = 1000;
const char* const kTitle = "VornCE v. 0.5 (alpha)";
// Emulated cycles per frame: 262 lines of 64 cycles.
constexpr double kCyclesPerFrame = kLinesPerFrame * 64.0;

struct ViewEntry {
  PictureView view;
  const char* text;
};
constexpr ViewEntry kViews[] = {
    {PictureView::FullPicture, "Full picture"},
    {PictureView::HandheldPortrait, "Handheld portrait"},
    {PictureView::HandheldRotated, "Handheld rotated"},
};
}  // namespace

DesktopWindow::DesktopWindow(int scale) : picture_(new PictureWidget(scale, this)) {
  setWindowTitle(kTitle);
  setCentralWidget(picture_);
  setAcceptDrops(true);
  setFocusPolicy(Qt::StrongFocus);
  BuildMenus();
  connect(picture_, &PictureWidget::tapped, this, [this] {
    // A click in the Full picture only focuses the window; the handheld's tap rotates.
    if (picture_->View() == PictureView::FullPicture) return;
    ToggleRotation();
    RefreshFromState();
  });
  // A queued F12 may rotate the picture between frames, on the emulation thread.
  connect(&frameTimer_, &QTimer::timeout, this, [this] {
    if (landscapeMode.load() != shownLandscape_) RefreshFromState();
    picture_->Refresh();
    if (TakeOwnCodeNotice()) statusBar()->showMessage(kOwnCodeNotice);
  });
  frameTimer_.start(kFramePollMilliseconds);
  connect(&speedTimer_, &QTimer::timeout, this, &DesktopWindow::ShowSpeed);
  SetView(PictureView::FullPicture);
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
  BuildDesktopMenus(menus);
}

void DesktopWindow::BuildDesktopMenus(std::map<QString, QMenu*>& menus) {
  auto* screenshot = new QAction("Save screenshot...", this);
  menus["File"]->insertAction(actions_[kCommandQuit], screenshot);
  connect(screenshot, &QAction::triggered, this, [this] {
    const QString title = "Save screenshot";
    const QString folder = LastFolder(title);
    const QString path = QFileDialog::getSaveFileName(this, title, (folder.isEmpty() ? QString() : folder + "/") + "vornce.png",
                                                      "PNG image (*.png)");
    if (path.isEmpty()) return;
    RememberFolder(title, QFileInfo(path).absolutePath());
    SaveScreenshot(path);
  });

  QMenu* edit = new QMenu("Edit", this);
  menuBar()->insertMenu(menus["Emu"]->menuAction(), edit);
  QAction* paste = edit->addAction("Paste text", this, &DesktopWindow::PasteClipboard);
  paste->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_Insert));

  QMenu* view = new QMenu("View", this);
  menuBar()->insertMenu(menus["Emu"]->menuAction(), view);
  for (const ViewEntry& entry : kViews) {
    QAction* action = view->addAction(entry.text);
    action->setCheckable(true);
    const PictureView shown = entry.view;
    connect(action, &QAction::triggered, this, [this, shown] { SetView(shown); });
    viewActions_[entry.view] = action;
  }
  view->addSeparator();
  QMenu* scale = view->addMenu("Scale");
  for (int factor = kMinScale; factor <= kMaxScale; ++factor) {
    QAction* action = scale->addAction(QString("%1 x").arg(factor));
    action->setCheckable(true);
    connect(action, &QAction::triggered, this, [this, factor] { SetScale(factor); });
    scaleActions_[factor] = action;
  }
  view->addSeparator();
  fullScreenAction_ = view->addAction("Full screen");
  fullScreenAction_->setCheckable(true);
  fullScreenAction_->setShortcut(QKeySequence(Qt::Key_F11));
  connect(fullScreenAction_, &QAction::triggered, this, [this](bool on) { SetFullScreen(on); });

  QMenu* options = menus["Options"];
  warpAction_ = new QAction("Warp", this);
  warpAction_->setCheckable(true);
  warpAction_->setShortcut(QKeySequence(Qt::Key_F9));
  options->insertAction(options->actions().first(), warpAction_);
  connect(warpAction_, &QAction::triggered, this, [this](bool on) { SetWarp(on); });
  // Shortcuts also work while the menu bar is hidden (the rotated layout, full screen).
  addActions({paste, fullScreenAction_, warpAction_});
}

QAction* DesktopWindow::FindAction(const QString& text) const {
  for (QAction* action : findChildren<QAction*>()) {
    if (action->text() == text) return action;
  }
  return nullptr;
}

void DesktopWindow::RunMenuCommand(int command) {
  RunCommand(command, DesktopCommandHost(this));
  RefreshFromState();
}

void DesktopWindow::SetView(PictureView view) {
  landscapeMode.store(view == PictureView::HandheldRotated ? 1 : 0);
  shownLandscape_ = landscapeMode.load();
  picture_->SetView(view);
  RefreshFromState();
}

void DesktopWindow::SetScale(int scale) {
  picture_->SetScale(scale);
  RefreshFromState();
}

void DesktopWindow::SetFullScreen(bool on) {
  picture_->SetFillsScreen(on);
  if (on) {
    showFullScreen();
  } else {
    showNormal();
  }
  RefreshFromState();
}

void DesktopWindow::SetWarp(bool on) {
  warpMode.store(on ? 1 : 0);
  if (on) {
    speedFrames_ = framesEnded.load();
    speedTimer_.start(kSpeedMilliseconds);
    setWindowTitle(QString(kTitle) + " - warp");
  } else {
    speedTimer_.stop();
    setWindowTitle(kTitle);
  }
  RefreshFromState();
}

void DesktopWindow::ShowSpeed() {
  const uint32_t frames = framesEnded.load();
  const double seconds = kSpeedMilliseconds / 1000.0;
  const double percent = (frames - speedFrames_) * kCyclesPerFrame / kCyclesPerSecond / seconds * 100;
  speedFrames_ = frames;
  setWindowTitle(QString("%1 - warp, %2% speed").arg(kTitle).arg(static_cast<int>(percent + 0.5)));
}

void DesktopWindow::PasteClipboard() { PasteText(PetsciiForPaste(QGuiApplication::clipboard()->text().toStdString())); }

bool DesktopWindow::SaveScreenshot(const QString& path) { return picture_->ShownImage().save(path, "PNG"); }

void DesktopWindow::RefreshFromState() {
  for (auto& [command, action] : actions_) {
    const bool checked = IsMenuItemChecked(command);
    action->setCheckable(checked || action->isCheckable());
    action->setChecked(checked);
  }
  // F12 and the tap toggle between the two handheld layouts, also from the Full picture.
  const uint32_t landscape = landscapeMode.load();
  if (landscape != shownLandscape_) {
    picture_->SetView(landscape != 0 ? PictureView::HandheldRotated : PictureView::HandheldPortrait);
  }
  shownLandscape_ = landscape;
  for (auto& [view, action] : viewActions_) action->setChecked(view == picture_->View());
  for (auto& [factor, action] : scaleActions_) action->setChecked(factor == picture_->Scale());
  fullScreenAction_->setChecked(isFullScreen());
  warpAction_->setChecked(warpMode.load() != 0);
  // The rotated picture covers the whole display, so the menu bar hides there only.
  menuBar()->setVisible(picture_->View() != PictureView::HandheldRotated);
  picture_->Refresh();
  if (!isFullScreen()) adjustSize();
  SaveSettings({picture_->View(), picture_->Scale()});
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
  QueueKey(virtualKey, down);
}

void DesktopWindow::QueueKey(int virtualKey, bool down) {
  if (::QueueKey(virtualKey, down)) RefreshFromState();
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
