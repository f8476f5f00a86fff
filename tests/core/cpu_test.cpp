// Tests of the 6510 interpreter: addressing, flags, decimal mode, interrupts, the undocumented
// opcodes, memory access through the banking, cycle charges, and a whole subroutine.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "core/cpu.h"
#include "core/machine.h"
#include "machine/scheduler.h"
#include "support/test_machine.h"

namespace {
using Bytes = std::vector<uint8_t>;
using Pokes = std::vector<std::pair<uint16_t, uint8_t>>;

// The test KERNAL's IRQ and NMI vectors, as PrepareTestMachine installs them.
constexpr uint16_t kIrqHandler = 0x2000, kNmiHandler = 0x3000;

void Place(uint16_t at, const Bytes& code, const Pokes& pokes = {}) {
  for (const auto& [address, value] : pokes) Ram[address] = value;
  for (uint8_t byte : code) Ram[at++] = byte;
}

int RunAt(uint16_t at, const Bytes& code, const Pokes& pokes = {}) {
  Place(at, code, pokes);
  CpuRegs.pc = at;
  return ExecuteInstruction();
}

// depth 1 is the byte pushed last
uint8_t Pushed(int depth) { return Ram[0x0100 + ((CpuRegs.sp + depth) & 0xFF)]; }
bool NegativeSet() { return (CpuRegs.negativeSource & 0x80) != 0; }
}  // namespace

TEST(CpuAddressing, ModesWrapInsideTheirPageOrAt64K) {
  struct Case {
    const char* name;
    uint16_t at;
    Bytes code;
    Pokes pokes;
    uint8_t x, y, a;
    uint16_t pc, effectiveAddress;
  } cases[] = {
      {"JMP ($12FF) takes the high byte from $1200", 0x1000, {0x6C, 0xFF, 0x12},
       {{0x12FF, 0x34}, {0x1200, 0x56}, {0x1300, 0x99}}, 0, 0, 0x00, 0x5634, 0x5634},
      {"LDA ($FF,X) takes the pointer from $FF and $00", 0x1000, {0xA1, 0xFF},
       {{0x00FF, 0x20}, {0x0000, 0x40}, {0x4020, 0x77}}, 0, 0, 0x77, 0x1002, 0x4020},
      {"(zp),Y pointer at $FF wraps to $00", 0x1000, {0xB1, 0xFF}, {{0xFF, 0x10}, {0x00, 0x40}, {0x4011, 0x0B}}, 0, 1,
       0x0B, 0x1002, 0x4011},
      {"(zp),Y address wraps at 64K", 0x1000, {0xB1, 0x20}, {{0x20, 0xFF}, {0x21, 0xFF}}, 0, 2, 0x35, 0x1002, 0x0001},
      {"LDA $FFFF,X with X = 1 reads $0000", 0x1000, {0xBD, 0xFF, 0xFF}, {{0x0000, 0x5A}}, 1, 0, 0x5A, 0x1003, 0},
      {"LDX zp,Y stays in page $00", 0x1000, {0xB6, 0xF0}, {{0x10, 0x0E}}, 0, 0x20, 0x00, 0x1002, 0x0010},
      {"zp,X stays in page $00", 0x1000, {0xB5, 0x80}, {{0x10, 0x0D}, {0x0110, 0xEE}}, 0x90, 0, 0x0D, 0x1002, 0x10},
      {"operand after $FFFF comes from $0000", 0xFFFF, {0xA9}, {{0x0000, 0x5B}}, 0, 0, 0x5B, 0x0001, 0x0000},
      {"branch forward from near $FFFF lands in page $00", 0xFFFC, {0xD0, 0x04}, {}, 0, 0, 0x00, 0x0002, 0x0002},
  };
  for (const Case& c : cases) {
    PrepareTestMachine();
    Ram[0x0001] = 0x35;  // I/O visible but no ROM, so code may sit anywhere
    CpuRegs.x = c.x;
    CpuRegs.y = c.y;
    RunAt(c.at, c.code, c.pokes);
    EXPECT_EQ(CpuRegs.a, c.a) << c.name;
    EXPECT_EQ(CpuRegs.pc, c.pc) << c.name;
    EXPECT_EQ(CpuRegs.effectiveAddress, c.effectiveAddress) << c.name;
  }
}

TEST(CpuArithmetic, AdcAndSbcInBinaryAndDecimalMode) {
  struct Case {
    const char* name;
    uint8_t opcode;  // $69 ADC # or $E9 SBC #
    bool decimal;
    uint8_t a, operand, carry, result, newCarry;
    bool zero, negative, overflow;
  } cases[] = {
      {"$7F + $01 overflows", 0x69, false, 0x7F, 0x01, 0, 0x80, 0, false, true, true},
      {"$FF + $01 carries", 0x69, false, 0xFF, 0x01, 0, 0x00, 1, true, false, false},
      {"$00 - $01 borrows", 0xE9, false, 0x00, 0x01, 1, 0xFF, 0, false, true, false},
      {"$80 - $01 overflows", 0xE9, false, 0x80, 0x01, 1, 0x7F, 1, false, false, true},
      // decimal mode leaves V alone: it was set before every case
      {"decimal $09 + $01", 0x69, true, 0x09, 0x01, 0, 0x10, 0, false, false, true},
      {"decimal $99 + $01 wraps to zero", 0x69, true, 0x99, 0x01, 0, 0x00, 1, true, false, true},
      {"decimal $58 + $46 + carry", 0x69, true, 0x58, 0x46, 1, 0x05, 1, false, false, true},
      {"decimal $10 - $01", 0xE9, true, 0x10, 0x01, 1, 0x09, 1, false, false, true},
      {"decimal $00 - $01 takes N from the binary $FF", 0xE9, true, 0x00, 0x01, 1, 0x99, 0, false, true, true},
      {"decimal $40 - $13 - borrow", 0xE9, true, 0x40, 0x13, 0, 0x26, 1, false, false, true},
  };
  for (const Case& c : cases) {
    PrepareTestMachine();
    CpuRegs.status = c.decimal ? 0x08 : 0x00;
    CpuRegs.a = c.a;
    CpuRegs.carryFlag = c.carry;
    CpuRegs.overflowFlag = 0x40;
    RunAt(0x1000, {c.opcode, c.operand});
    EXPECT_EQ(CpuRegs.a, c.result) << c.name;
    EXPECT_EQ(CpuRegs.carryFlag, c.newCarry) << c.name;
    EXPECT_EQ(CpuRegs.zeroFlag, c.zero) << c.name;
    EXPECT_EQ(NegativeSet(), c.negative) << c.name;
    EXPECT_EQ(CpuRegs.overflowFlag, c.overflow ? 0x40 : 0) << c.name;
  }
}

TEST(CpuOpcodes, UndocumentedAndParticularInstructionsLeaveExactState) {
  struct Case {
    const char* name;
    Bytes code;
    uint8_t a, x, y, carry, newA, newX, newCarry;
    bool zero, negative;  // both start set
    Pokes pokes = {};
    uint16_t target = 0x40;  // the memory byte the instruction leaves behind
    uint8_t stored = 0x99, newSp = 0xFF;
  } cases[] = {
      {"TXS with X = $00 sets Z", {0x9A}, 0, 0x00, 0, 0, 0, 0x00, 0, true, false, {}, 0x40, 0x99, 0x00},
      {"TXS with X = $80 sets N", {0x9A}, 0, 0x80, 0, 0, 0, 0x80, 0, false, true, {}, 0x40, 0x99, 0x80},
      {"SLO zp", {0x07, 0x40}, 0x10, 0, 0, 0, 0x12, 0, 1, false, false, {{0x40, 0x81}}, 0x40, 0x02},
      {"RLA zp", {0x27, 0x40}, 0x0F, 0, 0, 1, 0x03, 0, 1, false, false, {{0x40, 0x81}}, 0x40, 0x03},
      {"SRE abs", {0x4F, 0x00, 0x12}, 0xFF, 0, 0, 0, 0xBF, 0, 1, false, true, {{0x1200, 0x81}}, 0x1200, 0x40},
      {"RRA adds with the rotated-out carry", {0x67, 0x40}, 0x01, 0, 0, 1, 0x82, 0, 0, false, true, {{0x40, 0x02}},
       0x40, 0x81},
      {"SAX zp,Y", {0x97, 0x3F}, 0xF0, 0x3C, 1, 0, 0xF0, 0x3C, 0, true, true, {}, 0x40, 0x30},
      {"LAX (zp),Y", {0xB3, 0x50}, 0, 0, 5, 0, 0x85, 0x85, 0, false, true, {{0x50, 0}, {0x51, 0x12}, {0x1205, 0x85}}},
      {"DCP abs,X", {0xDF, 0xFF, 0x11}, 0x00, 1, 0, 0, 0x00, 1, 1, true, false, {{0x1200, 0x01}}, 0x1200, 0x00},
      {"ISC (zp,X)", {0xE3, 0x4E}, 0x05, 2, 0, 1, 0x05, 2, 1, false, false, {{0x50, 0}, {0x51, 0x12}, {0x1200, 0xFF}},
       0x1200, 0x00},
      {"$EB is SBC #", {0xEB, 0x01}, 0x05, 0, 0, 1, 0x04, 0, 1, false, false},
      {"ARR #$FF", {0x6B, 0xFF}, 0x03, 0, 0, 1, 0x81, 0, 1, false, true},
      {"ARR takes C from A before the AND", {0x6B, 0xFE}, 0x01, 0, 0, 0, 0x00, 0, 1, true, false},
      {"ANE", {0x8B, 0xFF}, 0x00, 0x0F, 0, 0, 0x0E, 0x0F, 0, true, true},
      {"LXA", {0xAB, 0xF0}, 0x3C, 0x11, 0, 0, 0x30, 0x30, 0, true, true},
      {"SBX sets C when A AND X is below", {0xCB, 0x05}, 0x03, 0x03, 0, 0, 0x03, 0xFE, 1, true, true},
      {"SHA abs,Y", {0x9F, 0x00, 0x12}, 0xFF, 0xFF, 5, 0, 0xFF, 0xFF, 0, true, true, {}, 0x1205, 0x13},
      {"TAS", {0x9B, 0x00, 0x12}, 0xF3, 0x3F, 5, 0, 0xF3, 0x3F, 0, true, true, {}, 0x1205, 0x13, 0x33},
      {"SHY", {0x9C, 0x00, 0x12}, 0, 5, 0xFF, 0, 0, 5, 0, true, true, {}, 0x1205, 0x13},
      {"SHX at $FFxx stores 0", {0x9E, 0x00, 0xFF}, 0, 0xFF, 5, 0, 0, 0xFF, 0, true, true, {{0xFF05, 7}}, 0xFF05, 0},
      {"LAS does nothing", {0xBB, 0x00, 0x12}, 0x11, 0x22, 5, 1, 0x11, 0x22, 1, true, true},
      {"$0B does nothing", {0x0B, 0x00}, 0x81, 0, 0, 0, 0x81, 0, 0, true, true},
      {"NOP zp", {0x04, 0x40}, 0x11, 0, 0, 0, 0x11, 0, 0, true, true},
  };
  for (const Case& c : cases) {
    PrepareTestMachine();
    Ram[0x40] = 0x99;
    CpuRegs.a = c.a;
    CpuRegs.x = c.x;
    CpuRegs.y = c.y;
    CpuRegs.carryFlag = c.carry;
    CpuRegs.zeroFlag = 1;
    CpuRegs.negativeSource = 0x80;
    RunAt(0x1000, c.code, c.pokes);
    EXPECT_EQ(CpuRegs.a, c.newA) << c.name;
    EXPECT_EQ(CpuRegs.x, c.newX) << c.name;
    EXPECT_EQ(CpuRegs.carryFlag, c.newCarry) << c.name;
    EXPECT_EQ(CpuRegs.sp, c.newSp) << c.name;
    EXPECT_EQ(CpuRegs.zeroFlag, c.zero) << c.name;
    EXPECT_EQ(NegativeSet(), c.negative) << c.name;
    EXPECT_EQ(Ram[c.target], c.stored) << c.name;
    EXPECT_EQ(CpuRegs.pc, 0x1000 + c.code.size()) << c.name;
  }
}

TEST(CpuStatus, PushedStatusPacksTheFlagsWithBit5AndBAlwaysSet) {
  PrepareTestMachine();
  RunAt(0x1000, {0x08});  // PHP straight after reset: nothing set but the two bits a 6510 lacks
  EXPECT_EQ(Pushed(1), 0x30);
  RunAt(0x1000, {0xA9, 0x7F});  // LDA #$7F
  RunAt(0x1000, {0x69, 0x01});  // ADC #$01: N and V
  RunAt(0x1000, {0x08});
  EXPECT_EQ(Pushed(1), 0xF0);
  RunAt(0x1000, {0x28}, {{0x0100 + ((CpuRegs.sp + 1) & 0xFF), 0xFD}});  // PLP $FD: all but Z
  EXPECT_EQ(CpuRegs.status, 0xFD);
  EXPECT_TRUE(CpuRegs.zeroFlag == 0 && CpuRegs.carryFlag == 1 && CpuRegs.overflowFlag == 0x40 && NegativeSet());
  RunAt(0x1000, {0x08});
  EXPECT_EQ(Pushed(1), 0xFD);
  // LDA #$00, PHA, PLP, PHP: a pulled $00 cannot clear the two bits in the next push
  RunAt(0x1000, {0xA9, 0x00, 0x48, 0x28, 0x08});
  for (int i = 0; i < 4; ++i) ExecuteInstruction();
  EXPECT_EQ(Pushed(1), 0x30);
}

TEST(CpuInterrupts, EntryPushesBOnlyForBrkKeepsDecimalAndRtiRestoresTheStatus) {
  enum Source { kBrk, kIrq, kNmi };
  struct Case {
    Source source;
    uint8_t pulledBefore;  // the status a PLP leaves before the entry; B in it must not leak
    uint8_t pushedStatus;
    uint16_t handler;
  } cases[] = {{kBrk, 0x08, 0x39, kIrqHandler}, {kIrq, 0x08, 0x29, kIrqHandler},
               {kNmi, 0x08, 0x29, kNmiHandler}, {kIrq, 0x18, 0x29, kIrqHandler},
               {kNmi, 0x38, 0x29, kNmiHandler}};
  for (const Case& c : cases) {
    PrepareTestMachine();
    RunAt(0x1000, {0x28}, {{0x0100 + ((CpuRegs.sp + 1) & 0xFF), c.pulledBefore}});  // PLP: D set
    CpuRegs.carryFlag = 1;
    irqPending = c.source == kIrq;
    nmiPending = c.source == kNmi;
    if (c.source == kBrk) {
      EXPECT_EQ(RunAt(0x1231, {0x00, 0xFF}), 7);
    } else {
      CpuRegs.pc = 0x1233;
      EXPECT_EQ(ServiceInterrupts(), 1);
    }
    EXPECT_EQ(CpuRegs.pc, c.handler) << c.source;
    EXPECT_EQ(Pushed(3) << 8 | Pushed(2), 0x1233) << c.source;
    EXPECT_EQ(Pushed(1), c.pushedStatus) << c.source;
    EXPECT_NE(CpuRegs.status & 0x04, 0) << c.source;  // I set inside the handler
    EXPECT_EQ(irqPending + nmiPending, 0u) << c.source;
    Place(c.handler, {0x08, 0x68, 0x40});  // PHP, PLA, RTI: PHP in the handler pushes B = 1
    for (int i = 0; i < 3; ++i) ExecuteInstruction();
    EXPECT_EQ(CpuRegs.a, 0x3D) << c.source;
    EXPECT_EQ(CpuRegs.status, c.pushedStatus) << c.source;
    EXPECT_EQ(CpuRegs.pc, 0x1233u) << c.source;
    EXPECT_EQ(CpuRegs.carryFlag, 1) << c.source;  // RTI brings the flags back with the address
  }
}

TEST(CpuInterrupts, IrqThenNmiLeavesTheNmiFrameOnTop) {
  PrepareTestMachine();
  CpuRegs.pc = 0x1234;
  irqPending = 1;
  nmiPending = 1;
  EXPECT_EQ(ServiceInterrupts(), 2);
  EXPECT_EQ(CpuRegs.pc, kNmiHandler);
  EXPECT_EQ(Pushed(3) << 8 | Pushed(2), kIrqHandler);
  EXPECT_EQ(Pushed(1), 0x24);  // I from the IRQ entry and bit 5, B clear
  EXPECT_EQ(Pushed(6) << 8 | Pushed(5), 0x1234);
}

TEST(CpuInterrupts, PendingIrqWaitsUntilAnInstructionClearsI) {
  const std::pair<uint8_t, int> cases[] = {{0x58, 1}, {0x78, 0}, {0xEA, 0}};  // CLI, SEI, NOP
  for (const auto& [opcode, entries] : cases) {
    PrepareTestMachine();
    CpuRegs.status = 0x04;
    irqPending = 1;
    EXPECT_EQ(ServiceInterrupts(), 0);
    RunAt(0x1000, {opcode});
    EXPECT_EQ(ServiceInterrupts(), entries) << int(opcode);
    EXPECT_EQ(irqPending, 1u - entries) << int(opcode);
  }
}

TEST(CpuReset, LoadsTheVectorThroughTheBankingAndClearsTheRequest) {
  PrepareTestMachine();  // reset vector $1000 in the KERNAL image; RAM beneath holds $66 $66
  CpuRegs = {0x10, 1, 2, 3, 0x4321, 0x0C, 1, 0x40, 0x80, 1, 0x55, 0x66};
  resetRequest.store(2);
  ResetCpu();
  const CpuRegisters& r = CpuRegs;
  EXPECT_TRUE(r.a == 0 && r.x == 0 && r.y == 0 && r.sp == 0xFF && r.pc == 0x1000 && resetRequest.load() == 0);
  EXPECT_TRUE(r.status == 0 && r.zeroFlag == 0 && r.overflowFlag == 0 && r.negativeSource == 0 && r.carryFlag == 0);
  Ram[0x0001] = 0x35;
  ResetCpu();
  EXPECT_EQ(CpuRegs.pc, 0x6666u);
}

TEST(CpuMemoryAccess, StoresBelowA000StayInRamAndTheRestFollowsTheBanking) {
  struct Case {
    const char* name;
    uint8_t port;
    uint16_t at;
    Bytes code;
    uint16_t address;  // RAM byte checked afterwards
    uint8_t ram, a;
  } cases[] = {
      {"STA $8000 lands in RAM", 0x37, 0x1000, {0x8D, 0x00, 0x80}, 0x8000, 0x0E, 0x0E},
      {"STA $A000 lands in RAM under BASIC", 0x37, 0x1000, {0x8D, 0x00, 0xA0}, 0xA000, 0x0E, 0x0E},
      {"STA $D020 reaches the VIC, not RAM", 0x37, 0x1000, {0x8D, 0x20, 0xD0}, 0xD020, 0x99, 0x0E},
      {"STA $D020 lands in RAM under the character ROM", 0x33, 0x1000, {0x8D, 0x20, 0xD0}, 0xD020, 0x0E, 0x0E},
      {"LDA $A000 reads the BASIC image", 0x37, 0x1000, {0xAD, 0x00, 0xA0}, 0xA000, 0x99, 0x00},
      {"LDA $A000 reads RAM with BASIC banked out", 0x36, 0x1000, {0xAD, 0x00, 0xA0}, 0xA000, 0x99, 0x99},
      {"code at $E000 runs from the KERNAL image", 0x37, 0xE000, {0x69, 0x22}, 0xE000, 0x69, 0x11},
      {"code at $E000 runs from RAM with the KERNAL out", 0x35, 0xE000, {0x69, 0x22}, 0xE000, 0x69, 0x30},
  };
  for (const Case& c : cases) {
    PrepareTestMachine();  // blank BASIC and character images
    PutKernalCode(0xE000, {0xA9, 0x11});  // LDA #$11 in ROM, ADC #$22 in the RAM beneath
    Ram[0x0001] = c.port;
    CpuRegs.a = 0x0E;
    RunAt(c.at, c.code);
    EXPECT_EQ(Ram[c.address], c.ram) << c.name;
    EXPECT_EQ(CpuRegs.a, c.a) << c.name;
  }
}

TEST(CpuCycles, NmosCountsExceptThisMachinesOwnAndNoPenalties) {
  const int8_t row9[16] = {2, 5, 2, 6, 4, 4, 4, 4, 2, 5, 2, 5, 5, 4, 5, 5};  // $91 is 5, $9D 4, $92 jams
  for (int low = 0; low < 16; ++low) EXPECT_EQ(cycleTable[0x90 + low], row9[low]) << low;
  for (int jam : {0x02, 0x12, 0x22, 0x32, 0x42, 0x52, 0x62, 0x72, 0x92, 0xB2, 0xD2, 0xF2}) {
    EXPECT_EQ(cycleTable[jam], 2) << jam;
  }
  const std::pair<Bytes, int> pageCrossings[] = {
      {{0xBD, 0xF0, 0x12}, 4}, {{0xB1, 0x60}, 5}, {{0x9D, 0xF0, 0x12}, 4}, {{0x91, 0x60}, 5}, {{0xD0, 0x10}, 2}};
  for (const auto& [code, cycles] : pageCrossings) {
    PrepareTestMachine();
    CpuRegs.x = CpuRegs.y = 0x20;
    EXPECT_EQ(RunAt(0x10F8, code, {{0x60, 0xF0}, {0x61, 0x12}}), cycles) << int(code[0]);
  }
}

TEST(CpuOpcodes, EveryOpcodeChargesItsTableEntryAndStepsOverItsOperands) {
  // Instruction lengths by opcode; 0 marks the jumps, returns and BRK.
  const char* lengths =
      "0212222212123333" "2212222213133333" "0212222212123333" "2212222213133333"
      "0212222212120333" "2212222213133333" "0212222212120333" "2212222213133333"
      "2222222212123333" "2212222213133333" "2222222212123333" "2212222213133333"
      "2222222212123333" "2212222213133333" "2222222212123333" "2212222213133333";
  for (int opcode = 0; opcode < 256; ++opcode) {
    PrepareTestMachine();
    // zero operands: a branch lands on the next instruction whether taken or not
    EXPECT_EQ(RunAt(0x1000, {static_cast<uint8_t>(opcode), 0, 0}), cycleTable[opcode]) << opcode;
    const int length = lengths[opcode] - '0';
    EXPECT_TRUE(length == 0 || CpuRegs.pc == 0x1000u + length) << opcode;
    const bool jam = (opcode & 0x0F) == 0x02 && ((opcode & 0x10) != 0 || opcode < 0x80);
    EXPECT_EQ(resetRequest.load(), jam ? 2u : 0u) << opcode;
  }
}

TEST(CpuPrograms, ShiftAndAddMultiplySubroutine) {
  const Bytes caller = {0x20, 0x00, 0x11, 0x02};  // JSR $1100, then a jam opcode as the end marker
  const Bytes multiply = {
      0xA9, 0x00, 0xA2, 0x08,  // LDA #0, LDX #8
      0x46, 0x40,              // LSR $40: multiplier bit 0 into C
      0x90, 0x03, 0x18,        // loop: BCC +3, CLC
      0x65, 0x41,              // ADC $41: the multiplicand into the high byte
      0x6A, 0x66, 0x40,        // ROR A, ROR $40: product low byte in, next multiplier bit out
      0xCA, 0xD0, 0xF5,        // DEX, BNE loop
      0x85, 0x42, 0x60,        // STA $42, RTS
  };
  for (const auto& [multiplier, multiplicand] : {std::pair<uint8_t, uint8_t>{13, 11}, {0, 200}, {255, 255}, {200, 3}}) {
    PrepareTestMachine();
    Place(0x1100, multiply, {{0x40, multiplier}, {0x41, multiplicand}});
    Place(0x1000, caller);
    CpuRegs.pc = 0x1000;
    int cycles = 0;
    for (int steps = 0; resetRequest.load() == 0 && steps < 1000; ++steps) cycles += ExecuteInstruction();
    EXPECT_EQ(Ram[0x42] << 8 | Ram[0x40], multiplier * multiplicand);
    EXPECT_EQ(CpuRegs.pc, 0x1004u);
    EXPECT_EQ(CpuRegs.sp, 0xFF);
    // 8 passes of 13 cycles, 5 more for each set multiplier bit, 26 around the loop
    EXPECT_EQ(cycles, 130 + 5 * __builtin_popcount(multiplier)) << int(multiplier);
  }
}

TEST(QuietInstructions, OpcodesFollowTheBankingWithinOneRun) {
  for (bool oneByOne : {false, true}) {
    SCOPED_TRACE(oneByOne);
    PrepareTestMachine({.reset = 0xE000});
    // From the KERNAL: switch it out; the next opcodes come from the RAM beneath, which switches
    // it back in; the one after that comes from the KERNAL again. Wrong reads run into a jam.
    PutKernalCode(0xE000, {0xA9, 0x35, 0x85, 0x01, 0x02, 0x02, 0x02, 0x02, 0x02, 0xC8, 0x02});
    Place(0xE004, {0xE8, 0xA9, 0x37, 0x85, 0x01, 0x02, 0x02});  // INX; LDA #$37; STA $01
    CpuRegs.pc = 0xE000;
    int32_t quiet = 0;
    if (oneByOne) {
      while (resetRequest.load() == 0) ExecuteInstruction();
    } else {
      ExecuteQuietInstructions(1000000, quiet);
    }
    EXPECT_EQ(jamAddress, 0xE00A);
    EXPECT_EQ(CpuRegs.x, 1);
    EXPECT_EQ(CpuRegs.y, 1);
    if (!oneByOne) {
      EXPECT_EQ(quiet, 2 + 3 + 2 + 2 + 3 + 2);  // every instruction before the jam
    }
    resetRequest.store(0);
  }
}

// An instruction at the end of a region takes its operand bytes from the next one as the banking
// shows it: ROM over RAM, or the I/O area.
TEST(QuietInstructions, OperandsPastARegionsEndFollowTheBanking) {
  struct Case {
    const char* name;
    uint16_t at;
    Bytes code;  // the bytes in RAM at at; the rest of the instruction lies past the region
    uint16_t next;  // the first address past the region
  };
  const Case cases[] = {{"LDA # with its operand in BASIC", 0x9FFF, {0xA9}, 0xA000},
                        {"JMP with its high byte in BASIC", 0x9FFE, {0x4C, 0x34}, 0xA000},
                        {"LDA # with its operand in the VIC", 0xCFFF, {0xA9}, 0xD000}};
  for (const Case& c : cases) {
    PrepareTestMachine();
    MemWrite(0xD000, 0x42);  // sprite 0's X position
    Ram[c.next] = 0x99;      // the RAM the banking hides
    const uint8_t shown = MemRead(c.next);
    ASSERT_NE(shown, Ram[c.next]) << c.name;
    RunAt(c.at, c.code);
    if (c.code[0] == 0x4C) {
      EXPECT_EQ(CpuRegs.pc, (shown << 8 | 0x34)) << c.name;
    } else {
      EXPECT_EQ(CpuRegs.a, shown) << c.name;
    }
  }
}

// A run goes on until something an instruction did needs the loop: an I/O write, I cleared
// under a pending IRQ, a jam, or an interrupt that could be entered before the run began.
TEST(QuietInstructions, RunEndsRightAfterTheInstructionTheLoopMustSee) {
  struct Case {
    const char* name;
    Bytes code;  // placed at $1000, followed by a loop on itself
    uint8_t status;
    uint32_t irq, nmi;
    int quiet, last;  // cycles of the instructions before the last one, and the last one's
  };
  const Case cases[] = {
      {"STA $D020 writes to the I/O area", {0xEA, 0x8D, 0x20, 0xD0}, 0x04, 0, 0, 2, 4},
      {"STA $0400 does not", {0xEA, 0x8D, 0x00, 0x04, 0x02}, 0x04, 0, 0, 2 + 4, 2},
      {"CLI under a pending IRQ", {0xEA, 0x58}, 0x04, 1, 0, 2, 2},
      {"PLP clearing I under a pending IRQ", {0xEA, 0x28}, 0x04, 1, 0, 2, 4},
      {"SEI with an IRQ held off already", {0xEA, 0x78, 0xEA, 0x02}, 0x04, 1, 0, 2 + 2 + 2, 2},
      {"an IRQ that can be entered at the start", {0xEA, 0xEA}, 0x00, 1, 0, 0, 2},
      {"an NMI at the start, I set", {0xEA, 0xEA}, 0x04, 0, 1, 0, 2},
  };
  for (const Case& c : cases) {
    PrepareTestMachine();
    Place(0x1000, c.code);
    const uint16_t loop = static_cast<uint16_t>(0x1000 + c.code.size());
    Place(loop, {0x4C, static_cast<uint8_t>(loop), static_cast<uint8_t>(loop >> 8)});
    Ram[0x01FF] = 0x00;  // the status PLP pulls: I clear
    CpuRegs.sp = 0xFE;
    CpuRegs.pc = 0x1000;
    CpuRegs.status = c.status;
    irqPending = c.irq;
    nmiPending = c.nmi;
    int32_t quiet = -1;
    EXPECT_EQ(ExecuteQuietInstructions(1000, quiet), c.last) << c.name;
    EXPECT_EQ(quiet, c.quiet) << c.name;
    irqPending = nmiPending = 0;
    resetRequest.store(0);
  }
}

// Running in the KERNAL, an instruction switches it out by storing to $0001: the next opcode, in
// the same 4 KiB region, must come from the RAM beneath, whatever form the store took.
TEST(QuietInstructions, EveryStoreToThePortSwitchesTheNextOpcodeFetch) {
  struct Case {
    const char* name;
    Bytes code;
    uint8_t port;  // $0001 before the store; A holds $35 (KERNAL out)
  };
  const Case cases[] = {{"STA $01", {0x85, 0x01}, 0x37},
                        {"STA $0001", {0x8D, 0x01, 0x00}, 0x37},
                        {"STA ($FB),Y", {0x91, 0xFB}, 0x37},
                        {"DEC $01", {0xC6, 0x01}, 0x36}};
  for (const Case& c : cases) {
    PrepareTestMachine({.reset = 0xE000});
    std::vector<uint8_t> kernal = c.code;
    kernal.insert(kernal.end(), 4, 0x02);  // the KERNAL jams where the RAM beneath has INX
    for (size_t i = 0; i < kernal.size(); ++i) PutKernalCode(static_cast<uint16_t>(0xE000 + i), {kernal[i]});
    const uint16_t next = static_cast<uint16_t>(0xE000 + c.code.size());
    Place(next, {0xE8, 0x02});
    Place(0x00FB, {0x01, 0x00});
    Ram[0x0001] = c.port;
    CpuRegs.pc = 0xE000;
    CpuRegs.a = 0x35;
    CpuRegs.x = CpuRegs.y = 0;
    int32_t quiet = 0;
    ExecuteQuietInstructions(1000, quiet);
    EXPECT_EQ(Ram[0x0001], 0x35) << c.name;
    EXPECT_EQ(CpuRegs.x, 1) << c.name;
    EXPECT_EQ(jamAddress, next + 1) << c.name;
    resetRequest.store(0);
  }
}

namespace {
// A drive that takes TALK ($ED09) and returns as its RTS would, counting its calls.
int busTrapCalls = 0;
bool TakeTalk(uint16_t pc) {
  if (pc != kFirstBusRoutine) return false;
  ++busTrapCalls;
  const uint8_t low = Ram[0x0100 + ((CpuRegs.sp + 1) & 0xFF)];
  const uint8_t high = Ram[0x0100 + ((CpuRegs.sp + 2) & 0xFF)];
  CpuRegs.sp = static_cast<uint8_t>(CpuRegs.sp + 2);
  CpuRegs.pc = static_cast<uint16_t>((high << 8 | low) + 1);
  return true;
}
}  // namespace

// The drive's trap sees every entry into the bus routines, however close to them the caller
// runs: from another region, from the KERNAL just below or just above them, in a run or alone.
TEST(QuietInstructions, EveryCallIntoTheBusRoutinesMeetsTheDrivesTrap) {
  const uint16_t callers[] = {0x1000, 0xE000, kFirstBusRoutine - 9, kLastBusRoutine + 1, 0xEFF0};
  for (bool oneByOne : {false, true}) {
    for (uint16_t at : callers) {
      SCOPED_TRACE(testing::Message() << std::hex << at << (oneByOne ? " one by one" : " in runs"));
      PrepareTestMachine();
      // JSR TALK twice, INX each time it returns, then jam; TALK itself would jam at once
      const std::initializer_list<uint8_t> code = {0x20, 0x09, 0xED, 0xE8, 0x20, 0x09, 0xED, 0xE8, 0x02};
      if (at >= 0xE000) {
        PutKernalCode(at, code);
      } else {
        PokeBytes(at, code);
      }
      PutKernalCode(kFirstBusRoutine, {0x02});
      driveBusTrap = TakeTalk;
      busTrapCalls = 0;
      CpuRegs.pc = at;
      int32_t quiet = 0;
      for (int i = 0; i < 100 && resetRequest.load() == 0; ++i) {
        if (oneByOne) {
          ExecuteInstruction();
        } else {
          ExecuteQuietInstructions(1000, quiet);
        }
      }
      driveBusTrap = nullptr;
      EXPECT_EQ(busTrapCalls, 2);
      EXPECT_EQ(CpuRegs.x, 2);
      EXPECT_EQ(jamAddress, at + 8);
      resetRequest.store(0);
    }
  }
}
