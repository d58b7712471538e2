#pragma once
// Conversions between the platform's volume values and the whole percentages (0 to 100) that the
// program shows and sets. Pure functions: no device is touched.

#include <windows.h>

#include <optional>

namespace tavimo {

// Rounds to the nearest whole number; a value exactly halfway goes to the even neighbour (12.5 -> 12).
int RoundHalfEven(double value);

// A mixer level in percent: value / maximum * 100 in double precision, ties to even. The bounds'
// minimum is taken as 0. A maximum of 0 or less reads as 0 rather than dividing by it.
int MixerPercent(LONG value, LONG maximum);

// The raw mixer value for a percent: maximum * percent / 100, truncated towards zero. Worked in 64 bits
// so a driver with a large maximum cannot overflow it.
DWORD MixerRawValue(int percent, LONG maximum);

// An endpoint scalar (0.0 to 1.0) in percent, ties to even (0.125 -> 12, 0.375 -> 38).
int ScalarPercent(float scalar);

// A percent as an endpoint scalar: percent / 100 in double precision, stored as a float.
float PercentScalar(int percent);

// One wheel notch: the level to write, or nothing when the level is already at the bound it moves to.
std::optional<int> WheelLevel(int level, bool raise);

} // namespace tavimo
