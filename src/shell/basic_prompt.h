// basic_prompt.h: whether BASIC waits in direct mode for a line to be typed.
#pragma once

// True while the screen editor waits for a key with the cursor blinking, nothing waits in the
// keyboard buffer, and the cursor stands at the start of the line right below "READY." (or the
// lower-case set's "ready."): BASIC is back at its prompt. A program's INPUT, or a machine-code
// program waiting for a key, has its own prompt or output above the cursor.
bool BasicWaitsForLine();
