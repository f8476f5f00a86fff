#include "support/kernal_call.h"

#include <string>

#include "core/cpu.h"
#include "core/machine.h"
#include "core/rom_images.h"
#include "machine/machine_reset.h"
#include "machine/scheduler.h"
#include "shell/screen_text.h"
#include "sound/sound_output.h"
#include "support/temp_folder.h"
#include "support/test_machine.h"

namespace {
constexpr uint16_t kReturnTrap = 0x02A7;  // an idle byte of page 2: the call returns here
constexpr uint16_t kBusRoutines[] = {0xED09, 0xED0C, 0xEDB9, 0xEDC7, 0xEDDD, 0xEDEF, 0xEDFE, 0xEE13};

void RunCycles(uint32_t cycles) {
  const uint32_t start = cycleClock;
  while (cycleClock - start < cycles) RunEmulationPass();
}

bool IsBusRoutine(uint32_t pc) {
  for (uint16_t routine : kBusRoutines)
    if (pc == routine) return true;
  return false;
}

void Push(uint8_t value) { Ram[0x0100 + CpuRegs.sp--] = value; }
uint8_t Pull() { return Ram[0x0100 + ++CpuRegs.sp]; }
}  // namespace

std::vector<RomSet> AvailableRomSets() {
  std::vector<RomSet> sets = {RomSet::Builtin};
  if (!GenuineRomFolder().empty()) sets.push_back(RomSet::Genuine);
  return sets;
}

const char* RomSetName(RomSet set) { return set == RomSet::Genuine ? "genuine" : "built-in"; }

bool BootToReady(RomSet set) {
  if (set == RomSet::Genuine) {
    const std::string folder = GenuineRomFolder();
    if (folder.empty()) return false;
    PrepareTestMachine();
    if (LoadRomImages(folder).status != RomLoadStatus::Loaded) return false;
  } else {
    PrepareTestMachine();
    InstallBuiltinRoms();
  }
  PowerOnToReady();
  return true;
}

void PowerOnToReady() {
  InitMachine();
  InitSound();  // the voices set up, no wave output: the machine runs silent and unpaced
  ResetCpu();
  RunCycles(3 * kCyclesPerSecond);
}

CallOutcome CallRoutine(uint16_t address, uint8_t a, uint8_t x, uint8_t y, bool carry,
                        const BusDevice& device, uint32_t cycleLimit) {
  Push(static_cast<uint8_t>((kReturnTrap - 1) >> 8));
  Push(static_cast<uint8_t>((kReturnTrap - 1) & 0xFF));
  CpuRegs.pc = address;
  CpuRegs.a = a;
  CpuRegs.x = x;
  CpuRegs.y = y;
  CpuRegs.carryFlag = carry ? 1 : 0;
  const uint32_t start = cycleClock;
  CallOutcome outcome;
  while (cycleClock - start < cycleLimit) {
    if (CpuRegs.pc == kReturnTrap) {
      outcome.returned = true;
      break;
    }
    if (device && IsBusRoutine(CpuRegs.pc)) {
      device(static_cast<uint16_t>(CpuRegs.pc));
      const uint8_t low = Pull();
      CpuRegs.pc = ((Pull() << 8) | low) + 1;
      continue;
    }
    RunEmulationPass();
  }
  outcome.a = CpuRegs.a;
  outcome.x = CpuRegs.x;
  outcome.y = CpuRegs.y;
  outcome.carry = CpuRegs.carryFlag;
  outcome.status = Ram[0x90];
  return outcome;
}

void TypeAndRun(const std::string& text, double seconds) {
  size_t next = 0;
  const uint32_t total = static_cast<uint32_t>(seconds * kCyclesPerSecond);
  const uint32_t start = cycleClock;
  while (cycleClock - start < total) {
    // Only into an empty buffer: GETIN may be halfway through moving the keys down, and a key
    // added then is lost when it lowers the count.
    for (bool empty = Ram[0xC6] == 0; empty && next < text.size() && Ram[0xC6] < 10;) {
      Ram[0x0277 + Ram[0xC6]] = static_cast<uint8_t>(text[next++]);
      ++Ram[0xC6];
    }
    RunCycles(20000);
  }
}

std::vector<std::string> ScreenLines() {
  std::vector<std::string> lines;
  for (int row = 0; row < kTextRows; ++row) lines.push_back(TextScreenLine(row));
  return lines;
}
