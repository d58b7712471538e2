#pragma once
// Synthetic key chords (PrintScreen, Alt+PrintScreen, Alt+F4), sent as one batch so that no real
// keystroke can fall between their presses and releases.

#include <windows.h>

namespace tavimo {

// Sends the batch; SendInput unless a test has put a recorder in.
using SendInputFunction = decltype(&::SendInput);
extern SendInputFunction g_sendInput;

// Adds one key event to the pending batch: `flags` 0 for a press, KEYEVENTF_KEYUP for a release.
void QueueKeyEvent(WORD virtualKey, DWORD flags);

// Sends every pending event in one SendInput call and empties the batch. True when at least one event
// went in; false when nothing was pending (then nothing is sent) or the input was blocked.
bool FlushKeyEvents();

// Presses key1, key2, key3 in order and releases them in reverse, in one batch; 0 means no key.
// key3 counts only with key2. False at once, sending nothing, when key1 is 0.
bool SendKeyChord(WORD key1, WORD key2 = 0, WORD key3 = 0);

} // namespace tavimo
