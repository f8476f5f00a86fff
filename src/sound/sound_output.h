// sound_output.h: the sound device as the emulation thread sees it.
#pragma once

#include <atomic>
#include <cstdint>

struct WaveOutput;

// Blocks handed to the wave output and not yet played; the throttle holds the CPU while more
// than 10 are queued.
extern std::atomic<int32_t> queuedSoundBuffers;
// The user's Sound ON/OFF; while 0 the blocks still go out, as silence, so the pace stays.
extern std::atomic<uint32_t> soundEnabled;
// 0: a wave output is open and the tables are built. 3: opening, or no output. Bit 1 set: there
// is no output to close.
extern std::atomic<uint32_t> soundDeviceState;

// The wave output InitSound opens, chosen by the front end before the emulation thread starts.
// Null, the default, opens none: the machine runs silent and unpaced. When the chosen output
// cannot be opened, a message says so and a silent output keeps real time instead.
void ChooseSoundOutput(const WaveOutput* output);

// Emulation thread, once at its start: sets up the voices and opens the chosen output.
void InitSound();
// Machine start-up, before the emulation thread: sound state back to its start.
void ResetSound();
// Emulation thread, every 40000 cycles: the samples made since the last flush become one block.
void SoundFlush();
// Copies length samples (0 stands for 32768) into a block and writes it to the output.
void QueueSoundBlock(const uint8_t* samples, int length);
// Stops and closes the output; every queued block comes back first.
void CloseWaveOut();
// At the end of the program, once the emulation thread has returned: closes the output if one
// is open. A later InitSound may open one again.
void ShutdownSound();
