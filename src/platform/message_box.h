// message_box.h: our stand-in for the handheld's modal message box.
#pragma once

// Shows text with its caption and returns once the user has dismissed it.
void ShowMessageBox(const char* text, const char* caption);

// Front ends install how a message is shown; without one it is printed on stderr.
using MessageBoxHandler = void (*)(const char* text, const char* caption);
void SetMessageBoxHandler(MessageBoxHandler handler);
