// message_box.cpp: the modal message box, shown by whichever front end installed a handler.
//
// The headless runner keeps the default, which prints "caption: text" on stderr and returns at
// once, so the machine carries on as if the user had pressed OK.
// Called by: the emulation thread (unrecognised instruction) and the start-up code.
#include "platform/message_box.h"

#include <atomic>
#include <cstdio>

namespace {
void PrintOnStderr(const char* text, const char* caption) { std::fprintf(stderr, "%s: %s\n", caption, text); }

std::atomic<MessageBoxHandler> messageBoxHandler{PrintOnStderr};
}  // namespace

void ShowMessageBox(const char* text, const char* caption) { messageBoxHandler.load()(text, caption); }

void SetMessageBoxHandler(MessageBoxHandler handler) {
  messageBoxHandler.store(handler != nullptr ? handler : PrintOnStderr);
}
