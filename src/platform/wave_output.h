// wave_output.h: our stand-in for the handheld's waveform audio output: blocks of 8-bit unsigned
// mono samples at 22050 per second, each handed back once it has been played.
#pragma once

#include <cstdint>

inline constexpr int kWaveSampleRate = 22050;

// A block belongs to the output from Write until the output hands it back through the
// completion handler; the output reads samples[0..length) and may link queued blocks by next.
struct WaveBlock {
  uint8_t* samples;
  uint32_t length;
  WaveBlock* next;
  void* user;  // the writer's own, untouched by the output
};

// Called once for every written block, on whatever thread finishes it (an audio thread, a timer
// thread, or the writer's own thread inside Write or Reset).
using WaveBlockDone = void (*)(WaveBlock* block);

struct WaveOutput {
  // 1 on success, 0 when the output cannot be opened.
  int (*open)(WaveBlockDone done);
  void (*write)(WaveBlock* block);
  // Hands every queued block back through the completion handler before returning.
  void (*reset)();
  void (*close)();
};

// The host's audio device through SDL; when the queue runs dry it repeats the last level.
extern const WaveOutput sdlWaveOutput;
// The SDL output, or when no audio device can be opened the timed output, after one line on
// stderr saying so; the audio libraries' own complaints are kept off the terminal.
extern const WaveOutput quietSdlWaveOutput;
// No sound: each block completes when its samples would have been played, at 22050 per second.
extern const WaveOutput timedWaveOutput;
// Every block appended to the WAV file made by CreateWavFile, completed at once.
extern const WaveOutput wavFileWaveOutput;

// Creates (or truncates) the file the WAV output writes to; 1 on success.
int CreateWavFile(const char* path);
