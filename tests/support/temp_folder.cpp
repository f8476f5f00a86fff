#include "support/temp_folder.h"

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <unistd.h>

TempFolder::TempFolder() {
  static std::atomic<int> serial{0};
  path_ = std::filesystem::temp_directory_path() /
          ("vornce-test-" + std::to_string(getpid()) + "-" + std::to_string(serial++));
  std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TempFolder::Write(const std::string& name, const std::vector<unsigned char>& bytes) const {
  const auto file = path_ / name;
  std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  return file.string();
}

std::string GenuineRomFolder() {
  const char* fromEnvironment = std::getenv("VORNCE_ROMS");
  const std::string folder = fromEnvironment && *fromEnvironment ? fromEnvironment : VORNCE_SHARED_ROMS;
  return std::filesystem::exists(std::filesystem::path(folder) / "kernal-901227-03.bin") ||
                 std::filesystem::exists(std::filesystem::path(folder) / "kernal")
             ? folder
             : std::string();
}
