// atomic_file.h: replacing a file so that it is either wholly new or untouched.
#pragma once

#include <cstddef>
#include <cstdint>

// Writes bytes to a temporary file in path's folder, flushes it to the disk and renames it over
// path. On any failure the file at path stays as it was and the temporary file is removed.
// True on success.
bool ReplaceFileAtomically(const char* path, const uint8_t* bytes, size_t size);
