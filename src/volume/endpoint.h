#pragma once
// The master level and mute of the default playback device through Core Audio (the volume path from
// Vista on). Each call makes its own enumerator, endpoint and volume interface and releases all three
// before it returns. Failures come back as the HRESULT of the first failing call; nothing is shown.
// COM must be initialised on the calling thread.

#include <windows.h>
#include <objbase.h>

namespace tavimo {

// Makes the device enumerator; CoCreateInstance unless a test has put its own in (the test machine
// has no working endpoint, and a real one would keep the level the test set).
using CreateEnumeratorFunction = decltype(&::CoCreateInstance);
extern CreateEnumeratorFunction g_createDeviceEnumerator;

// level -1 reads: `percent` gets the master level in percent (ties to even). Any other level (0 to 100)
// sets the master level to that percent and `percent` gets 0. `percent` is 0 after a failure.
HRESULT EndpointVolume(short level, int& percent);

// Reads the mute (and with `toggle` inverts it first); `muted` gets the state after the call, 1 or 0.
HRESULT EndpointMute(bool toggle, BOOL& muted);

} // namespace tavimo
