// program_loader.h: .prg, .p00 and .t64 programs copied into memory and started with RUN.
#pragma once

#include <cstddef>
#include <cstdint>

// Both return 1 when the program was placed in Ram, 0 when the file cannot be opened or is too
// short to hold a load address; then nothing at all has changed. Call them while the emulation
// thread is paused, or on that thread between frames.
//
// A path whose last character is '0' (game.p00, tape.s00) names a P00 file: a PRG behind a
// 26-byte header.
int LoadPrg(const char* path);
// A program already in memory (a file read from a disk image), its load address first: the same
// as LoadPrg. 0 when it is shorter than a load address.
int LoadProgramBytes(const uint8_t* bytes, size_t size);
// The first program of a T64 tape image: every byte from its data offset to the end of the image.
int LoadT64(const char* path);
