// basic_entries_test.cpp: the BASIC routines machine code calls at the real machine's
// addresses, called as a program's JSR calls them under the built-in ROMs and, when present,
// the genuine ones.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "core/machine.h"
#include "support/basic_call.h"

TEST(BasicEntries, PrintRoutinesAnswerAtTheirFixedAddresses) {
  const struct {
    uint16_t address;
    uint8_t a, x, y;
    const char* printed;
  } cases[] = {
      {0xAB1E, 0x00, 0x00, 0xC0, "HELLO, WORLD"},  // the text at $C000, up to its zero byte
      {0xAB1E, 0x07, 0x00, 0xC0, "WORLD"},
      {0xBDCD, 0x30, 0x39, 0x00, "12345"},  // A high, X low
      {0xBDCD, 0xFF, 0xFF, 0x00, "65535"},
      {0xBDCD, 0x00, 0x00, 0x00, "0"},
  };
  for (RomSet set : SetsToRun())
    for (const auto& c : cases) {
      ASSERT_TRUE(PrepareBasicCall(set));
      std::memcpy(&Ram[0xC000], "HELLO, WORLD", 13);
      const CallResult result = CallRoutine(c.address, c.a, c.x, c.y);
      EXPECT_TRUE(result.finished) << SetName(set);
      EXPECT_EQ(result.printed, c.printed) << SetName(set) << " " << std::hex << c.address;
    }
}
