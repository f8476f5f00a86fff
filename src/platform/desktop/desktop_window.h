// desktop_window.h: the emulator's main window on a Linux desktop.
#pragma once

#include <QMainWindow>
#include <QTimer>
#include <map>

#include "platform/desktop/picture_widget.h"

class QAction;
class QMenu;

class DesktopWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit DesktopWindow(int scale);

  // Runs a menu command exactly as choosing it from the menu would.
  void RunMenuCommand(int command);
  // Re-reads the check marks and the layout from the emulator's state, and remembers them.
  void RefreshFromState();
  // Hands a key event to the keyboard in typing order, one machine scan apart.
  Q_INVOKABLE void QueueKey(int virtualKey, bool down);

  void SetView(PictureView view);
  PictureView View() const { return picture_->View(); }
  void SetScale(int scale);
  void SetFullScreen(bool on);
  void SetWarp(bool on);
  // Types the clipboard's text into the machine.
  void PasteClipboard();
  // Writes what the current view shows as a PNG; false when the file cannot be written.
  bool SaveScreenshot(const QString& path);
  // The menu item with the given text, for the tests and the shortcuts.
  QAction* FindAction(const QString& text) const;

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  // Tab is the Commodore key, never a move of the keyboard focus.
  bool focusNextPrevChild(bool) override { return false; }

 private:
  void BuildMenus();
  void BuildDesktopMenus(std::map<QString, QMenu*>& menus);
  void HandleHostKey(QKeyEvent* event, bool down);
  void ShowSpeed();

  PictureWidget* picture_;
  std::map<int, QAction*> actions_;
  std::map<PictureView, QAction*> viewActions_;
  std::map<int, QAction*> scaleActions_;
  QAction* fullScreenAction_ = nullptr;
  QAction* warpAction_ = nullptr;
  QTimer frameTimer_;
  QTimer speedTimer_;  // runs while warping
  uint32_t speedFrames_ = 0;
  uint32_t shownLandscape_ = 0;  // the layout RefreshFromState last laid out
};
