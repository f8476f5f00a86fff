// keyboard_scan_test.cpp: the keyboard scan of the clock interrupt, with keys held in the
// matrix the CIA reads, under the genuine ROMs (when present) and the built-in ones: the codes
// that reach the buffer at $0277 with every modifier, the variables the scan leaves behind, the
// character-set switch on SHIFT+C= and its lock, the repeat counters and a decode routine
// hooked in at $028F. The expected states were taken from the genuine KERNAL's run.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/cpu.h"
#include "core/machine.h"
#include "support/kernal_call.h"

namespace {
struct Key {
  int column, row;
};
constexpr Key kA{1, 2}, kLeftShift{1, 7}, kRightShift{6, 4}, kCommodore{7, 5}, kControl{7, 2}, kOne{7, 0};
constexpr Key kNine{4, 0}, kRunStop{7, 7}, kF1{0, 4}, kReturn{0, 1}, kHome{6, 3}, kSpace{7, 4}, kEight{3, 3};

enum class Before { None, CaseLocked, AllKeysRepeat, HookedDecode };

void Hold(const std::vector<Key>& keys, double seconds) {
  for (const Key& key : keys) KeyMatrix[key.column].store(KeyMatrix[key.column].load() & ~(1 << key.row));
  TypeAndRun("", seconds);
  for (auto& column : KeyMatrix) column.store(0xFF);
  TypeAndRun("", 0.1);
}

std::string ScanState() {
  char text[200];
  std::snprintf(text, sizeof text,
                "ndx=%d buf=%02X %02X %02X %02X lstx=%02X sfdx=%02X shflag=%02X lstshf=%02X d018=%02X delay=%02X "
                "keytab=%02X%02X",
                Ram[0xC6], Ram[0x0277], Ram[0x0278], Ram[0x0279], Ram[0x027A], Ram[0xC5], Ram[0xCB], Ram[0x028D],
                Ram[0x028E], MemRead(0xD018), Ram[0x028C], Ram[0xF6], Ram[0xF5]);
  return text;
}

}  // namespace

TEST(KeyboardScan, DecodesHeldKeysAsTheGenuineScanDoes) {
  const struct {
    const char* what;
    std::vector<std::vector<Key>> presses;
    double seconds;
    Before setup;
    const char* expected;
  } cases[] = {
      {"a plain letter", {{kA}}, 0.1, Before::None,
       "ndx=1 buf=41 00 00 00 lstx=40 sfdx=40 shflag=00 lstshf=00 d018=15 delay=10 keytab=EB81"},
      {"left SHIFT", {{kLeftShift, kA}}, 0.1, Before::None,
       "ndx=1 buf=C1 00 00 00 lstx=40 sfdx=40 shflag=00 lstshf=00 d018=15 delay=10 keytab=EBC2"},
      {"right SHIFT", {{kRightShift, kA}}, 0.1, Before::None,
       "ndx=1 buf=C1 00 00 00 lstx=40 sfdx=40 shflag=00 lstshf=00 d018=15 delay=10 keytab=EBC2"},
      {"C=", {{kCommodore, kA}}, 0.1, Before::None,
       "ndx=1 buf=B0 00 00 00 lstx=40 sfdx=40 shflag=00 lstshf=00 d018=15 delay=10 keytab=EC03"},
      {"CTRL with 1, A and 9", {{kControl, kOne}, {kControl, kA}, {kControl, kNine}}, 0.1, Before::None,
       "ndx=3 buf=90 01 12 00 lstx=40 sfdx=40 shflag=00 lstshf=00 d018=15 delay=10 keytab=EC78"},
      {"SHIFT with RUN/STOP", {{kLeftShift, kRunStop}}, 0.1, Before::None,
       "ndx=1 buf=83 00 00 00 lstx=40 sfdx=40 shflag=00 lstshf=00 d018=15 delay=10 keytab=EBC2"},
      {"function keys, RETURN and HOME", {{kF1}, {kLeftShift, kF1}, {kReturn}, {kHome}}, 0.1, Before::None,
       "ndx=4 buf=85 89 0D 13 lstx=40 sfdx=40 shflag=00 lstshf=00 d018=15 delay=10 keytab=EB81"},
      {"C= with 1 and 8: the second eight colours", {{kCommodore, kOne}, {kCommodore, kEight}}, 0.1, Before::None,
       "ndx=2 buf=81 9B 00 00 lstx=40 sfdx=40 shflag=00 lstshf=00 d018=15 delay=10 keytab=EC03"},
      {"SHIFT+C= switches the character set once", {{kLeftShift, kCommodore}}, 0.1, Before::None,
       "ndx=0 buf=00 00 00 00 lstx=40 sfdx=40 shflag=00 lstshf=00 d018=17 delay=0A keytab=EB81"},
      {"SHIFT+C= does nothing while $0291 locks it", {{kLeftShift, kCommodore}}, 0.1, Before::CaseLocked,
       "ndx=0 buf=00 00 00 00 lstx=40 sfdx=40 shflag=00 lstshf=00 d018=15 delay=0A keytab=EB81"},
      {"a held space counts down to its repeat", {{kSpace}}, 1.0, Before::None,
       "ndx=1 buf=20 00 00 00 lstx=40 sfdx=40 shflag=00 lstshf=00 d018=15 delay=00 keytab=EB81"},
      {"a held letter does not repeat", {{kA}}, 1.0, Before::None,
       "ndx=1 buf=41 00 00 00 lstx=40 sfdx=40 shflag=00 lstshf=00 d018=15 delay=10 keytab=EB81"},
      {"every key repeats when $028A says so", {{kA}}, 1.0, Before::AllKeysRepeat,
       "ndx=1 buf=41 00 00 00 lstx=40 sfdx=40 shflag=00 lstshf=00 d018=15 delay=00 keytab=EB81"},
      {"a decode routine hooked at $028F", {{kA}}, 0.1, Before::HookedDecode,
       "ndx=1 buf=C1 00 00 00 lstx=40 sfdx=40 shflag=00 lstshf=00 d018=15 delay=10 keytab=EBC2"},
  };
  // LDA #<$EBC2, STA $F5, LDA #>$EBC2, STA $F6, JMP $EAE0: every key through the SHIFT table.
  const uint8_t hook[] = {0xA9, 0xC2, 0x85, 0xF5, 0xA9, 0xEB, 0x85, 0xF6, 0x4C, 0xE0, 0xEA};
  for (RomSet set : AvailableRomSets()) {
    for (const auto& c : cases) {
      ASSERT_TRUE(BootToReady(set));
      if (c.setup == Before::CaseLocked) Ram[0x0291] = 0x80;
      if (c.setup == Before::AllKeysRepeat) Ram[0x028A] = 0x80;
      if (c.setup == Before::HookedDecode) {
        std::copy(std::begin(hook), std::end(hook), Ram + 0xC000);
        Ram[0x028F] = 0x00, Ram[0x0290] = 0xC0;
      }
      for (int i = 0; i < 10; ++i) Ram[0x0277 + i] = 0;
      Ram[0xC6] = 0;
      Ram[0xCC] = 1;
      // The processor waits in a loop of its own, so nothing takes the keys from the buffer.
      Ram[0x0334] = 0x4C, Ram[0x0335] = 0x34, Ram[0x0336] = 0x03;
      CpuRegs.pc = 0x0334;
      for (const auto& keys : c.presses) Hold(keys, c.seconds);
      EXPECT_EQ(ScanState(), c.expected) << RomSetName(set) << ": " << c.what;
    }
  }
}

TEST(KeyboardScan, RunStopShowsInTheStopKeyRowAndStopEmptiesTheBuffer) {
  const struct {
    uint8_t column7;  // the matrix column of RUN/STOP
    uint8_t stopRow, zero, keysLeft;
  } cases[] = {{0x7F, 0x7F, 1, 0}, {0xFF, 0xFF, 0, 3}};
  for (RomSet set : AvailableRomSets()) {
    ASSERT_TRUE(BootToReady(set));
    for (const auto& c : cases) {
      Ram[0x0334] = 0x4C, Ram[0x0335] = 0x34, Ram[0x0336] = 0x03;
      CpuRegs.pc = 0x0334;
      KeyMatrix[kRunStop.column].store(c.column7);
      TypeAndRun("", 0.1);
      EXPECT_EQ(Ram[0x91], c.stopRow) << RomSetName(set);
      Ram[0xC6] = 3;
      CallRoutine(0xFFE1, 0, 0, 0, false);
      EXPECT_EQ(CpuRegs.zeroFlag, c.zero) << RomSetName(set) << ": STOP answers Z set while RUN/STOP is down";
      EXPECT_EQ(Ram[0xC6], c.keysLeft) << RomSetName(set);
    }
    KeyMatrix[kRunStop.column].store(0xFF);
  }
}
