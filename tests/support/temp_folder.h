// temp_folder.h: a folder of files made by a test, removed again at its end.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string Write(const std::string& name, const std::vector<unsigned char>& bytes) const;

 private:
  std::filesystem::path path_;
};

// The genuine ROM folder ($VORNCE_ROMS, else the shared folder beside the project), or empty
// when its images are not there.
std::string GenuineRomFolder();
