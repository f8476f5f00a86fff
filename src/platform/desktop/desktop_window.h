// desktop_window.h: the emulator's main window on a Linux desktop.
#pragma once

#include <QMainWindow>
#include <QTimer>
#include <map>

class QAction;

class PictureWidget;

class DesktopWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit DesktopWindow(int scale);

  // Runs a menu command exactly as choosing it from the menu would.
  void RunMenuCommand(int command);
  // Re-reads the check marks and the layout from the emulator's state.
  void RefreshFromState();
  // Hands a key event to the keyboard in typing order, one machine scan apart.
  Q_INVOKABLE void QueueKey(int virtualKey, bool down);

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
  void HandleHostKey(QKeyEvent* event, bool down);

  PictureWidget* picture_;
  std::map<int, QAction*> actions_;
  QTimer frameTimer_;
  uint32_t shownLandscape_ = 0;  // the layout RefreshFromState last laid out
};
