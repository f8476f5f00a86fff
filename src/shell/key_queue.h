// key_queue.h: host key events handed to the keyboard one machine scan apart.
#pragma once

// Application thread: takes a key event in typing order. It is applied at once when nothing is
// waiting and the previous event has been scanned, else at a later frame. Returns true when it
// was applied at once and toggled the picture's rotation.
bool QueueKey(int virtualKey, bool down);
// Emulation thread, after every presented frame: applies the waiting event whose turn has come.
void ApplyQueuedKeys();
// True while events wait.
bool KeysWaiting();
// Drops the waiting events and forgets the last one's frame (a fresh start, for tests).
void ClearKeyQueue();
