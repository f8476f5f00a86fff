// media_fuzz.cpp: a libFuzzer target for one media format, chosen when it is built
// (VORNCE_FUZZ_FORMAT: prg, p00, t64, crt or snapshot).
//
// The loaders get the input as a file, as a user's file reaches them; a snapshot is also padded
// out to a full file by repeating the input, applied, and the machine runs a frame on it, so
// state no genuine snapshot holds would show as a read or write outside a buffer.
// Built by: the VORNCE_FUZZ configuration, with clang; run for a bounded time by ./dev test.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/cpu.h"
#include "core/machine.h"
#include "machine/machine_reset.h"
#include "machine/scheduler.h"
#include "media/cartridge.h"
#include "media/program_loader.h"
#include "media/snapshot_format.h"
#include "platform/message_box.h"
#include "sound/sound_output.h"

namespace {
constexpr int kPassesPerRun = 20000;  // about a frame of the emulation loop
const std::string format = VORNCE_FUZZ_FORMAT;
std::string inputPath;

void Quietly(const char*, const char*) {}

void WriteInput(const uint8_t* data, size_t size) {
  std::FILE* file = std::fopen(inputPath.c_str(), "wb");
  if (file == nullptr) std::abort();
  std::fwrite(data, 1, size, file);
  std::fclose(file);
}

void RunSnapshot(const uint8_t* data, size_t size) {
  DecodeSnapshot(data, size);
  if (size == 0) return;
  std::vector<uint8_t> file(kSnapshotSize);
  for (size_t i = 0; i < file.size(); ++i) file[i] = data[i % size];
  DecodeSnapshot(file.data(), file.size());
  for (int pass = 0; pass < kPassesPerRun; ++pass) RunEmulationPass();
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  inputPath = "/tmp/vornce-fuzz-" + std::to_string(getpid()) + "." + format;
  SetMessageBoxHandler(Quietly);  // random code jams often
  if (InitMachine() == 0) std::abort();
  InitSound();
  ResetCpu();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (format == "snapshot") {
    RunSnapshot(data, size);
    return 0;
  }
  WriteInput(data, size);
  if (format == "crt") {
    LoadCartridge(inputPath.c_str());
  } else if (format == "t64") {
    LoadT64(inputPath.c_str());
  } else {
    LoadPrg(inputPath.c_str());
  }
  return 0;
}
