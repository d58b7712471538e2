#pragma once
// Letting queued window messages run in the middle of long work on the UI thread.

namespace tavimo {

// Dispatches every message waiting in this thread's queue. False when WM_QUIT came: it is posted again
// so that the main loop still ends, and the caller should stop.
bool RunPendingMessages();

} // namespace tavimo
