// display_session.h: taking the display and buttons at start-up and giving them back at the end.
#pragma once

// Opens the button input and the display full screen and copies the display's properties for
// the frame presentation; call before the emulation thread starts. False when the display cannot
// be opened.
bool OpenDisplaySession(void* window);
// Closes the display, then the input; call after the emulation thread has returned.
void CloseDisplaySession();
