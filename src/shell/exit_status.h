// exit_status.h: the exit statuses vornce ends with, besides 0 and the values a test harness run
// passes on from the program (ST with --until-ready, the exit register with --debugcart).
#pragma once

inline constexpr int kExitFileOrOptionProblem = 2;  // a bad option, or a file that cannot be used
inline constexpr int kExitTimedOut = 124;           // --seconds ran out before a harness run's end
inline constexpr int kExitJam = 125;                // a harness run's program ran a jam opcode
inline constexpr int kExitSignalBase = 128;         // plus the number of the signal that ended it
