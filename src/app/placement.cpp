#include "app/placement.h"

namespace tavimo {

StoredPlacement CleanPlacement(int state, int x, int y, int width, int height, const SizeLimits& limits) {
    StoredPlacement placement;
    // A window closed while minimised opens normal; an unknown state does the same.
    placement.state = state == kStateMaximized ? kStateMaximized : kStateNormal;
    placement.x = x;
    placement.y = y;
    if (width >= limits.minWidth && width <= limits.maxWidth) {
        placement.width = width;
    }
    if (height >= limits.minHeight && height <= limits.maxHeight) {
        placement.height = height;
    }
    return placement;
}

} // namespace tavimo
