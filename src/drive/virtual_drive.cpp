// virtual_drive.cpp: the 1541's channels, files and status over an in-memory disk image.
//
// Emulated: channel 0 reads (LOAD), channel 1 writes a program (SAVE), channels 2-14 open
// "NAME,type,mode" files (reading by default, sequential when written), channel 15 takes
// commands and reads back the status, which then returns to "00, OK,00,00". "$" reads the
// directory listing. A file being written is held in the channel and goes onto the disk as a
// whole when it is closed; the image file is then replaced whole, so an interrupted program
// leaves the file as it was before the write began. A failed store keeps the old file, answers
// 25 and says so in a message.
// Left out: relative files (opening one answers 64), modify mode on files never closed, the
// drive's limit on open channels, the timing of the drive.
// Called by: the serial-bus traps (bus commands and bytes) and the disk start-up code.
#include "drive/virtual_drive.h"

#include "drive/directory_listing.h"
#include "drive/dos_commands.h"
#include "media/disk_bam.h"
#include "platform/message_box.h"

void VirtualDrive::Insert(DiskImage image) {
  image_ = std::move(image);
  ownCodeCommand_.clear();
  Reset();
}

void VirtualDrive::Reset() {
  for (Channel& channel : channels_) channel = Channel{};
  command_.clear();
  SetStatus(kDosPowerUp);
}

void VirtualDrive::SetStatus(int code, uint8_t track, uint8_t sector) {
  status_ = {code, track, sector};
  statusText_.clear();
  statusPosition_ = 0;
}

void VirtualDrive::Open(int number, const std::string& name) {
  if (number == kCommandChannel) {
    RunCommand(name);
    return;
  }
  Channel& channel = channels_[number & 0x0F];
  channel = Channel{};
  OpenFile(channel, number, name);
}

void VirtualDrive::OpenFile(Channel& channel, int number, const std::string& name) {
  if (!name.empty() && name[0] == '$' && number != kSaveChannel) {
    const size_t colon = name.find(':');
    DiskFault fault;
    channel.data = DirectoryListing(image_, colon == std::string::npos ? "" : name.substr(colon + 1), fault);
    channel.state = ChannelState::Reading;
    SetStatus(fault.code, fault.track, fault.sector);
    return;
  }
  OpenRequest request = ParseOpenName(name);
  if (!request.valid) return SetStatus(kDosSyntaxError);
  if (request.name.empty()) return SetStatus(kDosNoFileName);
  if (request.type == FileType::Rel) return SetStatus(kDosTypeMismatch);
  if (number == kLoadChannel) request.mode = FileMode::Read;
  if (number == kSaveChannel) request.mode = FileMode::Write;
  if (request.mode == FileMode::Default || request.mode == FileMode::Read || request.mode == FileMode::Modify) {
    return OpenForRead(channel, request);
  }
  const FileType type = request.type.value_or(number == kSaveChannel ? FileType::Prg : FileType::Seq);
  OpenForWrite(channel, request, type);
}

void VirtualDrive::OpenForRead(Channel& channel, const OpenRequest& request) {
  std::vector<DirectoryEntry> entries;
  if (const DiskFault fault = ReadDirectory(image_, entries); fault.code != 0) {
    return SetStatus(fault.code, fault.track, fault.sector);
  }
  const DirectoryEntry* entry = FirstMatch(entries, request.name);
  if (entry == nullptr) return SetStatus(kDosFileNotFound);
  if (entry->Type() == FileType::Rel || (request.type && *request.type != entry->Type())) return SetStatus(kDosTypeMismatch);
  if (!entry->Closed() && request.mode != FileMode::Modify) return SetStatus(kDosWriteFileOpen);
  if (const DiskFault fault = ReadFileChain(image_, entry->first, channel.data); fault.code != 0) {
    channel.data.clear();
    return SetStatus(fault.code, fault.track, fault.sector);
  }
  channel.state = ChannelState::Reading;
  SetStatus(kDosOk);
}

void VirtualDrive::OpenForWrite(Channel& channel, const OpenRequest& request, FileType type) {
  if (image_.writeProtected) return SetStatus(kDosWriteProtect);
  if (HasWildcards(request.name) || request.name.size() > kFileNameLength) return SetStatus(kDosNameSyntax);
  std::vector<DirectoryEntry> entries;
  if (const DiskFault fault = ReadDirectory(image_, entries); fault.code != 0) {
    return SetStatus(fault.code, fault.track, fault.sector);
  }
  const DirectoryEntry* existing = FirstMatch(entries, request.name);
  if (request.mode == FileMode::Append) {
    if (existing == nullptr) return SetStatus(kDosFileNotFound);
    if (const DiskFault fault = ReadFileChain(image_, existing->first, channel.data); fault.code != 0) {
      channel.data.clear();
      return SetStatus(fault.code, fault.track, fault.sector);
    }
  } else if (existing != nullptr && !request.replace) {
    return SetStatus(kDosFileExists);
  }
  if (BlocksFree(image_) == 0) return SetStatus(kDosDiskFull);
  channel.replacesEntry = existing != nullptr;
  if (existing != nullptr) channel.entry = *existing;
  channel.entry.name = request.name;
  channel.entry.typeByte = static_cast<uint8_t>(0x80 | static_cast<uint8_t>(
      request.mode == FileMode::Append && existing != nullptr ? existing->Type() : type));
  channel.state = ChannelState::Writing;
  SetStatus(kDosOk);
}

void VirtualDrive::Close(int number) {
  Channel& channel = channels_[number & 0x0F];
  if (channel.state == ChannelState::Writing) Commit(channel);
  channel = Channel{};
}

void VirtualDrive::Commit(Channel& channel) {
  const size_t capacity = static_cast<size_t>(image_.SectorCount()) * kDataPerSector;
  if (channel.data.size() > capacity) return SetStatus(kDosDiskFull);
  const DirectoryEntry old = channel.entry;
  DirectoryEntry& entry = channel.entry;
  if (const DiskFault fault = WriteFileChain(image_, channel.data, entry.first, entry.blocks); fault.code != 0) {
    return SetStatus(fault.code, fault.track, fault.sector);
  }
  if (channel.replacesEntry) {
    FreeFileChain(image_, old.first);
    UpdateDirectoryEntry(image_, entry);
  } else if (const DiskFault fault = AddDirectoryEntry(image_, entry); fault.code != 0) {
    FreeFileChain(image_, entry.first);
    return SetStatus(fault.code, fault.track, fault.sector);
  }
  SetStatus(kDosOk);
  StoreImage();
}

void VirtualDrive::StoreImage() {
  std::string error;
  if (image_.Store(error)) return;
  SetStatus(kDosWriteError);
  ShowMessageBox(error.c_str(), "Disk drive 8");
}

void VirtualDrive::Write(int number, uint8_t byte) {
  if (number == kCommandChannel) {
    command_ += static_cast<char>(byte);
    return;
  }
  Channel& channel = channels_[number & 0x0F];
  // past the disk's capacity the bytes are only counted: the close answers 72
  if (channel.state == ChannelState::Writing &&
      channel.data.size() <= static_cast<size_t>(image_.SectorCount()) * kDataPerSector) {
    channel.data.push_back(byte);
  }
}

void VirtualDrive::EndOfWrite(int number) {
  if (number != kCommandChannel || command_.empty()) return;
  RunCommand(command_);
  command_.clear();
}

void VirtualDrive::RunCommand(const std::string& command) {
  const CommandOutcome outcome = RunDosCommand(image_, command);
  if (outcome.resetDrive) Reset();
  if (!outcome.ownCodeCommand.empty()) ownCodeCommand_ = outcome.ownCodeCommand;
  SetStatus(outcome.status.code, outcome.status.track, outcome.status.sector);
  if (outcome.diskChanged) StoreImage();
}

bool VirtualDrive::Read(int number, uint8_t& byte, bool& last) {
  if (number == kCommandChannel) {
    if (statusText_.empty()) statusText_ = DosStatusText(status_) + '\r';
    byte = static_cast<uint8_t>(statusText_[statusPosition_++]);
    last = statusPosition_ == statusText_.size();
    if (last) SetStatus(kDosOk);
    return true;
  }
  Channel& channel = channels_[number & 0x0F];
  if (channel.state != ChannelState::Reading || channel.position >= channel.data.size()) return false;
  byte = channel.data[channel.position++];
  last = channel.position == channel.data.size();
  return true;
}
