// file_name.cpp: reading the file names and options programs open files with.
//
// Emulated: the 1541's name syntax: "@" for replacing, a drive part ("0:", ":") that is skipped,
// the types S, P, U and L and the modes R, W, A and M by their first letters, and its wildcards.
// Left out: drive numbers other than 0 (a single drive answers to any), record lengths of
// relative files.
// Called by: the virtual drive's channels and its commands.
#include "drive/file_name.h"

namespace {
bool ApplyOption(char letter, OpenRequest& request) {
  switch (letter) {
    case 'S': request.type = FileType::Seq; return true;
    case 'P': request.type = FileType::Prg; return true;
    case 'U': request.type = FileType::Usr; return true;
    case 'L': request.type = FileType::Rel; return true;
    case 'R': request.mode = FileMode::Read; return true;
    case 'W': request.mode = FileMode::Write; return true;
    case 'A': request.mode = FileMode::Append; return true;
    case 'M': request.mode = FileMode::Modify; return true;
    default: return false;
  }
}
}  // namespace

OpenRequest ParseOpenName(const std::string& text) {
  OpenRequest request;
  std::string rest = text;
  if (!rest.empty() && rest[0] == '@') {
    request.replace = true;
    rest.erase(0, 1);
  }
  if (const size_t colon = rest.find(':'); colon != std::string::npos) rest.erase(0, colon + 1);
  size_t comma = rest.find(',');
  request.name = rest.substr(0, comma);
  while (comma != std::string::npos) {
    const size_t next = rest.find(',', comma + 1);
    const std::string option = rest.substr(comma + 1, next == std::string::npos ? std::string::npos : next - comma - 1);
    if (option.empty() || !ApplyOption(option[0], request)) request.valid = false;
    comma = next;
  }
  return request;
}

bool NameMatches(const std::string& pattern, const std::string& name) {
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '*') return true;
    if (i >= name.size() || (pattern[i] != '?' && pattern[i] != name[i])) return false;
  }
  return pattern.size() == name.size();
}

bool HasWildcards(const std::string& name) { return name.find_first_of("*?") != std::string::npos; }

const DirectoryEntry* FirstMatch(const std::vector<DirectoryEntry>& entries, const std::string& pattern) {
  for (const DirectoryEntry& entry : entries) {
    if (NameMatches(pattern, entry.name)) return &entry;
  }
  return nullptr;
}
