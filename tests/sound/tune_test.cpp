// A short tune of our own, played by the machine and rendered with --wav: each note's pitch in
// the file matches the frequency its register value stands for.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <vector>

#include "core/machine.h"
#include "support/run_vornce.h"
#include "support/temp_folder.h"

namespace {
constexpr int kWavHeader = 44;
constexpr int kSamplesPerNote = 4420;  // a note lasts the delay loop, some 186000 cycles
const uint16_t kNotes[] = {0x1CD6, 0x1F02, 0x24DB, 0x1BA0};

// Our KERNAL: triangle on voice 1 with the gate held, four notes from a table at $E040/$E050,
// each held by a delay loop of 182 x 256 turns.
std::vector<unsigned char> TuneKernal() {
  std::vector<unsigned char> kernal(kKernalRomSize, 0);
  const unsigned char code[] = {
      0x78,                                                        // SEI
      0xA9, 0x0F, 0x8D, 0x18, 0xD4,                                // volume 15
      0xA9, 0x00, 0x8D, 0x05, 0xD4, 0xA9, 0xF0, 0x8D, 0x06, 0xD4,  // attack/decay 0, sustain 15
      0xA2, 0x00,                                                  // LDX #0
      0xBD, 0x40, 0xE0, 0x8D, 0x00, 0xD4,                          // $E012: frequency low
      0xBD, 0x50, 0xE0, 0x8D, 0x01, 0xD4,                          // frequency high
      0xA9, 0x11, 0x8D, 0x04, 0xD4,                                // triangle, gate
      0xA9, 0xB6, 0x85, 0xFB, 0xA0, 0x00,                          // 182 x 256 turns
      0x88, 0xD0, 0xFD, 0xC6, 0xFB, 0xD0, 0xF9,                    // $E029: DEY BNE, DEC BNE
      0xE8, 0xE0, 0x04, 0xD0, 0xDD,                                // next note
      0x4C, 0x35, 0xE0};                                           // $E035: JMP $E035
  std::copy(std::begin(code), std::end(code), kernal.begin());
  for (int i = 0; i < 4; ++i) {
    kernal[0x40 + i] = static_cast<unsigned char>(kNotes[i] & 0xFF);
    kernal[0x50 + i] = static_cast<unsigned char>(kNotes[i] >> 8);
  }
  kernal[0x1FFC] = 0x00;
  kernal[0x1FFD] = 0xE0;
  return kernal;
}

// Frequency from the rising crossings of the mean, each placed between samples by interpolation.
double MeasuredFrequency(const std::vector<unsigned char>& samples, int from, int to) {
  double mean = 0;
  for (int i = from; i < to; ++i) mean += samples[i];
  mean /= to - from;
  double first = -1, last = -1;
  int crossings = 0;
  for (int i = from + 1; i < to; ++i) {
    const double before = samples[i - 1] - mean, after = samples[i] - mean;
    if (before < 0 && after >= 0) {
      last = i - 1 + before / (before - after);
      if (first < 0) first = last;
      ++crossings;
    }
  }
  return crossings > 1 ? (crossings - 1) * 22050.0 / (last - first) : 0;
}
}  // namespace

TEST(Tune, EachNoteSoundsAtItsRegisterFrequencyInTheWavFile) {
  TempFolder folder;
  folder.Write("basic", std::vector<unsigned char>(kBasicRomSize, 0));
  folder.Write("kernal", TuneKernal());
  folder.Write("chargen", std::vector<unsigned char>(kCharRomSize, 0));
  const std::string wav = (folder.path() / "tune.wav").string();
  const VornceRun run = RunVornce("--headless --roms " + folder.path().string() + " --seconds 1.1 --wav " + wav);
  ASSERT_EQ(run.exitStatus, 0) << run.err;

  std::ifstream file(wav, std::ios::binary);
  const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(file), {}};
  ASSERT_GT(bytes.size(), static_cast<size_t>(kWavHeader + 4 * kSamplesPerNote));
  const uint32_t dataSize = bytes[40] | bytes[41] << 8 | bytes[42] << 16 | bytes[43] << 24;
  EXPECT_EQ(dataSize, bytes.size() - kWavHeader);
  const std::vector<unsigned char> samples(bytes.begin() + kWavHeader, bytes.end());
  for (int note = 0; note < 4; ++note) {
    SCOPED_TRACE(note);
    const double hz = std::trunc(kNotes[note] * 930000.0 / 16777216.0);
    const int start = note * kSamplesPerNote;
    EXPECT_NEAR(MeasuredFrequency(samples, start + 600, start + 3800), hz, hz * 0.01);
  }
}
