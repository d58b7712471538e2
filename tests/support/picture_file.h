#pragma once
// Reads a picture file back through GDI+: its size and the colour in the middle of its top and bottom
// halves, which tells a picture saved upside down from a right one.

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>

// The GDI+ headers use min and max, which NOMINMAX keeps out of windows.h.
namespace Gdiplus {
using std::max;
using std::min;
} // namespace Gdiplus
#include <gdiplus.h>

namespace tavimo::test_support {

struct PictureFile {
    UINT width = 0;
    UINT height = 0;
    COLORREF top = 0;
    COLORREF bottom = 0;
};

inline std::optional<PictureFile> ReadPictureFile(const std::wstring& path) {
    namespace gp = Gdiplus::DllExports;
    ULONG_PTR token = 0;
    const Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) {
        return std::nullopt;
    }
    std::optional<PictureFile> picture;
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (gp::GdipCreateBitmapFromFile(path.c_str(), &bitmap) == Gdiplus::Ok) {
        PictureFile read;
        gp::GdipGetImageWidth(bitmap, &read.width);
        gp::GdipGetImageHeight(bitmap, &read.height);
        Gdiplus::ARGB top = 0, bottom = 0;
        gp::GdipBitmapGetPixel(bitmap, static_cast<INT>(read.width / 2), static_cast<INT>(read.height / 4),
                               &top);
        gp::GdipBitmapGetPixel(bitmap, static_cast<INT>(read.width / 2),
                               static_cast<INT>(read.height * 3 / 4), &bottom);
        const auto rgb = [](Gdiplus::ARGB c) { return RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF); };
        read.top = rgb(top);
        read.bottom = rgb(bottom);
        picture = read;
        gp::GdipDisposeImage(bitmap);
    }
    Gdiplus::GdiplusShutdown(token);
    return picture;
}

// Every channel within `tolerance` (JPEG moves colours a little).
inline bool NearColour(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

} // namespace tavimo::test_support
