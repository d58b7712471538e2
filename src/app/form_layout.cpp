#include "app/form_layout.h"

#include <cmath>

namespace tavimo {

namespace {
constexpr double kButtonHeight = 33.333; // the buttons' designed height, not read from the button
constexpr int kColumnMargin = 23;
constexpr int kVolumeButtonStep = 64;
} // namespace

int ScaleDesign(double designPixels, UINT dpi) {
    return static_cast<int>(std::lround(designPixels * dpi / USER_DEFAULT_SCREEN_DPI));
}

FormLayout ComputeFormLayout(int clientWidth, int clientHeight, int cdListWidth, UINT dpi) {
    FormLayout layout;
    const int buttonHeight = ScaleDesign(kButtonHeight, dpi);

    layout.cdLeft = clientWidth - cdListWidth;
    layout.steps = 1;

    layout.listHeight = clientHeight - buttonHeight;
    if (layout.listHeight < 0) {
        return layout;
    }
    layout.steps = 2;

    layout.deviceWidth = layout.cdLeft;
    if (layout.deviceWidth < 0) {
        return layout;
    }
    layout.steps = 3;

    layout.deviceColumnWidth = layout.deviceWidth - ScaleDesign(kColumnMargin, dpi);
    if (layout.deviceColumnWidth < 0) {
        return layout;
    }
    layout.steps = 4;

    layout.buttonTop = clientHeight - buttonHeight;
    layout.steps = 6;

    for (int i = 0; i < 4; ++i) {
        layout.volumeLeft[i] = layout.cdLeft + ScaleDesign(kVolumeButtonStep * i, dpi);
    }
    layout.steps = kLayoutSteps;
    return layout;
}

} // namespace tavimo

namespace tavimo {

POINT CursorPlacement(POINT cursor, int windowWidth, int windowHeight, int screenWidth, int screenHeight,
                      double twipsPerPixel) {
    // Half the size is the size integer-divided by 2; the corner is rounded to whole twips.
    LONG x = static_cast<LONG>(std::lround(cursor.x * twipsPerPixel - windowWidth / 2));
    LONG y = static_cast<LONG>(std::lround(cursor.y * twipsPerPixel - windowHeight / 2));
    if (x < 0)
        x = 0;
    if (y < 0)
        y = 0;
    if (x + windowWidth > screenWidth)
        x = screenWidth - windowWidth;
    if (y + windowHeight > screenHeight)
        y = screenHeight - windowHeight;
    return POINT{x, y};
}

POINT CenterPlacement(int windowWidth, int windowHeight, int screenWidth, int screenHeight) {
    return POINT{static_cast<LONG>(std::lround(screenWidth / 2.0 - windowWidth / 2.0)),
                 static_cast<LONG>(std::lround(screenHeight / 2.0 - windowHeight / 2.0))};
}

} // namespace tavimo
