// sound_output.cpp: the sound device as the emulation thread drives it.
//
// Does: opens the chosen wave output when the emulation thread starts (falling back to a silent
// output that keeps real time, after a message, when it cannot be opened); every 40000 cycles
// turns the samples made since the last flush into one block and writes it; counts the blocks
// the output still holds, the count the emulation thread paces itself by. With Sound OFF the
// blocks carry the last level sent instead of the samples, so the pace and the level stay. In
// warp nothing is queued at all.
// Blocks come from a pool made once, never from the heap, and go back to it when the output
// hands them back, on the output's own thread.
// Leaves out: more than one output at a time.
// Called by: the emulation thread (InitSound, SoundFlush), the machine's start-up (ResetSound),
// the front ends (ChooseSoundOutput, soundEnabled, ShutdownSound) and, through WaveOutDone, the
// wave output.
#include "sound/sound_output.h"

#include <algorithm>
#include <cstring>

#include "core/scheduler_state.h"
#include "platform/message_box.h"
#include "platform/wave_output.h"
#include "sound/envelope_tables.h"
#include "sound/sid.h"
#include "sound/voices.h"

std::atomic<int32_t> queuedSoundBuffers{0};
std::atomic<uint32_t> soundEnabled{1};
std::atomic<uint32_t> soundDeviceState{0};

namespace {
// The throttle keeps at most 12 blocks queued (more than 10 hold the CPU, checked every 50000
// cycles, one block every 40000); the rest is margin.
constexpr int kPoolBlocks = 32;

struct PoolBlock {
  WaveBlock header;
  std::atomic<bool> inUse;
  uint8_t samples[kSampleBufferSize];
};
PoolBlock pool[kPoolBlocks];

const WaveOutput* chosenOutput = nullptr;
const WaveOutput* waveOutHandle = nullptr;  // the open output, or null
uint8_t lastLevelSent = 0;

void WaveOutDone(WaveBlock* block) {
  static_cast<PoolBlock*>(block->user)->inUse.store(false, std::memory_order_release);
  queuedSoundBuffers.fetch_sub(1);
}

PoolBlock* TakeFreeBlock() {
  for (PoolBlock& block : pool) {
    if (!block.inUse.load(std::memory_order_acquire)) {
      block.inUse.store(true, std::memory_order_relaxed);
      return &block;
    }
  }
  return nullptr;
}

bool TryOpen(const WaveOutput* output) {
  if (output->open(WaveOutDone) == 0) return false;
  waveOutHandle = output;
  return true;
}

// 0 on success, as the handheld's device call reports it.
int OpenWaveOut() {
  if (chosenOutput == nullptr) return 1;
  if (TryOpen(chosenOutput)) return 0;
  ShowMessageBox(
      "Failed to open waveform output device.\nMake sure you turned off Screen Taps Sound.\n"
      "(Use Control Panel to turn it off)",
      "Error!");
  return TryOpen(&timedWaveOutput) ? 0 : 1;
}
}  // namespace

void ChooseSoundOutput(const WaveOutput* output) { chosenOutput = output; }

void InitSound() {
  SetUpVoices();
  if (soundDeviceState.load() != 0) return;
  soundDeviceState.store(3);
  if (OpenWaveOut() != 0) return;
  BuildWaveTables();
  BuildEnvelopeTables();
  soundDeviceState.store(0);
}

void ResetSound() {
  soundDeviceState.fetch_and(2);
  soundPosition = 0;
  sampleClockAcc = 0;
  sampleCount = 0;
}

void SoundFlush() {
  if (soundDeviceState.load() == 0) {
    CatchUpSound();
    QueueSoundBlock(sampleBuffer, sampleCount);
  }
  sampleCount = 0;
}

void QueueSoundBlock(const uint8_t* samples, int length) {
  // Before the emulation thread has opened anything there is no output to take the block. In
  // warp no block goes out: the output runs dry, which is silence, and paces nothing.
  if (waveOutHandle == nullptr || warpMode.load() != 0) return;
  const uint32_t n = length == 0 ? kSampleBufferSize : static_cast<uint32_t>(length);
  PoolBlock* const block = TakeFreeBlock();
  // Only an output that stops handing blocks back could empty the pool; the samples are lost.
  if (block == nullptr) return;
  if (soundEnabled.load() != 0) {
    std::memcpy(block->samples, samples, n);
    lastLevelSent = samples[n - 1];
  } else {
    std::memset(block->samples, lastLevelSent, n);
  }
  block->header = WaveBlock{block->samples, n, nullptr, block};
  queuedSoundBuffers.fetch_add(1);
  waveOutHandle->write(&block->header);
}

void CloseWaveOut() {
  if (waveOutHandle == nullptr) return;
  waveOutHandle->reset();
  waveOutHandle->close();
  waveOutHandle = nullptr;
}

void ShutdownSound() {
  if ((soundDeviceState.load() & 2) == 0) CloseWaveOut();
  soundDeviceState.store(0);
}
