// builtin_roms.h: VornCE's own BASIC, KERNAL and character ROMs, built from the sources in
// roms/ and linked in as constant data, for machines without the genuine images.
#pragma once

#include <cstdint>

extern const uint8_t kBuiltinBasicRom[8192];
extern const uint8_t kBuiltinKernalRom[8192];
extern const uint8_t kBuiltinCharRom[4096];
