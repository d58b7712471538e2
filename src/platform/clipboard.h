#pragma once
// Emptying the clipboard, so that the next screen capture is the only bitmap on it.

namespace tavimo {

// Empties the clipboard when it can be opened; when another program holds it, leaves it as it is.
void ClearClipboard();

} // namespace tavimo
