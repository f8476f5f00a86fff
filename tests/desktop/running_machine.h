// running_machine.h: the genuine ROMs running unpaced on an emulation thread, behind a window.
#pragma once

#include <QWidget>
#include <string>
#include <thread>

class RunningMachine {
 public:
  // Installs the genuine ROMs in a fresh machine, opens the display for window and starts the
  // emulation thread; false, with nothing started, when the ROM images are absent.
  bool Start(QWidget& window);
  ~RunningMachine();

  // Waits (serving the window's events) until some row of the screen shows text; false after
  // timeoutMilliseconds.
  bool WaitForText(const std::string& text, int timeoutMilliseconds = 20000);
  // Reads the first count screen codes of row, with the machine held still.
  std::string ScreenCodes(int row, int count);

 private:
  std::thread emulation_;
};

// One key event as the window system delivers it (QTest would add presses of the modifiers).
void SendKey(QWidget& window, int key, bool down, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// Shift (when asked), the key, then their releases, as a quick typist or xdotool types.
void TypeKey(QWidget& window, int key, bool shifted);
