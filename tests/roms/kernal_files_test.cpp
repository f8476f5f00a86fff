// kernal_files_test.cpp: the KERNAL's file layer, run under the genuine ROMs (when present) and
// under the built-in ones, with a serial device played by the test at the bus routines'
// addresses. The expected bus traffic and results were taken from the genuine KERNAL's run and
// are kept here, so the built-in run is held to them without the genuine images too.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/cpu.h"
#include "core/machine.h"
#include "support/kernal_call.h"

namespace {
constexpr uint16_t kTalk = 0xED09, kListen = 0xED0C, kSecond = 0xEDB9, kTksa = 0xEDC7;
constexpr uint16_t kCiout = 0xEDDD, kUntlk = 0xEDEF, kUnlsn = 0xEDFE, kAcptr = 0xEE13;
constexpr uint16_t kSetlfs = 0xFFBA, kSetnam = 0xFFBD, kOpen = 0xFFC0, kClose = 0xFFC3;
constexpr uint16_t kChkin = 0xFFC6, kChkout = 0xFFC9, kClrchn = 0xFFCC, kChrin = 0xFFCF;
constexpr uint16_t kChrout = 0xFFD2, kLoad = 0xFFD5, kSave = 0xFFD8, kGetin = 0xFFE4;
constexpr uint16_t kNameAt = 0x0340;

using BusTrace = std::vector<std::pair<uint16_t, uint8_t>>;  // routine, A on entry

// A device that is there: it answers every command, and ACPTR hands out its bytes with the end
// bit on the last one.
struct FakeDevice {
  BusTrace trace;
  std::vector<uint8_t> bytes;
  size_t next = 0;
  bool present = true;
  void operator()(uint16_t routine) {
    trace.push_back({routine, CpuRegs.a});
    if (!present && routine != kCiout) Ram[0x90] |= 0x80;
    if (routine == kAcptr) {
      CpuRegs.a = next < bytes.size() ? bytes[next++] : 0;
      if (next >= bytes.size()) Ram[0x90] |= 0x40;
    }
    CpuRegs.carryFlag = 0;
  }
};

void SetFile(uint8_t logical, uint8_t device, uint8_t secondary, const std::string& name) {
  for (size_t i = 0; i < name.size(); ++i) Ram[kNameAt + i] = static_cast<uint8_t>(name[i]);
  CallRoutine(kSetlfs, logical, device, secondary, false);
  CallRoutine(kSetnam, static_cast<uint8_t>(name.size()), kNameAt & 0xFF, kNameAt >> 8, false);
}
}  // namespace

TEST(KernalFiles, SerialFilesTalkToTheBusInTheGenuineOrder) {
  struct Step {
    const char* what;
    uint16_t routine;
    uint8_t a, x, y;
    std::vector<uint8_t> deviceBytes;
    BusTrace expected;
    uint8_t expectedA;  // what the caller gets back in A
    uint8_t expectedCarry = 0;
  };
  // OPEN 2,8,2,"AB"; CHKIN 2 and read; CHKOUT 2 and write; CLOSE 2; OPEN 3,8,15 without a name
  // and CLOSE 3.
  const std::vector<Step> steps = {
      {"open with a name", kOpen, 0, 0, 0, {}, {{kListen, 8}, {kSecond, 0xF2}, {kCiout, 'A'}, {kCiout, 'B'}, {kUnlsn, 'B'}}, 'B'},
      {"chkin", kChkin, 0, 2, 0, {}, {{kTalk, 8}, {kTksa, 0x62}}, 8},
      {"chrin", kChrin, 0, 0, 0, {0x41}, {{kAcptr, 0}}, 0x41},
      {"getin after the end", kGetin, 0, 0, 0, {}, {}, 0x0D},
      {"clrchn untalks", kClrchn, 0, 0, 0, {}, {{kUntlk, 0}}, 0},
      {"chkout", kChkout, 0, 2, 0, {}, {{kListen, 8}, {kSecond, 0x62}}, 8},
      {"chrout", kChrout, 0x5A, 0, 0, {}, {{kCiout, 0x5A}}, 0x5A},
      {"clrchn unlistens", kClrchn, 0, 0, 0, {}, {{kUnlsn, 0}}, 0, 1},
      {"close", kClose, 2, 0, 0, {}, {{kListen, 8}, {kSecond, 0xE2}, {kUnlsn, 0xE2}}, 0},
  };
  for (RomSet set : AvailableRomSets()) {
    ASSERT_TRUE(BootToReady(set));
    SetFile(2, 8, 2, "AB");
    for (const Step& step : steps) {
      if (step.routine != kGetin) Ram[0x90] = 0;
      FakeDevice device;
      device.bytes = step.deviceBytes;
      const CallOutcome out = CallRoutine(step.routine, step.a, step.x, step.y, false, std::ref(device));
      ASSERT_TRUE(out.returned) << RomSetName(set) << ": " << step.what;
      EXPECT_EQ(device.trace, step.expected) << RomSetName(set) << ": " << step.what;
      EXPECT_EQ(out.carry, step.expectedCarry) << RomSetName(set) << ": " << step.what;
      if (step.routine != kClose && step.routine != kClrchn) {
        EXPECT_EQ(out.a, step.expectedA) << RomSetName(set) << ": " << step.what;
      }
    }
    EXPECT_EQ(Ram[0x98], 0) << RomSetName(set) << ": no file left open";
    EXPECT_EQ(Ram[0x99], 0) << RomSetName(set);
    EXPECT_EQ(Ram[0x9A], 3) << RomSetName(set);

    // Without a name nothing goes to the bus on OPEN, but CLOSE still closes the channel.
    SetFile(3, 8, 15, "");
    FakeDevice quiet;
    EXPECT_EQ(CallRoutine(kOpen, 0, 0, 0, false, std::ref(quiet)).carry, 0) << RomSetName(set);
    EXPECT_TRUE(quiet.trace.empty()) << RomSetName(set);
    EXPECT_EQ(Ram[0x026D], 0x6F) << RomSetName(set) << ": the secondary address is kept as $60+sa";
    CallRoutine(kClose, 3, 0, 0, false, std::ref(quiet));
    EXPECT_EQ(quiet.trace, (BusTrace{{kListen, 8}, {kSecond, 0xEF}, {kUnlsn, 0xEF}})) << RomSetName(set);
  }
}

TEST(KernalFiles, LoadAndSaveUseChannelsZeroAndOne) {
  const BusTrace loadTrace = {{kListen, 8}, {kSecond, 0xF0}, {kCiout, 'A'}, {kCiout, 'B'}, {kUnlsn, 'B'},
                              {kTalk, 8},   {kTksa, 0x60},   {kAcptr, 0x60}, {kAcptr, 0},   {kAcptr, 0xFF},
                              {kAcptr, 0xFF}, {kAcptr, 0xFF}, {kUntlk, 3},    {kListen, 8},  {kSecond, 0xE0},
                              {kUnlsn, 0xE0}};
  struct Case {
    const char* what;
    uint8_t secondary;
    uint16_t expectedStart;
  };
  const Case cases[] = {{"secondary address 1: the file's own address", 1, 0xC000},
                        {"secondary address 0: the caller's address", 0, 0x3000}};
  for (RomSet set : AvailableRomSets()) {
    for (const Case& c : cases) {
      ASSERT_TRUE(BootToReady(set));
      SetFile(1, 8, c.secondary, "AB");
      FakeDevice device;
      device.bytes = {0x00, 0xC0, 0x11, 0x22, 0x33};
      const CallOutcome out = CallRoutine(kLoad, 0, 0x00, 0x30, false, std::ref(device));
      ASSERT_TRUE(out.returned) << RomSetName(set) << ": " << c.what;
      // A on entry to the calls after the file's bytes depends on what the routine last did.
      BusTrace trace = device.trace;
      for (auto& call : trace)
        if (call.first == kAcptr || call.first == kUntlk) call.second = 0;
      BusTrace expected = loadTrace;
      for (auto& call : expected)
        if (call.first == kAcptr || call.first == kUntlk) call.second = 0;
      EXPECT_EQ(trace, expected) << RomSetName(set) << ": " << c.what;
      EXPECT_EQ(out.carry, 0) << RomSetName(set) << ": " << c.what;
      EXPECT_EQ(out.status, 0x40) << RomSetName(set) << ": " << c.what;
      EXPECT_EQ(out.x | out.y << 8, c.expectedStart + 3) << RomSetName(set) << ": " << c.what;
      EXPECT_EQ(Ram[c.expectedStart], 0x11) << RomSetName(set) << ": " << c.what;
      EXPECT_EQ(Ram[c.expectedStart + 2], 0x33) << RomSetName(set) << ": " << c.what;
      EXPECT_EQ(Ram[0xAE] | Ram[0xAF] << 8, c.expectedStart + 3) << RomSetName(set) << ": " << c.what;
    }

    ASSERT_TRUE(BootToReady(set));
    SetFile(1, 8, 0, "AB");
    Ram[0xC000] = 0x11, Ram[0xC001] = 0x22, Ram[0xC002] = 0x33;
    Ram[0xFB] = 0x00, Ram[0xFC] = 0xC0;
    FakeDevice device;
    const CallOutcome out = CallRoutine(kSave, 0xFB, 0x03, 0xC0, false, std::ref(device));
    const BusTrace saveTrace = {{kListen, 8},   {kSecond, 0xF1}, {kCiout, 'A'},  {kCiout, 'B'},  {kUnlsn, 'B'},
                                {kListen, 8},   {kSecond, 0x61}, {kCiout, 0x00}, {kCiout, 0xC0}, {kCiout, 0x11},
                                {kCiout, 0x22}, {kCiout, 0x33},  {kUnlsn, 0x33}, {kListen, 8},   {kSecond, 0xE1},
                                {kUnlsn, 0xE1}};
    BusTrace trace = device.trace;
    for (auto& call : trace)
      if (call.first == kUnlsn) call.second = 0;
    BusTrace expected = saveTrace;
    for (auto& call : expected)
      if (call.first == kUnlsn) call.second = 0;
    EXPECT_EQ(trace, expected) << RomSetName(set);
    EXPECT_EQ(out.carry, 0) << RomSetName(set);
  }
}

TEST(KernalFiles, ErrorsComeBackInAWithTheCarrySet) {
  struct Case {
    const char* what;
    uint8_t logical, device, secondary;
    const char* name;
    uint16_t routine;
    uint8_t a, x;
    uint8_t expectedError;
  };
  const Case cases[] = {
      {"CHKIN of a file that is not open", 5, 3, 0, "", kChkin, 0, 9, 3},
      {"CHKOUT of a file that is not open", 5, 3, 0, "", kChkout, 0, 9, 3},
      {"OPEN with logical file 0", 0, 3, 0, "", kOpen, 0, 0, 6},
      {"CHKOUT to the keyboard", 5, 0, 0, "", kChkout, 0, 5, 7},
      {"LOAD from the keyboard", 1, 0, 0, "AB", kLoad, 0, 0, 9},
      {"LOAD from RS-232", 1, 2, 0, "AB", kLoad, 0, 0, 9},
      {"LOAD from the screen", 1, 3, 0, "AB", kLoad, 0, 0, 9},
      {"LOAD without a name", 1, 8, 0, "", kLoad, 0, 0, 8},
      {"SAVE to the screen", 1, 3, 0, "AB", kSave, 0xFB, 0, 9},
      {"SAVE without a name", 1, 8, 0, "", kSave, 0xFB, 0, 8},
      {"LOAD from an absent disk drive", 1, 8, 0, "AB", kLoad, 0, 0, 5},
      {"OPEN on an absent printer", 4, 4, 7, "X", kOpen, 0, 0, 5},
  };
  for (RomSet set : AvailableRomSets()) {
    ASSERT_TRUE(BootToReady(set));
    Ram[0x9D] = 0;  // program mode: no messages
    for (const Case& c : cases) {
      SetFile(c.logical, c.device, c.secondary, c.name);
      if (c.routine == kChkout && c.device == 0) CallRoutine(kOpen, 0, 0, 0, false);
      const CallOutcome out = CallRoutine(c.routine, c.a, c.x, 0xC0, false);
      ASSERT_TRUE(out.returned) << RomSetName(set) << ": " << c.what;
      EXPECT_EQ(out.carry, 1) << RomSetName(set) << ": " << c.what;
      EXPECT_EQ(out.a, c.expectedError) << RomSetName(set) << ": " << c.what;
      EXPECT_EQ(Ram[0x9A], 3) << RomSetName(set) << ": the output is the screen again";
    }
    // The file whose device was absent stays open, as a second OPEN of it shows.
    const CallOutcome again = CallRoutine(kOpen, 0, 0, 0, false);
    EXPECT_EQ(again.a, 2) << RomSetName(set);
    // Ten files at most.
    CallRoutine(0xFFE7, 0, 0, 0, false);
    for (uint8_t logical = 1; logical <= 10; ++logical) {
      SetFile(logical, 3, 0, "");
      EXPECT_EQ(CallRoutine(kOpen, 0, 0, 0, false).carry, 0) << RomSetName(set);
    }
    SetFile(11, 3, 0, "");
    const CallOutcome eleventh = CallRoutine(kOpen, 0, 0, 0, false);
    EXPECT_EQ(eleventh.carry, 1) << RomSetName(set);
    EXPECT_EQ(eleventh.a, 1) << RomSetName(set);
    EXPECT_EQ(Ram[0x98], 10) << RomSetName(set);
  }
}

TEST(KernalFiles, BusRoutinesWithNothingOnTheBusReportDeviceNotPresent) {
  struct Case {
    uint16_t routine;
    uint8_t expectedStatus;
  };
  // TKSA is left out: the genuine one waits for a device that never answers.
  const Case cases[] = {{kTalk, 0x80},  {kListen, 0x80}, {kSecond, 0x80}, {kCiout, 0x00},
                        {kUntlk, 0x80}, {kUnlsn, 0x80},  {kAcptr, 0x42}};
  for (RomSet set : AvailableRomSets()) {
    ASSERT_TRUE(BootToReady(set));
    for (const Case& c : cases) {
      Ram[0x90] = 0;
      const CallOutcome out = CallRoutine(c.routine, 8, 0x11, 0x22, true);
      ASSERT_TRUE(out.returned) << RomSetName(set) << std::hex << " $" << c.routine;
      EXPECT_EQ(out.status, c.expectedStatus) << RomSetName(set) << std::hex << " $" << c.routine;
      EXPECT_EQ(out.carry, 0) << RomSetName(set) << std::hex << " $" << c.routine;
      EXPECT_EQ(out.x, 0x11) << RomSetName(set) << std::hex << " $" << c.routine;
      EXPECT_EQ(out.y, 0x22) << RomSetName(set) << std::hex << " $" << c.routine;
    }
    // The byte CIOUT held goes out with the next one and finds nobody.
    Ram[0x90] = 0;
    CallRoutine(kCiout, 1, 0, 0, false);
    CallRoutine(kCiout, 2, 0, 0, false);
    EXPECT_EQ(Ram[0x90], 0x80) << RomSetName(set);
  }
}

TEST(KernalFiles, MessagesFollowTheMessageFlag) {
  struct Case {
    const char* what;
    uint8_t flag;
    bool present;
    uint16_t routine;
    std::vector<std::string> shown;
  };
  const Case cases[] = {
      {"direct mode: the control messages of LOAD", 0x80, true, kLoad, {"SEARCHING FOR AB", "LOADING"}},
      {"direct mode: SAVE", 0x80, true, kSave, {"SAVING AB"}},
      {"error messages only: I/O ERROR with the number", 0x40, false, kLoad, {"I/O ERROR #5"}},
      {"program mode: nothing", 0x00, false, kLoad, {}},
  };
  for (RomSet set : AvailableRomSets()) {
    for (const Case& c : cases) {
      ASSERT_TRUE(BootToReady(set));
      CallRoutine(0xE544, 0, 0, 0, false);  // a clear screen
      SetFile(1, 8, 0, "AB");
      Ram[0x9D] = c.flag;
      Ram[0xFB] = 0x00, Ram[0xFC] = 0xC0;
      FakeDevice device;
      device.present = c.present;
      device.bytes = {0x00, 0xC0, 0x11};
      CallRoutine(c.routine, c.routine == kSave ? 0xFB : 0, 0x01, 0xC0, false, std::ref(device));
      std::vector<std::string> shown;
      for (const std::string& line : ScreenLines())
        if (!line.empty()) shown.push_back(line);
      EXPECT_EQ(shown, c.shown) << RomSetName(set) << ": " << c.what;
    }
  }
}

TEST(KernalFiles, TheKeyboardTapeAndRs232ChannelsTakeAndGiveNothing) {
  // CHROUT to them keeps A with the carry clear, as the genuine KERNAL does; reading from tape
  // or RS-232 gives 0. (The genuine KERNAL waits for RS-232 in CHRIN, so that is left out.)
  struct Case {
    const char* what;
    uint16_t routine;
    uint8_t outputDevice, inputDevice;
    uint8_t expectedA;
  };
  const Case cases[] = {
      {"CHROUT to the keyboard", kChrout, 0, 0, 0x41}, {"CHROUT to tape", kChrout, 1, 0, 0x41},
      {"CHROUT to RS-232", kChrout, 2, 0, 0x41},       {"CHRIN from tape", kChrin, 3, 1, 0x00},
      {"GETIN from tape", kGetin, 3, 1, 0x00},        {"GETIN from RS-232", kGetin, 3, 2, 0x00},
  };
  for (RomSet set : AvailableRomSets()) {
    for (const Case& c : cases) {
      ASSERT_TRUE(BootToReady(set));
      Ram[0x9A] = c.outputDevice, Ram[0x99] = c.inputDevice;
      const CallOutcome out = CallRoutine(c.routine, 0x41, 0x11, 0x22, false);
      ASSERT_TRUE(out.returned) << RomSetName(set) << ": " << c.what;
      EXPECT_EQ(out.a, c.expectedA) << RomSetName(set) << ": " << c.what;
      EXPECT_EQ(out.carry, 0) << RomSetName(set) << ": " << c.what;
      EXPECT_EQ(out.x, 0x11) << RomSetName(set) << ": " << c.what;
      if (set == RomSet::Builtin && c.routine != kChrout) {
        EXPECT_EQ(out.status, 0x80) << c.what << ": the device is not there";
      }
    }
  }
}

TEST(KernalFiles, VerifyComparesWithoutStoring) {
  struct Case {
    const char* what;
    uint8_t inMemory;
    uint8_t expectedStatus;
  };
  const Case cases[] = {{"the same bytes", 0x22, 0x40}, {"a byte that differs", 0x23, 0x50}};
  for (RomSet set : AvailableRomSets()) {
    for (const Case& c : cases) {
      ASSERT_TRUE(BootToReady(set));
      CallRoutine(0xE544, 0, 0, 0, false);
      SetFile(1, 8, 1, "AB");
      Ram[0x9D] = 0x80;
      Ram[0xC000] = 0x11, Ram[0xC001] = c.inMemory;
      FakeDevice device;
      device.bytes = {0x00, 0xC0, 0x11, 0x22};
      const CallOutcome out = CallRoutine(kLoad, 1, 0, 0, false, std::ref(device));
      EXPECT_EQ(out.carry, 0) << RomSetName(set) << ": " << c.what;
      EXPECT_EQ(out.status, c.expectedStatus) << RomSetName(set) << ": " << c.what;
      EXPECT_EQ(Ram[0xC001], c.inMemory) << RomSetName(set) << ": " << c.what;
      EXPECT_EQ(ScreenLines()[1], "SEARCHING FOR AB") << RomSetName(set) << ": " << c.what;
      EXPECT_EQ(ScreenLines()[2], "VERIFYING") << RomSetName(set) << ": " << c.what;
    }
  }
}
