// stop_signals.h: SIGINT and SIGTERM as a request to stop cleanly.
#pragma once

// Holds SIGINT and SIGTERM back from every thread started afterwards, so that only
// WaitForStopSignal sees them. Call before starting any thread.
void BlockStopSignals();
// Waits up to milliseconds for SIGINT or SIGTERM; returns the signal's number when one arrived,
// else 0.
int WaitForStopSignal(int milliseconds);
