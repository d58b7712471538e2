#pragma once
// Where the main window's controls go for a client size: the designed pixels at 96 DPI, scaled.

#include <windows.h>

namespace tavimo {

struct FormLayout {
    // How many of the seven steps could be applied; the first one that would give a control a
    // negative size stops the layout for this size change.
    int steps = 0;
    int cdLeft = 0;            // 1: the CD tray list stays flush with the right edge
    int listHeight = 0;        // 2: both lists end where the buttons begin
    int deviceWidth = 0;       // 3: the device list fills the rest, touching the CD tray list
    int deviceColumnWidth = 0; // 4
    int buttonTop = 0;         // 5, 6: the two left buttons follow the bottom edge
    int volumeLeft[4] = {};    // 7: the volume buttons follow the CD tray list
};

inline constexpr int kLayoutSteps = 7;

FormLayout ComputeFormLayout(int clientWidth, int clientHeight, int cdListWidth, UINT dpi);

// Designed pixels at 96 DPI scaled to the window's DPI.
int ScaleDesign(double designPixels, UINT dpi);

} // namespace tavimo

namespace tavimo {

// The window's top-left corner, in twips, centred on the mouse cursor and pushed inside the primary
// screen (screen size in twips, cursor in pixels).
POINT CursorPlacement(POINT cursorPixels, int windowWidth, int windowHeight, int screenWidth,
                      int screenHeight, double twipsPerPixel);

// The top-left corner, in twips, that centres the window on the primary screen.
POINT CenterPlacement(int windowWidth, int windowHeight, int screenWidth, int screenHeight);

} // namespace tavimo
