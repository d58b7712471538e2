#pragma once
// The main window's placement as setting.ini stores it, in twips, and the cleaning of stored values:
// the file is anybody's to edit, so every number in it is taken as hostile. Plain values only.

namespace tavimo {

inline constexpr int kDefaultWidthTwips = 9975;
inline constexpr int kDefaultHeightTwips = 2865;

// 0 normal, 1 minimised, 2 maximised, as stored.
enum WindowState : int { kStateNormal = 0, kStateMinimized = 1, kStateMaximized = 2 };

// The placement as the file has it, in twips, already cleaned of values no window can take.
struct StoredPlacement {
    int state = kStateNormal;
    int x = 0, y = 0;
    int width = kDefaultWidthTwips, height = kDefaultHeightTwips;
    bool hasPosition = true; // false for a maximised start: the position keys are not read
};

// Sizes a window can take, in twips: at least the system's smallest window, at most the virtual screen.
struct SizeLimits {
    int minWidth, minHeight, maxWidth, maxHeight;
};

// A state other than 0, 1 or 2 reads as normal, a minimised state as normal; a width or height the
// window can't take falls back to its default.
StoredPlacement CleanPlacement(int state, int x, int y, int width, int height, const SizeLimits& limits);

} // namespace tavimo
