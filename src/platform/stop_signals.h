// stop_signals.h: SIGINT and SIGTERM as a request to stop cleanly, and a way to wake the waiter.
#pragma once

// Holds SIGINT and SIGTERM back from every thread started afterwards, so that only
// WaitForStopSignal sees them. Call before starting any thread.
void BlockStopSignals();
// Waits up to milliseconds for SIGINT or SIGTERM; returns the signal's number when one arrived,
// else 0. The thread that called BlockStopSignals is the one that waits.
int WaitForStopSignal(int milliseconds);
// Ends a wait in WaitForStopSignal at once, as if its time had run out; any thread may call it.
void WakeStopSignalWaiter();
