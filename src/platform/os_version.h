#pragma once
// Which Windows this is, asked afresh at each call (the 148-byte ANSI version record), so a handler
// chooses its path when it runs.

namespace tavimo {

// Major version above 5: the audio endpoint instead of the mixer.
bool IsVistaOrLater();
// Platform id 2: the NT family's removal call instead of the older family's two.
bool IsWindowsNT();

} // namespace tavimo
