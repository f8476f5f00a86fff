// dos_status.h: the drive's error channel: the status numbers and how the drive words them.
#pragma once

#include <cstdint>
#include <string>

enum DosCode : int {
  kDosOk = 0,
  kDosFilesScratched = 1,
  kDosWriteError = 25,
  kDosWriteProtect = 26,
  kDosSyntaxError = 30,
  kDosInvalidCommand = 31,
  kDosNameSyntax = 33,
  kDosNoFileName = 34,
  kDosWriteFileOpen = 60,
  kDosFileNotOpen = 61,
  kDosFileNotFound = 62,
  kDosFileExists = 63,
  kDosTypeMismatch = 64,
  kDosIllegalTrackSector = 66,
  kDosDirectoryError = 71,
  kDosDiskFull = 72,
  kDosPowerUp = 73,
};

struct DosStatus {
  int code = kDosPowerUp;
  uint8_t track = 0;
  uint8_t sector = 0;
};

// "nn,TEXT,tt,ss" as the 1541 sends it, e.g. "00, OK,00,00" or "73,CBM DOS V2.6 1541,00,00".
std::string DosStatusText(const DosStatus& status);
