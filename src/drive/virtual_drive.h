// virtual_drive.h: the 1541 on device 8 as the serial bus sees it: sixteen channels, the
// command channel and the status, over a disk image held in memory.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "drive/dos_status.h"
#include "drive/file_name.h"
#include "media/disk_directory.h"
#include "media/disk_image.h"

inline constexpr int kLoadChannel = 0;
inline constexpr int kSaveChannel = 1;
inline constexpr int kCommandChannel = 15;
inline constexpr int kChannelCount = 16;

class VirtualDrive {
 public:
  // Takes the image: channels closed, status 73.
  void Insert(DiskImage image);
  void Reset();
  DiskImage& image() { return image_; }
  const DosStatus& status() const { return status_; }

  // The channel's open command with the name sent after it; on channel 15 the name is a command.
  void Open(int channel, const std::string& name);
  // Closing a file being written puts it on the disk and stores the image.
  void Close(int channel);
  // A byte sent to the channel; on channel 15 it becomes part of the next command.
  void Write(int channel, uint8_t byte);
  // The listener was released: a command gathered on channel 15 runs now.
  void EndOfWrite(int channel);
  // The channel's next byte; last is set for the file's final byte (sent with EOI). False when
  // the channel has nothing to send (not open, or read to its end).
  bool Read(int channel, uint8_t& byte, bool& last);

  // The command named by the last command refused because it would run the program's own code
  // in the drive; empty when there was none since the image was inserted.
  const std::string& ownCodeCommand() const { return ownCodeCommand_; }

 private:
  enum class ChannelState { Closed, Reading, Writing };
  struct Channel {
    ChannelState state = ChannelState::Closed;
    std::vector<uint8_t> data;
    size_t position = 0;
    DirectoryEntry entry;        // the file being written
    bool replacesEntry = false;  // entry is an existing slot whose file is replaced
  };

  void OpenFile(Channel& channel, int number, const std::string& name);
  void OpenForRead(Channel& channel, const OpenRequest& request);
  void OpenForWrite(Channel& channel, const OpenRequest& request, FileType type);
  void Commit(Channel& channel);
  void RunCommand(const std::string& command);
  void StoreImage();
  void SetStatus(int code, uint8_t track = 0, uint8_t sector = 0);

  DiskImage image_;
  Channel channels_[kChannelCount];
  DosStatus status_;
  std::string statusText_;  // the status being read on channel 15
  size_t statusPosition_ = 0;
  std::string command_;
  std::string ownCodeCommand_;
};
