#include "support/basic_call.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "builtin_rom_labels.h"
#include "core/builtin_roms.h"
#include "core/cpu.h"
#include "core/machine.h"
#include "core/rom_images.h"
#include "support/temp_folder.h"
#include "support/test_machine.h"

namespace {
uint8_t basicImage[kBasicRomSize];
uint8_t kernalImage[kKernalRomSize];
const uint8_t blankChars[kCharRomSize] = {};

constexpr uint16_t kChroutCatch = 0x0340;  // appends A to the text at $0400 (count at $03FF)
constexpr uint16_t kErrorCatch = 0x0360;   // the error vector's target
constexpr uint16_t kCallStub = 0x0380;     // JSR routine, then the return lands at +3
constexpr uint16_t kPrinted = 0xC800;      // where kChroutCatch collects the text
constexpr uint32_t kCycleLimit = 20000000;

void PutRam(uint16_t address, std::initializer_list<uint8_t> bytes) { PokeBytes(address, bytes); }
}  // namespace

bool PrepareBasicCall(RomSet set) {
  PrepareTestMachine();
  if (set == RomSet::Genuine) {
    const std::string folder = GenuineRomFolder();
    if (folder.empty() || LoadRomImages(folder).status != RomLoadStatus::Loaded) return false;
    std::memcpy(basicImage, BasicRom, kBasicRomSize);
    std::memcpy(kernalImage, KernalRom, kKernalRomSize);
  } else {
    std::memcpy(basicImage, kBuiltinBasicRom, kBasicRomSize);
    std::memcpy(kernalImage, kBuiltinKernalRom, kKernalRomSize);
  }
  // CHROUT: JMP kChroutCatch.
  kernalImage[0x1FD2] = 0x4C;
  kernalImage[0x1FD3] = kChroutCatch & 0xFF;
  kernalImage[0x1FD4] = kChroutCatch >> 8;
  BasicRom = basicImage;
  KernalRom = kernalImage;
  CharRom = blankChars;
  Ram[0x0001] = 0x37;

  // CHRGET as BASIC keeps it in RAM: advance TXTPTR ($7A/$7B, the operand of the LDA at $79),
  // skip spaces, carry clear for a digit, Z set for ':' or the end.
  PutRam(0x0073, {0xE6, 0x7A, 0xD0, 0x02, 0xE6, 0x7B, 0xAD, 0x00, 0x02, 0xC9, 0x3A, 0xB0,
                  0x0A, 0xC9, 0x20, 0xF0, 0xEF, 0x38, 0xE9, 0x30, 0x38, 0xE9, 0xD0, 0x60});
  // kChroutCatch: STX $03FE; LDX $03FF; STA $C800,X; INC $03FF; LDX $03FE; CLC; RTS.
  PutRam(kChroutCatch, {0x8E, 0xFE, 0x03, 0xAE, 0xFF, 0x03, 0x9D, kPrinted & 0xFF, kPrinted >> 8,
                        0xEE, 0xFF, 0x03, 0xAE, 0xFE, 0x03, 0x18, 0x60});
  PutRam(0x0300, {kErrorCatch & 0xFF, kErrorCatch >> 8});
  // The genuine package shifts its work byte $68 into FAC; a running BASIC keeps it at zero.
  Ram[0x68] = 0;
  return true;
}

namespace {
CallResult RunStub(uint16_t start, uint8_t a, uint8_t x, uint8_t y);
}

CallResult CallRoutine(uint16_t address, uint8_t a, uint8_t x, uint8_t y) {
  PutRam(kCallStub, {0x20, static_cast<uint8_t>(address & 0xFF), static_cast<uint8_t>(address >> 8)});
  return RunStub(kCallStub, a, x, y);
}

CallResult CallWithFacExponent(uint16_t address) {
  PutRam(kCallStub - 2, {0xA5, 0x61, 0x20, static_cast<uint8_t>(address & 0xFF), static_cast<uint8_t>(address >> 8)});
  return RunStub(kCallStub - 2, 0, 0, 0);
}

CallResult CallAfterChrgot(uint16_t address) {
  PutRam(kCallStub - 3, {0x20, 0x79, 0x00, 0x20, static_cast<uint8_t>(address & 0xFF),
                         static_cast<uint8_t>(address >> 8)});
  return RunStub(kCallStub - 3, 0, 0, 0);
}

namespace {
CallResult RunStub(uint16_t start, uint8_t a, uint8_t x, uint8_t y) {
  Ram[0x03FF] = 0;
  CpuRegs.a = a;
  CpuRegs.x = x;
  CpuRegs.y = y;
  CpuRegs.sp = 0xFF;
  CpuRegs.pc = start;
  CallResult result;
  uint32_t cycles = 0;
  while (cycles < kCycleLimit) {
    cycles += ExecuteInstruction();
    if (CpuRegs.pc == kCallStub + 3u) {
      result.finished = true;
      break;
    }
    if (CpuRegs.pc == kErrorCatch) {
      result.finished = true;
      result.error = CpuRegs.x;
      break;
    }
  }
  result.cycles = cycles;
  result.a = CpuRegs.a;
  result.x = CpuRegs.x;
  result.y = CpuRegs.y;
  result.carry = CpuRegs.carryFlag != 0;
  result.zero = CpuRegs.zeroFlag != 0;
  result.negative = (CpuRegs.negativeSource & 0x80) != 0;
  for (int i = 0; i < Ram[0x03FF]; ++i) result.printed += static_cast<char>(Ram[kPrinted + i]);
  return result;
}
}  // namespace

uint16_t RoutineAddress(RomSet set, const char* name) {
  // The genuine BASIC's entry points, as the published memory maps give them.
  static const BuiltinRomLabel genuine[] = {
      {"movfm", 0xBBA2},  {"conupk", 0xBA8C}, {"movmf", 0xBBD4},  {"mov1f", 0xBBCA},  {"mov2f", 0xBBC7},
      {"movfa", 0xBBFC},  {"movaf", 0xBC0C},  {"movef", 0xBC0F},  {"round", 0xBC1B},  {"faddh", 0xB849},  {"fsub", 0xB850},
      {"fsubt", 0xB853},  {"fadd", 0xB867},   {"faddt", 0xB86A},  {"fmult", 0xBA28},  {"fmultt", 0xBA2B},
      {"fdiv", 0xBB0F},   {"fdivt", 0xBB12},  {"mul10", 0xBAE2},  {"div10", 0xBAFE},  {"fcomp", 0xBC5B},
      {"fsign", 0xBC2B},  {"sgn", 0xBC39},    {"float", 0xBC3C},  {"abs", 0xBC58},    {"negop", 0xBFB4},
      {"qint", 0xBC9B},   {"int", 0xBCCC},    {"givayf", 0xB391}, {"sngflt", 0xB3A2}, {"ayint", 0xB1BF},
      {"facinx", 0xB1AA}, {"getadr", 0xB7F7}, {"fin", 0xBCF3},    {"fout", 0xBDDD},   {"linprt", 0xBDCD},
      {"sqr", 0xBF71},    {"fpwrt", 0xBF7B},  {"exp", 0xBFED},    {"log", 0xB9EA},    {"sin", 0xE26B},
      {"cos", 0xE264},    {"tan", 0xE2B4},    {"atn", 0xE30E},    {"rnd", 0xE097},
  };
  if (set == RomSet::Genuine) {
    for (const BuiltinRomLabel& label : genuine)
      if (std::strcmp(label.name, name) == 0) return label.address;
  } else {
    for (const BuiltinRomLabel& label : kBuiltinRomLabels)
      if (std::strcmp(label.name, name) == 0) return label.address;
  }
  ADD_FAILURE() << "no address known for the routine " << name;
  return 0;
}

Packed PackNumber(double value) {
  Packed packed{};
  if (value == 0 || !std::isfinite(value)) return packed;
  int exponent = 0;
  const double fraction = std::frexp(std::fabs(value), &exponent);  // 0.5 <= fraction < 1
  double mantissa = std::floor(std::ldexp(fraction, 32) + 0.5);
  if (mantissa >= 4294967296.0) {
    mantissa /= 2;
    ++exponent;
  }
  if (exponent + 0x80 <= 0 || exponent + 0x80 > 0xFF) return packed;
  const uint32_t bits = static_cast<uint32_t>(mantissa);
  packed[0] = static_cast<uint8_t>(exponent + 0x80);
  packed[1] = static_cast<uint8_t>(((bits >> 24) & 0x7F) | (value < 0 ? 0x80 : 0));
  packed[2] = static_cast<uint8_t>(bits >> 16);
  packed[3] = static_cast<uint8_t>(bits >> 8);
  packed[4] = static_cast<uint8_t>(bits);
  return packed;
}

double UnpackNumber(const Packed& packed) {
  if (packed[0] == 0) return 0;
  const uint32_t bits = 0x80000000u | (packed[1] & 0x7Fu) << 24 | packed[2] << 16 | packed[3] << 8 | packed[4];
  const double magnitude = std::ldexp(static_cast<double>(bits), packed[0] - 0x80 - 32);
  return packed[1] & 0x80 ? -magnitude : magnitude;
}

std::string PackedText(const Packed& packed) {
  char text[16];
  std::snprintf(text, sizeof text, "%02X %02X %02X %02X %02X", packed[0], packed[1], packed[2], packed[3],
                packed[4]);
  return text;
}

Packed PackedFromText(const std::string& text) {
  Packed packed{};
  unsigned values[5] = {};
  if (std::sscanf(text.c_str(), "%x %x %x %x %x", &values[0], &values[1], &values[2], &values[3], &values[4]) != 5)
    ADD_FAILURE() << "not a packed number: " << text;
  for (int i = 0; i < 5; ++i) packed[i] = static_cast<uint8_t>(values[i]);
  return packed;
}

Packed Operand(const std::string& text) {
  return text.size() == 14 && text[2] == ' ' ? PackedFromText(text) : PackNumber(std::strtod(text.c_str(), nullptr));
}

std::vector<RomSet> SetsToRun() {
  if (GenuineRomFolder().empty()) return {RomSet::Builtin};
  return {RomSet::Builtin, RomSet::Genuine};
}

const char* SetName(RomSet set) { return set == RomSet::Genuine ? "genuine" : "built-in"; }

namespace {
constexpr uint16_t kFacSource = 0xC000, kLeftOperand = 0xC010, kStored = 0xC020;

void LoadFac(RomSet set, const Packed& fac, uint8_t facov) {
  PokePacked(kFacSource, fac);
  CallRoutine(RoutineAddress(set, "movfm"), kFacSource & 0xFF, 0, kFacSource >> 8);
  Ram[0x70] = facov;
}

std::string ErrorText(int error) { return "error " + std::to_string(error); }
}  // namespace

std::string MemoryOperation(RomSet set, const char* routine, const Packed& left, const Packed& fac, uint8_t facov) {
  LoadFac(set, fac, facov);
  PokePacked(kLeftOperand, left);
  const CallResult result = CallRoutine(RoutineAddress(set, routine), kLeftOperand & 0xFF, 0, kLeftOperand >> 8);
  if (!result.finished) return "ran away";
  if (result.error >= 0) return ErrorText(result.error);
  CallRoutine(RoutineAddress(set, "movmf"), 0, kStored & 0xFF, kStored >> 8);
  const Packed stored = PeekPacked(kStored);
  return stored[0] == 0 ? "00" : PackedText(stored);
}

std::string FacAfter(RomSet set, const char* routine, const Packed& fac, uint8_t facov, uint8_t a, uint8_t x,
                     uint8_t y) {
  LoadFac(set, fac, facov);
  const CallResult result = CallRoutine(RoutineAddress(set, routine), a, x, y);
  if (!result.finished) return "ran away";
  if (result.error >= 0) return ErrorText(result.error);
  return Ram[0x61] == 0 ? "00" : FacText();
}

Packed RandomPacked(std::mt19937& random) {
  Packed packed;
  for (uint8_t& byte : packed) byte = static_cast<uint8_t>(random());
  switch (random() % 8) {
    case 0: packed[0] = 0; break;
    case 1: case 2: break;
    default: packed[0] = static_cast<uint8_t>(0x78 + random() % 0x30);
  }
  return packed;
}

void ExpectMemoryOperations(std::initializer_list<MemoryOperationCase> cases) {
  for (RomSet set : SetsToRun()) {
    ASSERT_TRUE(PrepareBasicCall(set));
    for (const MemoryOperationCase& c : cases)
      EXPECT_EQ(MemoryOperation(set, c.routine, Operand(c.left), Operand(c.fac), c.facov), c.stored)
          << SetName(set) << ": " << c.left << " " << c.routine << " " << c.fac << ", extension " << int(c.facov);
  }
}

void ExpectFacAfter(std::initializer_list<FacAfterCase> cases) {
  for (RomSet set : SetsToRun()) {
    ASSERT_TRUE(PrepareBasicCall(set));
    for (const FacAfterCase& c : cases)
      EXPECT_EQ(FacAfter(set, c.routine, Operand(c.fac), c.facov), c.after)
          << SetName(set) << ": " << c.routine << " " << c.fac << ", extension " << int(c.facov);
  }
}

void PokePacked(uint16_t address, const Packed& packed) {
  for (int i = 0; i < 5; ++i) Ram[address + i] = packed[i];
}

Packed PeekPacked(uint16_t address) {
  Packed packed;
  for (int i = 0; i < 5; ++i) packed[i] = Ram[address + i];
  return packed;
}

std::string FacText() {
  char text[32];
  std::snprintf(text, sizeof text, "%02X %02X %02X %02X %02X %02X %02X", Ram[0x61], Ram[0x62], Ram[0x63],
                Ram[0x64], Ram[0x65], Ram[0x66], Ram[0x70]);
  return text;
}

void PutText(uint16_t address, const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) Ram[address + i] = static_cast<uint8_t>(text[i]);
  Ram[address + text.size()] = 0;
  Ram[0x7A] = address & 0xFF;
  Ram[0x7B] = address >> 8;
}
