// commands.cpp: the menu and its commands, as the handheld's application had them.
//
// Each command only changes shared state that the emulation thread reads, or calls the loaders
// and the snapshot code. Check marks are not stored: each is read from the state its command
// sets, so the menu can never disagree with the machine. Loading waits for the emulation thread
// to stand still (the full pause handshake) before memory is written, rather than trusting that
// it paused while the user was choosing a file.
// Called by: the desktop window on the application thread.
#include "shell/commands.h"

#include <vector>

#include "chips/cia.h"
#include "drive/disk_drive.h"
#include "machine/scheduler.h"
#include "media/cartridge.h"
#include "media/program_loader.h"
#include "media/snapshot.h"
#include "platform/message_box.h"
#include "shell/keyboard_input.h"
#include "shell/startup_media.h"
#include "sound/sound_output.h"

const MenuEntry kMenuEntries[] = {
    {"File", nullptr, "Load program...", kCommandLoadProgram},
    {"File", nullptr, "Load T64 image...", kCommandLoadT64},
    {"File", nullptr, "Load cartridge...", kCommandLoadCartridge},
    {"File", nullptr, "Attach disk...", kCommandAttachDisk},
    {"File", nullptr, "Detach disk", kCommandDetachDisk},
    {"File", nullptr, "Quit", kCommandQuit},
    {"Emu", nullptr, "Reset", kCommandReset},
    {"Emu", "Sprites", "Accurate", kCommandAccurateSprites},
    {"Emu", "Sprites", "Fast ", kCommandFastSprites},
    {"Emu", nullptr, "Keyboard", kCommandKeyboard},
    {"Emu", nullptr, "Joystick 2", kCommandJoystick2},
    {"Emu", nullptr, "Joystick 1", kCommandJoystick1},
    {"F1-F4", nullptr, "F4", kCommandF1 + 3},
    {"F1-F4", nullptr, "F3", kCommandF1 + 2},
    {"F1-F4", nullptr, "F2", kCommandF1 + 1},
    {"F1-F4", nullptr, "F1", kCommandF1},
    {"F5-F8", nullptr, "F8", kCommandF1 + 7},
    {"F5-F8", nullptr, "F7", kCommandF1 + 6},
    {"F5-F8", nullptr, "F6", kCommandF1 + 5},
    {"F5-F8", nullptr, "F5", kCommandF1 + 4},
    {"Options", "State", "Save State", kCommandSaveState},
    {"Options", "State", "Load State", kCommandLoadState},
    {"Options", "Sound", "Sound ON", kCommandSoundOn},
    {"Options", "Sound", "Sound OFF", kCommandSoundOff},
    {"Help", nullptr, "About", kCommandAbout},
    {"Help", nullptr, nullptr, 0},
    {"Help", nullptr, "Keys Usage", kCommandKeysUsage},
};
const int kMenuEntryCount = static_cast<int>(std::size(kMenuEntries));

namespace {
const FileDialogSetup kProgramDialog{"Load a program", "Program (*.PRG)", "*.prg;*.p00", "prg", "program.prg"};
const FileDialogSetup kT64Dialog{"Load a T64 image", "T64 image (*.T64)", "*.t64", "t64", "program.t64"};
const FileDialogSetup kCartridgeDialog{"Load a cartridge", "Cartridge (*.crt)", "*.crt", "crt", "cartridge.crt"};
const FileDialogSetup kDiskDialog{"Attach a disk to drive 8", "Disk image (*.d64)", "*.d64", "d64", "disk.d64"};

// A disk that cannot be used is refused with a message; the machine runs on as it was.
int AttachDiskOrSay(const std::string& path) {
  std::string error;
  if (AttachDisk(path, error)) return 1;
  ShowMessageBox(error.c_str(), "Disk drive 8");
  return 0;
}

int AttachDiskAndStart(const std::string& path) {
  std::vector<uint8_t> program;
  if (AttachDiskOrSay(path) == 0) return 0;
  return FirstProgramOnDisk(program) ? LoadProgramBytes(program.data(), program.size()) : 1;
}

void SelectJoystick(uint32_t enabled, uint8_t port) {
  joystickEnabled.store(enabled);
  if (enabled != 0) joystickPort.store(port);
}

// Loaders write memory, so the emulation thread must stand still first.
int LoadPaused(MediaKind kind, const std::string& path) {
  PauseEmulation();
  switch (kind) {
    case MediaKind::Program: return LoadPrg(path.c_str());
    case MediaKind::TapeImage: return LoadT64(path.c_str());
    case MediaKind::Cartridge: return CartridgeLoadable(path.c_str()) != 0 && AttachCartridge(path.c_str()) != 0;
    case MediaKind::DiskImage: return AttachDiskAndStart(path);
    default: return 0;
  }
}

// The file dialogs hold the emulation and mute the sound while they are open; both come back
// afterwards, also when the dialog is cancelled.
void LoadThroughDialog(const FileDialogSetup& setup, const CommandHost& host, MediaKind kind) {
  const uint32_t soundWasOn = soundEnabled.load();
  emulationRunning.store(0);
  soundEnabled.store(0);
  if (std::string path; host.chooseFile(setup, path)) {
    if (kind == MediaKind::DiskImage) {
      PauseEmulation();
      AttachDiskOrSay(path);
    } else {
      LoadPaused(kind, path);
    }
  }
  if (soundWasOn != 0) soundEnabled.store(1);
  ResumeEmulation();
}
}  // namespace

bool IsMenuItemChecked(int command) {
  switch (command) {
    case kCommandAccurateSprites: return accurateSprites.load() == 1;
    case kCommandFastSprites: return accurateSprites.load() == 0;
    case kCommandKeyboard: return joystickEnabled.load() == 0;
    case kCommandJoystick2: return joystickEnabled.load() != 0 && joystickPort.load() == 1;
    case kCommandJoystick1: return joystickEnabled.load() != 0 && joystickPort.load() == 2;
    case kCommandSoundOn: return soundEnabled.load() != 0;
    case kCommandSoundOff: return soundEnabled.load() == 0;
    default: return false;
  }
}

void RunCommand(int command, const CommandHost& host) {
  if (command >= kCommandF1 && command <= kCommandF8) {
    host.postKey(kVkF1 + command - kCommandF1, true);
    host.postKey(kVkF1 + command - kCommandF1, false);
    return;
  }
  switch (command) {
    case kCommandLoadProgram: LoadThroughDialog(kProgramDialog, host, MediaKind::Program); break;
    case kCommandLoadT64: LoadThroughDialog(kT64Dialog, host, MediaKind::TapeImage); break;
    case kCommandLoadCartridge: LoadThroughDialog(kCartridgeDialog, host, MediaKind::Cartridge); break;
    case kCommandAttachDisk: LoadThroughDialog(kDiskDialog, host, MediaKind::DiskImage); break;
    case kCommandDetachDisk:
      PauseEmulation();
      DetachDisk();
      ResumeEmulation();
      break;
    case kCommandQuit: host.postQuit(); break;
    case kCommandReset: resetAtFrameEnd.store(1); break;
    case kCommandAccurateSprites: accurateSprites.store(1); break;
    case kCommandFastSprites: accurateSprites.store(0); break;
    case kCommandKeyboard: SelectJoystick(0, 0); break;
    case kCommandJoystick2: SelectJoystick(1, 1); break;
    case kCommandJoystick1: SelectJoystick(1, 2); break;
    case kCommandSaveState: SaveSnapshot(DefaultSnapshotPath().c_str()); break;
    case kCommandLoadState: LoadSnapshot(DefaultSnapshotPath().c_str()); break;
    case kCommandSoundOn: soundEnabled.store(1); break;
    case kCommandSoundOff: soundEnabled.store(0); break;
    case kCommandAbout: host.showInfo(InfoDialog::About); break;
    case kCommandKeysUsage: host.showInfo(InfoDialog::KeysUsage); break;
    default: break;
  }
}

bool LoadFileLikeMenu(const std::string& path) {
  const int loaded = LoadPaused(MediaKindOf(path), path);
  ResumeEmulation();
  return loaded != 0;
}
