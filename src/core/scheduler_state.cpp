// scheduler_state.cpp: the emulation loop's variables with their start-up values.
//
// Does: nothing but hold them, so the processor and the chips below the loop can reach them.
// Called by: everything that reads or sets the machine's timing and interrupt state; the loop
// itself is machine/scheduler.cpp.
#include "core/scheduler_state.h"

std::atomic<uint32_t> emulationRunning{1};
std::atomic<uint32_t> pauseAcknowledged{0};
std::atomic<uint32_t> resetRequest{0};
std::atomic<uint32_t> resetAtFrameEnd{0};
std::atomic<uint32_t> accurateSprites{1};
std::atomic<uint32_t> keepRunning{1};
std::atomic<uint32_t> framesEnded{0};
std::atomic<uint32_t> restorePressed{0};
std::atomic<uint32_t> warpMode{0};

int32_t frameSkipCountdown = 1;
uint32_t frameReady = 1;
bool picturesSkipped = false;
bool frameRendered = true;
uint32_t nmiPending = 0;
uint32_t irqPending = 0;
int32_t runCycleLimit = 0;
int32_t throttleCycleCount = 0;
int32_t soundCycleCount = 0;
uint32_t cycleClock = 0;
uint16_t rasterLine = 0;
uint16_t lineCyclePosition = 0;
uint16_t rasterCompareLine = 0xFFFF;
