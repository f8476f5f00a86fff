// sdl_wave_output.cpp: the wave output on the host's audio device through SDL.
//
// Does: opens the default device for 8-bit unsigned mono at 22050 per second; SDL's audio thread
// pulls samples from the queued blocks and hands each block back as soon as its last sample has
// gone to the device. When the queue runs dry it repeats the last level played, so a late block
// gives a pause rather than a click. The device starts playing with the first block.
// Leaves out: choosing among several devices, and the delay inside SDL and the device.
// Called by: the sound output, for the desktop.
#include <SDL.h>

#include <algorithm>

#include "platform/wave_output.h"

namespace {
constexpr Uint16 kDeviceBufferSamples = 512;

SDL_AudioDeviceID device = 0;
WaveBlockDone blockDone = nullptr;
// Touched under SDL's device lock, which the audio callback always runs inside.
WaveBlock* queueHead = nullptr;
WaveBlock* queueTail = nullptr;
uint32_t headPosition = 0;  // samples of the head block already played
Uint8 lastLevel = 0x80;
bool started = false;

void FillFromQueue(void*, Uint8* stream, int length) {
  int filled = 0;
  while (filled < length && queueHead != nullptr) {
    WaveBlock* const block = queueHead;
    const uint32_t take = std::min<uint32_t>(block->length - headPosition, static_cast<uint32_t>(length - filled));
    SDL_memcpy(stream + filled, block->samples + headPosition, take);
    filled += static_cast<int>(take);
    headPosition += take;
    if (take > 0) lastLevel = stream[filled - 1];
    if (headPosition == block->length) {
      queueHead = block->next;
      if (queueHead == nullptr) queueTail = nullptr;
      headPosition = 0;
      blockDone(block);
    }
  }
  SDL_memset(stream + filled, lastLevel, static_cast<size_t>(length - filled));
}

int Open(WaveBlockDone done) {
  // SDL would otherwise take SIGINT and SIGTERM for itself, and the front ends could no longer
  // be stopped by them.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return 0;
  SDL_AudioSpec wanted{};
  wanted.freq = kWaveSampleRate;
  wanted.format = AUDIO_U8;
  wanted.channels = 1;
  wanted.samples = kDeviceBufferSamples;
  wanted.callback = FillFromQueue;
  blockDone = done;
  queueHead = queueTail = nullptr;
  headPosition = 0;
  started = false;
  device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
  if (device == 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return 0;
  }
  return 1;
}

void Write(WaveBlock* block) {
  block->next = nullptr;
  SDL_LockAudioDevice(device);
  (queueTail != nullptr ? queueTail->next : queueHead) = block;
  queueTail = block;
  SDL_UnlockAudioDevice(device);
  if (!started) {
    started = true;
    SDL_PauseAudioDevice(device, 0);
  }
}

void Reset() {
  SDL_LockAudioDevice(device);
  while (queueHead != nullptr) {
    WaveBlock* const block = queueHead;
    queueHead = block->next;
    blockDone(block);
  }
  queueTail = nullptr;
  headPosition = 0;
  SDL_UnlockAudioDevice(device);
}

void Close() {
  SDL_CloseAudioDevice(device);
  device = 0;
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}
}  // namespace

const WaveOutput sdlWaveOutput = {Open, Write, Reset, Close};
