// The placement keys of setting.ini after the profile functions made numbers of them: any five
// integers, against any size limits (a screen can be tiny, the limits even crossed).
// Input: nine 32-bit little-endian integers: state, x, y, width, height, then the four limits.

#include "app/placement.h"

#include "fuzz_support.h"

using namespace tavimo;
using fuzz::Check;

namespace {

bool Within(int value, int low, int high) {
    return low <= value && value <= high;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Reader in(data, size);
    const int state = in.Int(), x = in.Int(), y = in.Int(), width = in.Int(), height = in.Int();
    SizeLimits limits{};
    limits.minWidth = in.Int();
    limits.minHeight = in.Int();
    limits.maxWidth = in.Int();
    limits.maxHeight = in.Int();

    const StoredPlacement p = CleanPlacement(state, x, y, width, height, limits);

    Check(p.state == kStateNormal || p.state == kStateMaximized, "a state the window can take");
    Check((p.state == kStateMaximized) == (state == kStateMaximized), "only a stored maximised state stays");
    Check(p.width == kDefaultWidthTwips || Within(p.width, limits.minWidth, limits.maxWidth),
          "the width fits the limits or is the default");
    Check(p.height == kDefaultHeightTwips || Within(p.height, limits.minHeight, limits.maxHeight),
          "the height fits the limits or is the default");
    Check(!Within(width, limits.minWidth, limits.maxWidth) || p.width == width, "a width that fits is kept");
    Check(!Within(height, limits.minHeight, limits.maxHeight) || p.height == height,
          "a height that fits is kept");
    Check(p.x == x && p.y == y && p.hasPosition, "the position is the second move's to set");
    return 0;
}
