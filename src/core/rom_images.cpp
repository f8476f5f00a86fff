// rom_images.cpp: the ROM images, read once at start-up from a folder of the user's.
//
// Each image is accepted under its plain name (basic, kernal, chargen; bare, .bin or .rom) or its
// chip-numbered name. The images are copied into static storage, so the machine keeps no file
// open and allocates nothing. Nothing is installed unless all three images are present and of
// the right size. Without usable genuine images the built-in ROMs from roms/ are installed.
// Called by: the front ends, before InitMachine.
#include "core/rom_images.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "core/builtin_roms.h"
#include "core/machine.h"
#include "platform/user_data.h"

namespace {
namespace fs = std::filesystem;

struct RomSlot {
  const char* label;
  std::array<const char*, 4> fileNames;
  int size;
  uint32_t standardCrc;
  const uint8_t** installed;
};

uint8_t basicImage[kBasicRomSize];
uint8_t kernalImage[kKernalRomSize];
uint8_t charImage[kCharRomSize];

const RomSlot romSlots[] = {
    {"basic", {"basic", "basic.bin", "basic.rom", "basic-901226-01.bin"}, kBasicRomSize, 0xF833D117u, &BasicRom},
    {"kernal", {"kernal", "kernal.bin", "kernal.rom", "kernal-901227-03.bin"}, kKernalRomSize, 0xDBE3E7C7u, &KernalRom},
    {"chargen", {"chargen", "chargen.bin", "chargen.rom", "characters-901225-01.bin"}, kCharRomSize, 0xEC4272EEu,
     &CharRom},
};

std::string FindRomFile(const fs::path& folder, const RomSlot& slot) {
  for (const char* name : slot.fileNames) {
    std::error_code error;
    const fs::path candidate = folder / name;
    if (fs::is_regular_file(candidate, error)) return candidate.string();
  }
  return {};
}

// Reads exactly `size` bytes into image; any other length is reported as the file's length.
RomLoadStatus ReadRomFile(const std::string& path, uint8_t* image, int size, long& actualSize) {
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!file) return RomLoadStatus::Unreadable;
  actualSize = static_cast<long>(std::fread(image, 1, size, file.get()));
  if (std::ferror(file.get())) return RomLoadStatus::Unreadable;
  uint8_t extra[1];
  std::error_code error;
  if (actualSize != size || std::fread(extra, 1, 1, file.get()) != 0) {
    const auto length = fs::file_size(path, error);
    if (!error) actualSize = static_cast<long>(length);
    return RomLoadStatus::WrongSize;
  }
  return RomLoadStatus::Loaded;
}

char Hex(unsigned digit) { return "0123456789ABCDEF"[digit & 15]; }

std::string HexWord(uint32_t value) {
  std::string text = "0x";
  for (int shift = 28; shift >= 0; shift -= 4) text += Hex(value >> shift);
  return text;
}
}  // namespace

uint32_t Crc32(const uint8_t* data, size_t size) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

std::string ChooseRomFolder(const std::string& optionFolder) {
  if (!optionFolder.empty()) return optionFolder;
  if (const char* fromEnvironment = std::getenv("VORNCE_ROMS"); fromEnvironment && *fromEnvironment) {
    return fromEnvironment;
  }
  return UserDataFolder() + "/roms";
}

RomLoadResult LoadRomImages(const std::string& folder) {
  RomLoadResult result;
  std::error_code error;
  if (!fs::is_directory(folder, error)) {
    result.status = RomLoadStatus::FolderUnreadable;
    result.error = "cannot read the ROM folder " + folder + " (" +
                   (error ? error.message() : std::string("not a folder")) + ")";
    return result;
  }

  uint8_t* images[] = {basicImage, kernalImage, charImage};
  std::string missing;
  std::string paths[3];
  for (int i = 0; i < 3; ++i) {
    paths[i] = FindRomFile(folder, romSlots[i]);
    if (paths[i].empty()) missing += std::string(missing.empty() ? "" : ", ") + romSlots[i].label;
  }
  if (!missing.empty()) {
    const bool noneThere =
        std::all_of(std::begin(paths), std::end(paths), [](const std::string& path) { return path.empty(); });
    result.status = noneThere ? RomLoadStatus::NoImages : RomLoadStatus::Missing;
    result.error = "no " + missing + " ROM image in " + folder +
                   ". Put the C64's basic (8192 bytes), kernal (8192 bytes) and chargen (4096 bytes) images "
                   "there, named basic, kernal, chargen (bare, .bin or .rom) or basic-901226-01.bin, "
                   "kernal-901227-03.bin, characters-901225-01.bin; or name another folder with --roms DIR "
                   "or $VORNCE_ROMS";
    return result;
  }

  // Read all three before installing any, so a failure leaves the machine's ROMs as they were.
  static uint8_t staging[kBasicRomSize + kKernalRomSize + kCharRomSize];
  uint8_t* staged[3] = {staging, staging + kBasicRomSize, staging + kBasicRomSize + kKernalRomSize};
  for (int i = 0; i < 3; ++i) {
    const RomSlot& slot = romSlots[i];
    long actualSize = 0;
    result.status = ReadRomFile(paths[i], staged[i], slot.size, actualSize);
    if (result.status == RomLoadStatus::Unreadable) {
      result.error = "cannot read the " + std::string(slot.label) + " ROM image " + paths[i];
      return result;
    }
    if (result.status == RomLoadStatus::WrongSize) {
      result.error = "the " + std::string(slot.label) + " ROM image " + paths[i] + " has " +
                     std::to_string(actualSize) + " bytes; expected " + std::to_string(slot.size) + " bytes";
      return result;
    }
    const uint32_t crc = Crc32(staged[i], slot.size);
    if (crc != slot.standardCrc) {
      result.warnings.push_back("the " + std::string(slot.label) + " ROM image " + paths[i] + " has CRC-32 " +
                                HexWord(crc) + ", not the standard " + HexWord(slot.standardCrc) +
                                "; running it anyway");
    }
  }
  for (int i = 0; i < 3; ++i) {
    std::copy_n(staged[i], romSlots[i].size, images[i]);
    *romSlots[i].installed = images[i];
  }
  return result;
}

void InstallBuiltinRoms() {
  BasicRom = kBuiltinBasicRom;
  KernalRom = kBuiltinKernalRom;
  CharRom = kBuiltinCharRom;
}

RomLoadResult SelectRomImages(const std::string& optionFolder, bool forceBuiltin) {
  RomLoadResult result;
  if (!forceBuiltin) {
    const std::string folder = ChooseRomFolder(optionFolder);
    result = LoadRomImages(folder);
    if (result.status != RomLoadStatus::FolderUnreadable && result.status != RomLoadStatus::NoImages) return result;
    result.notice = "no ROM images in " + folder + "; ";
  }
  InstallBuiltinRoms();
  result.status = RomLoadStatus::Loaded;
  result.error.clear();
  result.notice += "running VornCE's built-in BASIC, KERNAL and character set";
  return result;
}
