// rom_images.h: finding and installing the BASIC, KERNAL and character ROM images.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// NoImages: the folder holds none of the three; Missing: it holds some but not all.
enum class RomLoadStatus { Loaded, FolderUnreadable, NoImages, Missing, WrongSize, Unreadable };

struct RomLoadResult {
  RomLoadStatus status = RomLoadStatus::Loaded;
  std::string error;                  // why nothing was installed, for the user
  std::vector<std::string> warnings;  // images that were installed but are not the standard ones
  std::string notice;                 // SelectRomImages: which built-in set runs, and why
};

// The folder to look in: the --roms option when given, else $VORNCE_ROMS, else
// $XDG_DATA_HOME/vornce/roms (by default ~/.local/share/vornce/roms).
std::string ChooseRomFolder(const std::string& optionFolder);

// Reads the three images from folder and, only when all three are there with the right sizes,
// installs them as BasicRom, KernalRom and CharRom. A CRC-32 other than the standard image's
// is a warning, not an error: patched KERNALs are common.
RomLoadResult LoadRomImages(const std::string& folder);

// Installs VornCE's own BASIC, KERNAL and character ROMs.
void InstallBuiltinRoms();

// The ROMs a run uses: the built-in ones when forceBuiltin is set; else the images in the folder
// ChooseRomFolder gives, falling back to the built-in ones (with a notice) when that folder is
// missing or holds none of the three. A partial or damaged set stays an error.
RomLoadResult SelectRomImages(const std::string& optionFolder, bool forceBuiltin);

uint32_t Crc32(const uint8_t* data, size_t size);
