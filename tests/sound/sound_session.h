// sound_session.h: a test machine whose sound is on, writing to a WAV file of its own, so the
// generator runs exactly as it does after start-up.
#pragma once

#include "platform/wave_output.h"
#include "sound/sound_output.h"
#include "support/temp_folder.h"
#include "support/test_machine.h"

struct SoundSession {
  TempFolder folder;
  SoundSession() {
    PrepareTestMachine();
    ShutdownSound();  // whatever an earlier test left open or failed to open
    CreateWavFile((folder.path() / "sound.wav").c_str());
    ChooseSoundOutput(&wavFileWaveOutput);
    InitSound();
  }
  ~SoundSession() {
    ShutdownSound();
    ChooseSoundOutput(nullptr);
  }
};
