// snapshot.cpp: saving the whole machine to one file and restoring it.
//
// Both commands hold the emulation thread with the pause handshake from the first status line
// to the resume, so the state is transferred at an instruction boundary and the status line is
// drawn and presented while the thread is idle. The saving message is drawn before the state is
// taken, so a saved FrameBuffer shows it. A failed load puts the FrameBuffer back after showing
// its message, so nothing of the machine changes.
// Left out: any header or version in the file (see snapshot_format.cpp for its layout).
// Called by: the "Save State" and "Load State" commands and the headless runner.
#include "media/snapshot.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

#include "core/machine.h"
#include "machine/scheduler.h"
#include "media/media_file.h"
#include "media/snapshot_format.h"
#include "platform/atomic_file.h"
#include "platform/user_data.h"
#include "video/presentation.h"

namespace {
constexpr int kStatusRow = 12;
constexpr uint8_t kStatusForeground = 1;
constexpr uint8_t kStatusBackground = 0;
constexpr int kSavingColumn = 8;
constexpr int kLoadingColumn = 6;
constexpr int kLoadFailedColumn = 14;
// Padded to cover the saving message it replaces.
constexpr const char* kSaveFailedText = "SAVE FAILED             ";
constexpr auto kMessageHold = std::chrono::seconds(1);

void ShowStatus(const char* text, int column) {
  DrawText(text, column, kStatusRow, kStatusForeground, kStatusBackground);
  PresentFrame();
}

bool CreateFolderOf(const char* path) {
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  std::error_code error;
  return folder.empty() || std::filesystem::is_directory(folder, error) ||
         std::filesystem::create_directories(folder, error);
}

// Reads at most one byte more than a snapshot holds: enough to tell that a file is too long.
std::vector<uint8_t> ReadSnapshotFile(const char* path) {
  std::vector<uint8_t> bytes;
  MediaFile file = OpenMediaFile(path);
  if (!file) return bytes;
  bytes.resize(kSnapshotSize + 1);
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file.get()));
  return bytes;
}

void HoldMessageAndResume() {
  std::this_thread::sleep_for(kMessageHold);
  ResumeEmulation();
}
}  // namespace

std::string DefaultSnapshotPath() { return UserDataFolder() + "/vorn.sta"; }

int SaveSnapshot(const char* path) {
  PauseEmulation();
  ShowStatus("SAVING CURRENT STATE ...", kSavingColumn);
  const std::vector<uint8_t> bytes = EncodeSnapshot();
  const bool saved = CreateFolderOf(path) && ReplaceFileAtomically(path, bytes.data(), bytes.size());
  if (!saved) ShowStatus(kSaveFailedText, kSavingColumn);
  HoldMessageAndResume();
  return saved ? 1 : 0;
}

int LoadSnapshot(const char* path) {
  const std::vector<uint8_t> bytes = ReadSnapshotFile(path);
  PauseEmulation();
  int loaded = 0;
  if (bytes.size() == kSnapshotSize) {
    ShowStatus("LOADING EMULATOR STATE ...", kLoadingColumn);
    loaded = DecodeSnapshot(bytes.data(), bytes.size());
  } else {
    const std::vector<uint8_t> picture(FrameBuffer, FrameBuffer + kFrameBufferSize);
    ShowStatus("LOAD FAILED", kLoadFailedColumn);
    std::copy(picture.begin(), picture.end(), FrameBuffer);
  }
  HoldMessageAndResume();
  return loaded;
}
