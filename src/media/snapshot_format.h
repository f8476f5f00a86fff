// snapshot_format.h: the machine state as the bytes of a snapshot file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

inline constexpr size_t kSnapshotSize = 132304;

// The whole file: every field at its fixed offset, multi-byte fields little-endian.
std::vector<uint8_t> EncodeSnapshot();
// Replaces the machine state with a file's contents and returns 1; returns 0 and changes nothing
// unless size is exactly kSnapshotSize. Values no running machine can hold (a colour above 15, a
// program counter past $FFFF, a raster line past the frame) are brought into range, so no file
// can lead the emulation outside its buffers.
int DecodeSnapshot(const uint8_t* bytes, size_t size);
