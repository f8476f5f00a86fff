// file_name.h: the names programs open files with: "@0:NAME,S,W" taken apart, and patterns.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "media/disk_directory.h"

enum class FileMode { Default, Read, Write, Append, Modify };

struct OpenRequest {
  bool replace = false;              // "@" before the name: save over an existing file
  std::string name;                  // may hold the wildcards * and ?
  std::optional<FileType> type;      // ",S" ",P" ",U" ",L"; none when not given
  FileMode mode = FileMode::Default;
  bool valid = true;                 // false: an option the drive does not know
};

// Takes the name sent with an open apart: an optional "@", an optional drive part ending in ":",
// the name, then up to two options (type and mode, in any order) after commas.
OpenRequest ParseOpenName(const std::string& text);

// The drive's pattern rule: "?" matches any one character, "*" everything from there on, other
// characters themselves; without "*" the lengths must agree.
bool NameMatches(const std::string& pattern, const std::string& name);
bool HasWildcards(const std::string& name);
// The first of the entries whose name matches pattern, or null.
const DirectoryEntry* FirstMatch(const std::vector<DirectoryEntry>& entries, const std::string& pattern);
