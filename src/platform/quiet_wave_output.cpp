// quiet_wave_output.cpp: the host's audio device when there is one, silence at real speed when
// there is none, and a quiet terminal either way.
//
// Does: opens the SDL output with the process's stderr pointed at /dev/null for the moment of
// opening, since the audio libraries behind SDL (ALSA above all) print lines of their own about
// missing cards; when that fails it opens the timed output, which keeps real time without sound,
// and says so in one line on stderr. Blocks then go to whichever output is open.
// Leaves out: a message box for the missing device: on a desktop without sound that is not a
// fault, and the program runs as usual.
// Called by: the sound output, for the desktop window.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

#include "platform/wave_output.h"

namespace {
const WaveOutput* openOutput = nullptr;

int OpenWithStderrSilenced(WaveBlockDone done) {
  std::fflush(stderr);
  const int savedStderr = dup(STDERR_FILENO);
  const int devNull = open("/dev/null", O_WRONLY | O_CLOEXEC);
  const bool silenced = savedStderr >= 0 && devNull >= 0 && dup2(devNull, STDERR_FILENO) >= 0;
  const int opened = sdlWaveOutput.open(done);
  if (silenced) dup2(savedStderr, STDERR_FILENO);
  if (savedStderr >= 0) close(savedStderr);
  if (devNull >= 0) close(devNull);
  return opened;
}

int Open(WaveBlockDone done) {
  if (OpenWithStderrSilenced(done) != 0) {
    openOutput = &sdlWaveOutput;
    return 1;
  }
  std::fprintf(stderr, "vornce: no sound device could be opened; running silent at real speed\n");
  openOutput = &timedWaveOutput;
  return timedWaveOutput.open(done);
}

void Write(WaveBlock* block) { openOutput->write(block); }
void Reset() { openOutput->reset(); }
void Close() { openOutput->close(); }
}  // namespace

const WaveOutput quietSdlWaveOutput = {Open, Write, Reset, Close};
