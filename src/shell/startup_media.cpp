// startup_media.cpp: the file a front end starts with, loaded as its menu command would.
//
// A program, or a disk's first program file, waits for BASIC's prompt and is then loaded on the
// emulation thread between frames,
// where the loaders may write memory without pausing anything; the frame at which the keyboard
// buffer is empty again tells that BASIC has taken the typed RUN. A cartridge is attached before
// the thread starts. The file is checked up front, so a typing error is reported before the
// machine runs; a disk is attached to drive 8 then, so it is there for the program from the start.
// Called by: the headless runner and the desktop front end.
#include "shell/startup_media.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "drive/disk_drive.h"
#include "media/cartridge.h"
#include "media/program_loader.h"
#include "core/machine.h"
#include "shell/basic_prompt.h"

namespace {
constexpr uint16_t kKeyboardCount = 0xC6;

// Set before the emulation thread starts, only read afterwards.
MediaKind startupKind = MediaKind::None;
std::string startupPath;
std::atomic<StartupProgramState> programState{StartupProgramState::NotDue};

// A disk's first program goes in as LOAD"*",8,1 would put it: at its own load address.
int LoadStartupProgram() {
  if (startupKind == MediaKind::Program) return LoadPrg(startupPath.c_str());
  if (startupKind == MediaKind::TapeImage) return LoadT64(startupPath.c_str());
  std::vector<uint8_t> program;
  return FirstProgramOnDisk(program) ? LoadProgramBytes(program.data(), program.size()) : 0;
}

bool Readable(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return false;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  std::fclose(file);
  return true;
}
}  // namespace

MediaKind MediaKindOf(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == ".prg" || extension == ".p00") return MediaKind::Program;
  if (extension == ".t64") return MediaKind::TapeImage;
  if (extension == ".crt") return MediaKind::Cartridge;
  if (extension == ".d64") return MediaKind::DiskImage;
  return MediaKind::None;
}

bool PrepareStartupMedia(const std::string& path, const std::string& diskPath, std::string& error) {
  startupPath = path;
  startupKind = MediaKind::None;
  programState.store(StartupProgramState::NotDue);
  if (!diskPath.empty() && !AttachDisk(diskPath, error)) return false;
  if (path.empty()) return true;

  const MediaKind kind = MediaKindOf(path);
  if (kind == MediaKind::None) {
    error = path + ": unknown kind of file; vornce loads .prg, .p00, .t64, .crt and .d64 files";
    return false;
  }
  if (kind == MediaKind::DiskImage && !AttachDisk(path, error)) return false;
  if (!Readable(path)) {
    error = "cannot read " + path;
    return false;
  }
  if (kind == MediaKind::Cartridge) {
    if (CartridgeLoadable(path.c_str()) == 0) {
      error = path + " is not a cartridge vornce can load: a CRT image of hardware type 0 or 4";
      return false;
    }
    if (AttachCartridge(path.c_str()) == 0) {
      error = "the cartridge's path is too long: " + path;
      return false;
    }
    return true;
  }
  startupKind = kind;
  programState.store(StartupProgramState::Waiting);
  return true;
}

void LoadStartupProgramAtReady() {
  const StartupProgramState state = programState.load();
  if (state == StartupProgramState::Loaded && Ram[kKeyboardCount] == 0) {
    programState.store(StartupProgramState::Started);
    return;
  }
  if (state != StartupProgramState::Waiting || !BasicWaitsForLine()) return;
  programState.store(LoadStartupProgram() != 0 ? StartupProgramState::Loaded : StartupProgramState::Failed);
}

std::string StartupProgramFailure() {
  return startupKind == MediaKind::DiskImage ? "the disk " + startupPath + " holds no program file that can be read"
                                             : "the file " + startupPath + " is gone or too short to hold a load address";
}

StartupProgramState StartupProgram() { return programState.load(); }
