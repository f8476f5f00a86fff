// snapshot_format.cpp: the fixed 132304-byte snapshot layout.
//
// The file is the raw concatenation of the state variables in one fixed order, each in its own
// width, little-endian, with no header and no version. Loading recomputes nothing: derived values
// come from the file as they are, only clamped to what the machine itself could have produced.
// Left out of the file: CIA registers 8-15, the SID's synthesis state, cycleClock, the keyboard
// and joystick state, the layout, the cartridge and the scheduler's request and frame flags.
// Called by: the snapshot commands and the fuzz target.
#include "media/snapshot_format.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

#include "chips/cia.h"
#include "chips/vic.h"
#include "core/cpu.h"
#include "core/machine.h"
#include "machine/scheduler.h"
#include "sound/sid.h"

namespace {
constexpr int kCiaRegistersSaved = 8;
constexpr int kSidRegistersSaved = 29;

// Visits every field in file order; the writer and the reader below share this one list.
template <typename Transfer>
void TransferMachineState(Transfer& transfer) {
  transfer.Bytes(Ram, kRamSize);
  transfer.Bytes(ColorRam, kColorRamSize);
  transfer.Bytes(FrameBuffer, kFrameBufferSize);
  transfer.Value(CpuRegs.indirectAddress);
  transfer.Value(CpuRegs.effectiveAddress);
  transfer.Value(CpuRegs.carryFlag);
  transfer.Value(CpuRegs.negativeSource);
  transfer.Value(CpuRegs.overflowFlag);
  transfer.Value(CpuRegs.zeroFlag);
  transfer.Value(CpuRegs.status);
  transfer.Value(CpuRegs.pc);
  transfer.Value(CpuRegs.a);
  transfer.Value(CpuRegs.x);
  transfer.Value(CpuRegs.y);
  transfer.Value(CpuRegs.sp);
  transfer.Value(soundCycleCount);
  transfer.Value(throttleCycleCount);
  transfer.Value(cia1StepCountdown);
  transfer.Value(cia2StepCountdown);
  transfer.Bytes(vicRegs, kVicRegisterCount);
  for (int r = 0; r < kCiaRegistersSaved; ++r) transfer.Value(cia1Regs[r]);
  for (int r = 0; r < kCiaRegistersSaved; ++r) transfer.Value(cia2Regs[r]);
  transfer.Bytes(sidRegs, kSidRegistersSaved);
  transfer.Value(nmiPending);
  transfer.Value(irqPending);
  for (uint16_t* value : {&vicEcm, &vicBmm, &vicMcm, &vicDen, &lineCyclePosition, &rasterLine, &vicRsel, &vicCsel,
                          &vicXScroll, &vicYScroll, &videoMatrixOffset, &charBaseOffset, &rasterCompareLine}) {
    transfer.Value(*value);
  }
  for (uint8_t* color : {&borderColor, &backgroundColor0, &backgroundColor1, &backgroundColor2, &backgroundColor3}) {
    transfer.Value(*color);
  }
  for (uint16_t* value : {&vicBankBase, &cia1LatchA, &cia2LatchA, &cia1LatchB, &cia2LatchB}) transfer.Value(*value);
  for (uint8_t* value : {&cia1IntMask, &cia1RunA, &cia1RunB, &cia2IntMask, &cia2RunA, &cia2RunB}) {
    transfer.Value(*value);
  }
  for (uint16_t* value : {&cia1TimerA, &cia2TimerA, &cia1TimerB, &cia2TimerB}) transfer.Value(*value);
}

struct SnapshotWriter {
  std::vector<uint8_t> bytes;

  void Bytes(const uint8_t* data, size_t size) { bytes.insert(bytes.end(), data, data + size); }
  template <typename T>
  void Value(T value) {
    const auto bits = static_cast<uint32_t>(static_cast<std::make_unsigned_t<T>>(value));
    for (size_t i = 0; i < sizeof(T); ++i) bytes.push_back(static_cast<uint8_t>(bits >> (8 * i)));
  }
};

struct SnapshotReader {
  const uint8_t* bytes;
  size_t at = 0;

  void Bytes(uint8_t* data, size_t size) {
    std::memcpy(data, bytes + at, size);
    at += size;
  }
  template <typename T>
  void Value(T& value) {
    uint32_t bits = 0;
    for (size_t i = 0; i < sizeof(T); ++i) bits |= static_cast<uint32_t>(bytes[at++]) << (8 * i);
    value = static_cast<T>(static_cast<std::make_unsigned_t<T>>(bits));
  }
};

template <typename T>
void ClampInto(T& value, T low, T high) {
  value = std::clamp(value, low, high);
}

// A genuine snapshot passes unchanged: every bound below is one the running machine keeps.
void BringIntoRange() {
  for (int i = 0; i < kColorRamSize; ++i) ColorRam[i] &= 0x0F;
  for (int i = 0; i < kFrameBufferSize; ++i) FrameBuffer[i] &= 0x0F;
  CpuRegs.pc &= 0xFFFF;
  CpuRegs.effectiveAddress &= 0xFFFF;
  CpuRegs.indirectAddress &= 0xFFFF;
  CpuRegs.carryFlag &= 1;
  CpuRegs.overflowFlag &= 0x40;
  CpuRegs.zeroFlag = CpuRegs.zeroFlag != 0 ? 1 : 0;
  // The counters only ever run a few cycles past their periods; the bounds keep their arithmetic
  // from overflowing.
  ClampInto(soundCycleCount, 0, 2 * kSoundFlushPeriod);
  ClampInto(throttleCycleCount, 0, 2 * kThrottlePeriod);
  ClampInto(cia1StepCountdown, -2 * kCiaStepCycles, 2 * kCiaStepCycles);
  ClampInto(cia2StepCountdown, -2 * kCiaStepCycles, 2 * kCiaStepCycles);
  nmiPending = nmiPending != 0 ? 1 : 0;
  irqPending = irqPending != 0 ? 1 : 0;
  vicEcm &= 0x40;
  vicBmm &= 0x20;
  vicDen &= 0x10;
  vicRsel &= 0x08;
  vicYScroll &= 0x07;
  vicMcm &= 0x10;
  vicCsel &= 0x08;
  vicXScroll &= 0x07;
  videoMatrixOffset &= 0x3C00;
  charBaseOffset &= 0x3800;
  vicBankBase &= 0xC000;
  ClampInto<uint16_t>(rasterLine, 0, kLinesPerFrame - 1);
  ClampInto<uint16_t>(lineCyclePosition, 0, kLineLengthEighths - 1);
  for (uint8_t* color : {&borderColor, &backgroundColor0, &backgroundColor1, &backgroundColor2, &backgroundColor3}) {
    *color &= 0x0F;
  }
}
}  // namespace

std::vector<uint8_t> EncodeSnapshot() {
  SnapshotWriter writer;
  writer.bytes.reserve(kSnapshotSize);
  TransferMachineState(writer);
  return std::move(writer.bytes);
}

int DecodeSnapshot(const uint8_t* bytes, size_t size) {
  if (size != kSnapshotSize) return 0;
  SnapshotReader reader{bytes};
  TransferMachineState(reader);
  BringIntoRange();
  return 1;
}
