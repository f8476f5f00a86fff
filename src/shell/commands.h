// commands.h: the emulator's menu and what each of its commands does.
#pragma once

#include <string>

enum MenuCommand : int {
  kCommandLoadCartridge = 40001,
  kCommandLoadProgram = 40002,
  kCommandAbout = 40005,
  kCommandQuit = 40006,
  kCommandReset = 40007,
  kCommandJoystick1 = 40008,
  kCommandJoystick2 = 40010,
  kCommandKeyboard = 40011,
  kCommandF1 = 40019,  // F1 to F8 are 40019 to 40026
  kCommandF8 = 40026,
  kCommandAccurateSprites = 40028,
  kCommandFastSprites = 40029,
  kCommandLoadT64 = 40030,
  kCommandKeysUsage = 40032,
  kCommandSoundOn = 40051,
  kCommandSoundOff = 40052,
  kCommandSaveState = 40053,
  kCommandLoadState = 40054,
  kCommandAttachDisk = 40060,
  kCommandDetachDisk = 40061,
};

// One item of the menu bar: its pop-up, the sub-menu inside it (or null) and its text;
// command 0 is a separator.
struct MenuEntry {
  const char* popup;
  const char* submenu;
  const char* text;
  int command;
};

extern const MenuEntry kMenuEntries[];
extern const int kMenuEntryCount;

// Whether the item carries a check mark, read from the state the command sets.
bool IsMenuItemChecked(int command);

// What the open-file dialog shows.
struct FileDialogSetup {
  const char* title;
  const char* filterDescription;
  const char* filterPatterns;  // separated by ';'
  const char* defaultExtension;
  const char* initialName;
};

enum class InfoDialog { About, KeysUsage };

// The services of the front end that commands use.
struct CommandHost {
  bool (*chooseFile)(const FileDialogSetup& setup, std::string& path);  // false when cancelled
  void (*postQuit)();
  void (*postKey)(int virtualKey, bool down);  // handled after the current command
  void (*showInfo)(InfoDialog dialog);
};

// Carries out a menu command on the application thread.
void RunCommand(int command, const CommandHost& host);


// Loads a .prg, .p00, .t64 or .crt file as its menu command does once a file is chosen (a
// dropped file, say); a .d64 disk is attached to drive 8 and its first program loaded with RUN
// typed. False, changing nothing, for a file it cannot use (a disk's reason in a message box).
bool LoadFileLikeMenu(const std::string& path);
