// sound_output.cpp: the sound device as the emulation thread drives it.
//
// Emulated so far: nothing is played; no block is ever queued, so the throttle never holds the
// machine and the emulation runs as fast as the host allows.
// Called by: the emulation thread (InitSound at start, SoundFlush every 40000 cycles) and the
// machine's start-up (ResetSound).
#include "sound/sound_output.h"

std::atomic<int32_t> queuedSoundBuffers{0};

void InitSound() {}
void ResetSound() {}
void SoundFlush() {}
