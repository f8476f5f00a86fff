// wav_file_output.cpp: the wave output as a WAV file.
//
// Does: appends every block to an 8-bit unsigned mono 22050 Hz PCM file and hands it back at
// once, so nothing waits for it; the header's sizes are filled in at close.
// Leaves out: any pacing, and any report of a failed write (the samples are lost silently).
// Called by: the sound output, for the headless runner's --wav; CreateWavFile by the runner.
#include <cstdio>

#include "platform/wave_output.h"

namespace {
constexpr long kHeaderSize = 44;

FILE* wavFile = nullptr;
WaveBlockDone blockDone = nullptr;
uint32_t dataBytes = 0;

void PutLittleEndian(uint8_t* at, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

void WriteHeader() {
  uint8_t header[kHeaderSize] = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ',
                                 16,  0,   0,   0,   1, 0, 1, 0, 0,   0,   0,   0,   0,   0,   0,   0,
                                 1,   0,   8,   0,   'd', 'a', 't', 'a', 0, 0, 0, 0};
  PutLittleEndian(header + 4, static_cast<uint32_t>(kHeaderSize - 8) + dataBytes, 4);
  PutLittleEndian(header + 24, kWaveSampleRate, 4);  // samples per second
  PutLittleEndian(header + 28, kWaveSampleRate, 4);  // bytes per second
  PutLittleEndian(header + 40, dataBytes, 4);
  std::fseek(wavFile, 0, SEEK_SET);
  std::fwrite(header, 1, sizeof header, wavFile);
  std::fseek(wavFile, 0, SEEK_END);
}

int Open(WaveBlockDone done) {
  if (wavFile == nullptr) return 0;
  blockDone = done;
  return 1;
}

void Write(WaveBlock* block) {
  dataBytes += static_cast<uint32_t>(std::fwrite(block->samples, 1, block->length, wavFile));
  blockDone(block);
}

void Reset() {}

void Close() {
  WriteHeader();
  std::fclose(wavFile);
  wavFile = nullptr;
}
}  // namespace

const WaveOutput wavFileWaveOutput = {Open, Write, Reset, Close};

int CreateWavFile(const char* path) {
  if (wavFile != nullptr) std::fclose(wavFile);
  wavFile = std::fopen(path, "wb");
  if (wavFile == nullptr) return 0;
  dataBytes = 0;
  WriteHeader();
  return 1;
}
