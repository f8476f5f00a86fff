// atomic_file.cpp: whole-or-nothing file replacement with POSIX calls.
//
// The new contents go to a unique temporary file beside the target, are flushed with fsync and
// only then renamed over it; the rename is atomic within one file system. The folder is synced
// afterwards so that the rename itself survives a power loss.
// Left out: preserving the old file's owner and permissions; the new file is readable by all.
// Called by: the snapshot commands.
#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace {
constexpr mode_t kFileMode = 0644;

bool WriteAll(int fd, const uint8_t* bytes, size_t size) {
  while (size > 0) {
    const ssize_t written = write(fd, bytes, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

void SyncFolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}
}  // namespace

bool ReplaceFileAtomically(const char* path, const uint8_t* bytes, size_t size) {
  std::string temporary = std::string(path) + ".XXXXXX";
  const int fd = mkstemp(temporary.data());
  if (fd < 0) return false;
  const bool written = WriteAll(fd, bytes, size) && fchmod(fd, kFileMode) == 0 && fsync(fd) == 0;
  const bool closed = close(fd) == 0;
  if (!written || !closed || rename(temporary.c_str(), path) != 0) {
    unlink(temporary.c_str());
    return false;
  }
  SyncFolderOf(path);
  return true;
}
