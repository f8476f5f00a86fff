// scheduler_state.h: the emulation loop's state, its flags shared with the application thread,
// and its timing constants. The processor, the chips, the picture and the sound read and set
// these; the loop that advances them is machine/scheduler.
#pragma once

#include <atomic>
#include <cstdint>

// Shared with the application thread.
extern std::atomic<uint32_t> emulationRunning;   // 0 = paused
extern std::atomic<uint32_t> pauseAcknowledged;  // set by the thread while it idles paused
extern std::atomic<uint32_t> resetRequest;       // 0 none, 1 reset the CPU, 2 after a jam opcode,
                                                 // kHaltRequest: the processor is halted
extern std::atomic<uint32_t> resetAtFrameEnd;    // reset the machine at the end of the next drawn frame
extern std::atomic<uint32_t> accurateSprites;    // sprites in 21-line bands rather than once a frame
extern std::atomic<uint32_t> keepRunning;        // 0 = return at the next presented frame
extern std::atomic<uint32_t> framesEnded;        // counts every frame ended, drawn or skipped
extern std::atomic<uint32_t> restorePressed;     // the RESTORE key went down: an NMI at the frame's end
extern std::atomic<uint32_t> warpMode;           // 1 = unpaced: the throttle never holds

// Emulation thread only.
extern int32_t frameSkipCountdown;  // 0 = the current frame is drawn
extern uint32_t frameReady;         // a drawn frame waits to be presented
// Set by a front end's frame observer when no picture before the last one will be looked at: the
// drawn frames that begin while it is set go unrendered (no lines, no sprites) yet are presented,
// counted and observed as usual. A run asked to stop (keepRunning 0) renders its frames again.
extern bool picturesSkipped;
// Taken as each drawn frame begins: its lines and sprites go into the FrameBuffer. Kept until the
// next drawn frame begins, so it also tells whether the frame being presented was rendered whole.
extern bool frameRendered;
extern uint32_t nmiPending;
extern uint32_t irqPending;
// The cycles a run of instructions may reach: the instruction that brings the run's cycles to it
// is the run's last. The interpreter sets it as a run starts; EndRunAfterInstruction makes the
// running instruction the last, for every I/O write (it may move an event the run was planned
// around, or raise a request), a jam opcode and I cleared under a pending IRQ.
extern int32_t runCycleLimit;
inline void EndRunAfterInstruction() { runCycleLimit = 0; }
extern int32_t throttleCycleCount;
extern int32_t soundCycleCount;
extern uint32_t cycleClock;         // free-running, wraps at 2^32: compare by unsigned difference
extern uint16_t rasterLine;         // 0..261
extern uint16_t lineCyclePosition;  // eighths of a cycle into the current line
extern uint16_t rasterCompareLine;  // $FFFF never matches

inline constexpr int kEighthsPerCycle = 8;
inline constexpr int kLineLengthEighths = 512;
inline constexpr int kLinesPerFrame = 262;
inline constexpr int kSpriteBandLines = 21;
inline constexpr int kWholeFrameSprites = 255;
inline constexpr int kCiaStepCycles = 25;
inline constexpr int kInterruptEntryCycles = 7;
inline constexpr int kThrottlePeriod = 50000;
inline constexpr int kThrottleQueueLimit = 10;
inline constexpr int kSoundFlushPeriod = 40000;
inline constexpr int kPausePollMilliseconds = 10;
inline constexpr uint32_t kCyclesPerSecond = 930000;
// resetRequest while the processor is halted (a jam in a test harness run, or the harness's exit
// register): it runs nothing and takes no interrupts until a reset, while the chips, the raster
// and the frames go on.
inline constexpr uint32_t kHaltRequest = 3;
