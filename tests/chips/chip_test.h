// chip_test.h: a freshly reset machine with the I/O area visible, shared by the chip tests.
#pragma once

#include <gtest/gtest.h>

#include "chips/cia.h"
#include "core/machine.h"
#include "machine/machine_reset.h"
#include "machine/scheduler.h"
#include "sound/sound_output.h"
#include "video/presentation.h"

class ChipTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(InitMachine(), 1);
    Ram[0x0001] = 0x37;
    // A machine reset keeps these, so an earlier test could have left them set.
    cia1IntMask = cia2IntMask = 0;
    cia1LatchA = cia1LatchB = cia2LatchA = 0;
    irqPending = nmiPending = 0;
    joystickPort.store(1);
    joystickEnabled.store(1);
    landscapeMode.store(0);
    soundDeviceState.store(0);  // as at start-up: the SID keeps its volume nibble
  }
};
