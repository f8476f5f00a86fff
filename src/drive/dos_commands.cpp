// dos_commands.cpp: the 1541's disk commands carried out on the image.
//
// Emulated: I (initialise: nothing to re-read here), S: (scratch, several names and wildcards,
// locked files kept), R: (rename), N: (format, or clear the directory when no id is given), V
// (validate: the map rebuilt from the chains, files never closed removed) and UI/UJ (reset).
// Commands that send the program's own code to the drive's processor (M-W, M-E, B-E, U3 to U8,
// &) cannot work without that processor: they answer 31 and are named in the outcome so the
// user can be told why the program stops. Other commands for the drive's memory and buffers
// (M-R, B-R, B-W, B-P, B-A, B-F, U1, U2) and copy (C:) answer 31 as unknown commands.
// Called by: the virtual drive when a command arrives on channel 15.
#include "drive/dos_commands.h"

#include <cstring>
#include <vector>

#include "drive/file_name.h"
#include "media/disk_bam.h"
#include "media/disk_directory.h"

namespace {
CommandOutcome Answer(int code, uint8_t track = 0, bool diskChanged = false) {
  CommandOutcome outcome;
  outcome.status = {code, track, 0};
  outcome.diskChanged = diskChanged;
  return outcome;
}

CommandOutcome FromFault(const DiskFault& fault) {
  CommandOutcome outcome;
  outcome.status = {fault.code, fault.track, fault.sector};
  return outcome;
}

// The text after the command's ":"; false when there is none.
bool Argument(const std::string& command, std::string& argument) {
  const size_t colon = command.find(':');
  if (colon == std::string::npos) return false;
  argument = command.substr(colon + 1);
  return true;
}

std::vector<std::string> SplitAt(const std::string& text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (true) {
    const size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end - start));
    if (end == std::string::npos) return parts;
    start = end + 1;
  }
}

// A name in a list after the first one may carry its own drive part ("0:NAME").
std::string WithoutDrivePart(const std::string& name) {
  const size_t colon = name.find(':');
  return colon == std::string::npos ? name : name.substr(colon + 1);
}

CommandOutcome Scratch(DiskImage& image, const std::string& argument) {
  std::vector<DirectoryEntry> entries;
  if (const DiskFault fault = ReadDirectory(image, entries); fault.code != 0) return FromFault(fault);
  int scratched = 0;
  for (const std::string& pattern : SplitAt(argument, ',')) {
    for (DirectoryEntry& entry : entries) {
      if (entry.typeByte == 0 || entry.Locked() || !NameMatches(WithoutDrivePart(pattern), entry.name)) continue;
      FreeFileChain(image, entry.first);
      entry.typeByte = 0;
      UpdateDirectoryEntry(image, entry);
      ++scratched;
    }
  }
  return Answer(kDosFilesScratched, static_cast<uint8_t>(scratched), scratched > 0);
}

CommandOutcome Rename(DiskImage& image, const std::string& argument) {
  const size_t equals = argument.find('=');
  if (equals == std::string::npos) return Answer(kDosNoFileName);
  const std::string newName = argument.substr(0, equals);
  const std::string oldName = WithoutDrivePart(argument.substr(equals + 1));
  if (newName.empty() || newName.size() > kFileNameLength || HasWildcards(newName)) return Answer(kDosNameSyntax);
  std::vector<DirectoryEntry> entries;
  if (const DiskFault fault = ReadDirectory(image, entries); fault.code != 0) return FromFault(fault);
  if (FirstMatch(entries, newName) != nullptr) return Answer(kDosFileExists);
  const DirectoryEntry* old = FirstMatch(entries, oldName);
  if (old == nullptr) return Answer(kDosFileNotFound);
  DirectoryEntry renamed = *old;
  renamed.name = newName;
  UpdateDirectoryEntry(image, renamed);
  return Answer(kDosOk, 0, true);
}

CommandOutcome Format(DiskImage& image, const std::string& argument) {
  const size_t comma = argument.find(',');
  const std::string name = argument.substr(0, comma);
  const std::string id = comma == std::string::npos ? "" : argument.substr(comma + 1, 2);
  if (name.empty()) return Answer(kDosNoFileName);
  FormatDisk(image, name, id);
  return Answer(kDosOk, 0, true);
}

CommandOutcome Validate(DiskImage& image) {
  std::vector<DirectoryEntry> entries;
  if (const DiskFault fault = ReadDirectory(image, entries); fault.code != 0) return FromFault(fault);
  std::vector<uint8_t> data;
  for (const DirectoryEntry& entry : entries) {
    if (!entry.Closed()) continue;
    if (const DiskFault fault = ReadFileChain(image, entry.first, data); fault.code != 0) return FromFault(fault);
  }
  for (DirectoryEntry entry : entries) {
    if (entry.Closed()) continue;
    entry.typeByte = 0;
    UpdateDirectoryEntry(image, entry);
  }
  ClearBlockMap(image);
  const SectorSet used = SectorsInUse(image);
  for (int track = 1; track <= image.Tracks(); ++track) {
    for (int sector = 0; sector < SectorsOnTrack(track); ++sector) {
      if (used[static_cast<size_t>(image.SectorIndex(track, sector))]) {
        MarkBlock(image, {static_cast<uint8_t>(track), static_cast<uint8_t>(sector)}, false);
      }
    }
  }
  return Answer(kDosOk, 0, true);
}

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

// The commands that hand the drive's processor code to run.
bool RunsOwnCode(const std::string& command) {
  if (StartsWith(command, "M-W") || StartsWith(command, "M-E") || StartsWith(command, "B-E") || StartsWith(command, "&")) {
    return true;
  }
  return command.size() >= 2 && command[0] == 'U' && ((command[1] >= '3' && command[1] <= '8') || (command[1] >= 'C' && command[1] <= 'H'));
}
}  // namespace

CommandOutcome RunDosCommand(DiskImage& image, const std::string& text) {
  std::string command = text;
  while (!command.empty() && command.back() == '\r') command.pop_back();
  if (command.empty()) return Answer(kDosOk);
  if (RunsOwnCode(command)) {
    CommandOutcome outcome = Answer(kDosInvalidCommand);
    outcome.ownCodeCommand = command.substr(0, 3);
    return outcome;
  }
  if (command == "UI" || command == "UJ" || StartsWith(command, "U:") || StartsWith(command, "U;")) {
    CommandOutcome outcome = Answer(kDosPowerUp);
    outcome.resetDrive = true;
    return outcome;
  }
  const char letter = command[0];
  if (letter == 'I') return Answer(kDosOk);
  if (letter != 'S' && letter != 'R' && letter != 'N' && letter != 'V') return Answer(kDosInvalidCommand);
  if (image.writeProtected) return Answer(kDosWriteProtect);
  if (letter == 'V') return Validate(image);
  std::string argument;
  if (!Argument(command, argument)) return Answer(kDosNoFileName);
  switch (letter) {
    case 'S': return Scratch(image, argument);
    case 'R': return Rename(image, argument);
    default: return Format(image, argument);
  }
}
