// Tests of the snapshot file: its layout, what loading does with values no machine holds, and
// the save and load commands with their failures. A stand-in for the emulation thread answers
// the pause handshake without running the machine, so the state can be compared exactly.
#include "media/snapshot.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <atomic>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

#include "chips/cia.h"
#include "chips/vic.h"
#include "core/cpu.h"
#include "core/machine.h"
#include "machine/scheduler.h"
#include "media/snapshot_format.h"
#include "sound/sid.h"
#include "support/temp_folder.h"
#include "support/test_machine.h"

namespace {
using Bytes = std::vector<uint8_t>;

// Acknowledges every pause like an idle emulation thread, and checks that each command resumes.
struct PauseAnswerer {
  std::atomic<bool> done{false};
  std::thread thread{[this] {
    while (!done.load()) {
      if (emulationRunning.load() == 0) pauseAcknowledged.store(1);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }};
  ~PauseAnswerer() {
    done.store(true);
    thread.join();
  }
};

Bytes ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}
}  // namespace

TEST(SnapshotFormat, EveryFieldSitsAtItsOffsetLittleEndian) {
  PrepareTestMachine();
  Ram[0] = 0x11;
  ColorRam[0] = 0x0C;
  FrameBuffer[0] = 0x0B;
  CpuRegs.indirectAddress = 0x00FB;
  CpuRegs.pc = 0xBEEF;
  CpuRegs.sp = 0x12;
  soundCycleCount = 0x1234;
  vicRegs[0] = 0x42;
  cia1Regs[0] = 0x5678;
  cia2Regs[7] = 0x0102;
  sidRegs[0] = 0x9A;
  sidRegs[28] = 0x9B;
  nmiPending = 1;
  vicEcm = 0x40;
  rasterLine = 0x0105;
  rasterCompareLine = 0xFFFF;
  borderColor = 0x0E;
  vicBankBase = 0xC000;
  cia1IntMask = 0x1F;
  cia2TimerB = 0xCAFE;
  const Bytes file = EncodeSnapshot();
  ASSERT_EQ(file.size(), 132304u);
  const struct {
    size_t offset;
    Bytes bytes;
  } fields[] = {
      {0, {0x11}},           {65536, {0x0C}},           {66560, {0x0B}},       {132096, {0xFB, 0, 0, 0}},
      {132109, {0xEF, 0xBE, 0, 0}}, {132116, {0x12}},   {132117, {0x34, 0x12, 0, 0}}, {132133, {0x42}},
      {132180, {0x78, 0x56}}, {132210, {0x02, 0x01}},   {132212, {0x9A}},      {132240, {0x9B}},
      {132241, {1, 0, 0, 0}}, {132249, {0x40, 0}},      {132259, {0x05, 0x01}}, {132273, {0xFF, 0xFF}},
      {132275, {0x0E}},      {132280, {0x00, 0xC0}},    {132290, {0x1F}},      {132302, {0xFE, 0xCA}},
  };
  for (const auto& field : fields) {
    EXPECT_EQ(Bytes(file.begin() + field.offset, file.begin() + field.offset + field.bytes.size()), field.bytes)
        << "at offset " << field.offset;
  }
}

TEST(SnapshotFormat, LoadingBringsImpossibleValuesIntoRange) {
  PrepareTestMachine();
  Bytes file = EncodeSnapshot();
  auto put = [&file](size_t offset, Bytes bytes) { std::copy(bytes.begin(), bytes.end(), file.begin() + offset); };
  put(65536 + 3, {0xF7});                    // a colour cell
  put(66560 + 5, {0xFF});                    // a pixel
  put(132109, {0xFF, 0xFF, 0xFF, 0xFF});     // pc
  put(132117, {0xFF, 0xFF, 0xFF, 0x7F});     // soundCycleCount
  put(132125, {0x00, 0x00, 0x00, 0x80});     // cia1StepCountdown
  put(132259, {0xFF, 0xFF});                 // rasterLine
  put(132269, {0xFF, 0xFF});                 // videoMatrixOffset
  put(132275, {0xFF});                       // borderColor
  put(132280, {0x34, 0x12});                 // vicBankBase
  ASSERT_EQ(DecodeSnapshot(file.data(), file.size()), 1);
  EXPECT_EQ(ColorRam[3], 0x07);
  EXPECT_EQ(FrameBuffer[5], 0x0F);
  EXPECT_EQ(CpuRegs.pc, 0xFFFFu);
  EXPECT_EQ(soundCycleCount, 2 * kSoundFlushPeriod);
  EXPECT_EQ(cia1StepCountdown, -2 * kCiaStepCycles);
  EXPECT_EQ(rasterLine, kLinesPerFrame - 1);
  EXPECT_EQ(videoMatrixOffset, 0x3C00);
  EXPECT_EQ(borderColor, 0x0F);
  EXPECT_EQ(vicBankBase, 0x0000);
}

TEST(Snapshot, SaveAndLoadRestoreTheStateButNotTheLeftOutRegisters) {
  PrepareTestMachine();
  TempFolder folder;
  const std::string path = (folder.path() / "new" / "folder" / "vorn.sta").string();
  PauseAnswerer answerer;
  Ram[0x1234] = 0x56;
  CpuRegs.a = 0x78;
  cia1TimerA = 0x4321;
  ASSERT_EQ(SaveSnapshot(path.c_str()), 1);
  EXPECT_EQ(emulationRunning.load(), 1u);
  const Bytes saved = ReadFile(path);
  ASSERT_EQ(saved.size(), 132304u);
  EXPECT_EQ(saved[0x1234], 0x56);

  Ram[0x1234] = 0;
  CpuRegs.a = 0;
  cia1TimerA = 0;
  cia1Regs[8] = 0x99;  // the time of day is not in the file
  ASSERT_EQ(LoadSnapshot(path.c_str()), 1);
  EXPECT_EQ(emulationRunning.load(), 1u);
  EXPECT_EQ(Ram[0x1234], 0x56);
  EXPECT_EQ(CpuRegs.a, 0x78);
  EXPECT_EQ(cia1TimerA, 0x4321);
  EXPECT_EQ(cia1Regs[8], 0x99);
  EXPECT_EQ(EncodeSnapshot(), saved);
}

TEST(Snapshot, FailedLoadsLeaveTheMachineExactlyAsItWas) {
  PrepareTestMachine();
  TempFolder folder;
  const std::string cases[] = {
      (folder.path() / "missing.sta").string(),
      folder.Write("short.sta", std::vector<unsigned char>(kSnapshotSize - 1, 0xFF)),
      folder.Write("long.sta", std::vector<unsigned char>(kSnapshotSize + 1, 0xFF)),
  };
  PauseAnswerer answerer;
  for (const std::string& path : cases) {
    const Bytes before = EncodeSnapshot();
    EXPECT_EQ(LoadSnapshot(path.c_str()), 0) << path;
    EXPECT_EQ(emulationRunning.load(), 1u) << path;
    EXPECT_TRUE(EncodeSnapshot() == before) << path;
  }
}

TEST(Snapshot, AFailedSaveKeepsTheOldFile) {
  PrepareTestMachine();
  TempFolder folder;
  const std::string path = folder.Write("vorn.sta", {'o', 'l', 'd'});
  PauseAnswerer answerer;
  // The file system refuses writes past 64 KiB, half-way through the new snapshot.
  rlimit original{};
  getrlimit(RLIMIT_FSIZE, &original);
  const rlimit limited{65536, original.rlim_max};
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &limited);
  const int result = SaveSnapshot(path.c_str());
  setrlimit(RLIMIT_FSIZE, &original);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_EQ(result, 0);
  EXPECT_EQ(emulationRunning.load(), 1u);
  EXPECT_EQ(ReadFile(path), (Bytes{'o', 'l', 'd'}));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1) << "a temporary file was left";

  const std::string unwritable = folder.Write("file", {}) + "/vorn.sta";  // its folder is a file
  EXPECT_EQ(SaveSnapshot(unwritable.c_str()), 0);
}
