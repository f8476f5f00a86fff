// Every printable character of a US keyboard typed into the window, fast, reaches BASIC's screen
// as the C64 character it names.
#include <gtest/gtest.h>

#include <QTest>
#include <cctype>
#include <string>

#include "chips/cia.h"
#include "platform/desktop/desktop_window.h"
#include "running_machine.h"
#include "machine/scheduler.h"
#include "shell/key_queue.h"
#include "shell/keyboard_input.h"

namespace {
struct TypedCharacter {
  char typed;
  int screenCode;  // what the unshifted character set shows for it
};

bool TypedWithShift(char c) {
  return std::isupper(static_cast<unsigned char>(c)) || std::string("~!@#$%^&*()_+{}|:\"<>?").find(c) != std::string::npos;
}

// The C64's screen code for a character: its own where the C64 has it; ` { } stand for the
// C64's left arrow, [ and ] (| and ~ have no C64 counterpart and are left out).
int ScreenCodeOf(char c) {
  if (c >= 'a' && c <= 'z') return c - 'a' + 1;
  if (c >= 'A' && c <= 'Z') return c - 'A' + 65;  // shifted letters
  if (c >= '@' && c <= '_') return c - '@';
  if (c == '`') return 31;
  if (c == '{') return 27;
  if (c == '}') return 29;
  return c;  // space to '?'
}

std::vector<std::vector<TypedCharacter>> Lines() {
  std::vector<std::vector<TypedCharacter>> lines(1);
  for (char c = ' '; c <= '~'; ++c) {
    if (c == '|' || c == '~') continue;
    if (lines.back().size() == 32) lines.emplace_back();
    lines.back().push_back({c, ScreenCodeOf(c)});
  }
  return lines;
}

void Clear(QWidget& window) { TypeKey(window, Qt::Key_Home, true); }
}  // namespace

TEST(DesktopTyping, EveryPrintableUsCharacterArrivesAsItself) {
  joystickEnabled.store(1);
  shiftHeld.store(0);
  DesktopWindow window(1);
  RunningMachine machine;
  if (!machine.Start(window)) GTEST_SKIP() << "the genuine ROM images are not in $VORNCE_ROMS or ../shared/roms";
  ASSERT_TRUE(machine.WaitForText("READY."));
  for (const auto& line : Lines()) {
    Clear(window);
    std::string expected;
    for (const TypedCharacter& typed : line) {
      TypeKey(window, std::toupper(static_cast<unsigned char>(typed.typed)), TypedWithShift(typed.typed));
      expected += static_cast<char>(typed.screenCode);
    }
    // Every key applied, then a few frames more for the KERNAL to put the last one on the screen.
    for (int wait = 0; wait < 1500 && KeysWaiting(); ++wait) QTest::qWait(20);
    ASSERT_FALSE(KeysWaiting()) << "the machine stopped taking keys";
    const uint32_t typedAt = framesEnded.load();
    for (int wait = 0; wait < 1500 && framesEnded.load() - typedAt < 10; ++wait) QTest::qWait(20);
    const std::string shown = machine.ScreenCodes(0, static_cast<int>(expected.size()));
    for (size_t i = 0; i < line.size(); ++i) {
      EXPECT_EQ(static_cast<int>(static_cast<unsigned char>(shown[i])), line[i].screenCode)
          << "typed '" << line[i].typed << "'";
    }
    // RETURN ends the quote mode that '"' began, so the next CLR clears.
    TypeKey(window, Qt::Key_Return, false);
  }
}
