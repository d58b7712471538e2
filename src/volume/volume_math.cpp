#include "volume/volume_math.h"

#include <cmath>
#include <cstdint>

namespace tavimo {

int RoundHalfEven(double value) {
    // Spelt out rather than std::nearbyint, which follows whatever rounding mode a loaded DLL left set.
    const double below = std::floor(value);
    const double fraction = value - below;
    double rounded = below;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0.0)) {
        rounded += 1.0;
    }
    return static_cast<int>(rounded);
}

int MixerPercent(LONG value, LONG maximum) {
    if (maximum <= 0) {
        return 0;
    }
    return RoundHalfEven(static_cast<double>(value) / static_cast<double>(maximum) * 100.0);
}

DWORD MixerRawValue(int percent, LONG maximum) {
    const std::int64_t raw = static_cast<std::int64_t>(maximum) * percent / 100;
    return static_cast<DWORD>(raw);
}

int ScalarPercent(float scalar) {
    return RoundHalfEven(static_cast<double>(scalar) * 100.0);
}

float PercentScalar(int percent) {
    return static_cast<float>(static_cast<double>(percent) / 100.0);
}

std::optional<int> WheelLevel(int level, bool raise) {
    if (raise) {
        return level < 100 ? std::optional<int>(level + 1) : std::nullopt;
    }
    return level > 0 ? std::optional<int>(level - 1) : std::nullopt;
}

} // namespace tavimo
