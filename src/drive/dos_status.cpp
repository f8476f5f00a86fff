// dos_status.cpp: the wording of the 1541's status messages.
//
// Emulated: the messages of DOS 2.6 for every error number the virtual drive can give, and the
// drive's layout of number, text, track and sector with two digits each.
// Left out: the messages of errors only the drive's mechanics or its own memory can cause
// (sync, header, buffer and memory-command errors) other than the read errors an image records.
// Called by: the virtual drive's channels, when the status is read on channel 15.
#include "drive/dos_status.h"

#include <cstdio>

namespace {
const char* MessageFor(int code) {
  switch (code) {
    case kDosOk: return " OK";
    case kDosFilesScratched: return " FILES SCRATCHED";
    case 20: case 21: case 22: case 23: case 24: case 27: return "READ ERROR";
    case kDosWriteError: return "WRITE ERROR";
    case kDosWriteProtect: return "WRITE PROTECT ON";
    case 29: return "DISK ID MISMATCH";
    case kDosSyntaxError: case kDosInvalidCommand: case 32: case kDosNameSyntax: case kDosNoFileName: return "SYNTAX ERROR";
    case kDosWriteFileOpen: return "WRITE FILE OPEN";
    case kDosFileNotOpen: return "FILE NOT OPEN";
    case kDosFileNotFound: return "FILE NOT FOUND";
    case kDosFileExists: return "FILE EXISTS";
    case kDosTypeMismatch: return "FILE TYPE MISMATCH";
    case kDosIllegalTrackSector: return "ILLEGAL TRACK OR SECTOR";
    case kDosDirectoryError: return "DIR ERROR";
    case kDosDiskFull: return "DISK FULL";
    case kDosPowerUp: return "CBM DOS V2.6 1541";
    case 74: return "DRIVE NOT READY";
    default: return "UNKNOWN ERROR";
  }
}
}  // namespace

std::string DosStatusText(const DosStatus& status) {
  char text[48];
  std::snprintf(text, sizeof text, "%02d,%s,%02d,%02d", status.code % 100, MessageFor(status.code), status.track % 100,
                status.sector % 100);
  return text;
}
