// headless_sound.cpp: the headless runner's choice of sound output and its end.
//
// Does: maps --wav and --realtime onto the wave outputs, and at the end waits (for at most a
// second) for the queued blocks to finish, so a paced run lasts as long as the sound it made.
// Leaves out: playing on the host's audio device, which is the desktop's.
// Called by: the headless runner, before it starts the emulation thread and after it returns.
#include "shell/headless_sound.h"

#include <chrono>
#include <thread>

#include "platform/wave_output.h"
#include "sound/sound_output.h"

namespace {
constexpr auto kLongestPlayOut = std::chrono::seconds(1);
constexpr auto kPlayOutPoll = std::chrono::milliseconds(1);
}  // namespace

bool SetUpHeadlessSound(const LaunchOptions& options, std::string& error) {
  if (!options.wavPath.empty()) {
    if (CreateWavFile(options.wavPath.c_str()) == 0) {
      error = "cannot write the WAV file '" + options.wavPath + "'";
      return false;
    }
    ChooseSoundOutput(&wavFileWaveOutput);
  } else {
    ChooseSoundOutput(options.realtime ? &timedWaveOutput : nullptr);
  }
  return true;
}

void FinishHeadlessSound() {
  const auto deadline = std::chrono::steady_clock::now() + kLongestPlayOut;
  while (queuedSoundBuffers.load() > 0 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(kPlayOutPoll);
  }
  ShutdownSound();
}
