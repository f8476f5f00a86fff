// sound_output.h: the sound device as the emulation thread sees it.
#pragma once

#include <atomic>
#include <cstdint>

// Blocks handed to the wave output and not yet played; the throttle holds the CPU while more
// than 10 are queued.
extern std::atomic<int32_t> queuedSoundBuffers;

void InitSound();
void ResetSound();
void SoundFlush();
