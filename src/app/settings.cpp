#include "app/settings.h"

#include "platform/ini_file.h"
#include "platform/window_geometry.h"
#include "platform/text.h"

#include <cmath>

namespace tavimo {

SizeLimits WindowSizeLimits(HWND window) {
    const UINT dpi = WindowDpi(window);
    return SizeLimits{
        PixelsToTwips(::GetSystemMetricsForDpi(SM_CXMINTRACK, dpi), dpi),
        PixelsToTwips(::GetSystemMetricsForDpi(SM_CYMINTRACK, dpi), dpi),
        PixelsToTwips(::GetSystemMetrics(SM_CXVIRTUALSCREEN), dpi),
        PixelsToTwips(::GetSystemMetrics(SM_CYVIRTUALSCREEN), dpi),
    };
}

int PixelsToTwips(int pixels, UINT dpi) {
    return static_cast<int>(std::lround(static_cast<double>(pixels) * 1440.0 / (dpi ? dpi : 96)));
}

int TwipsToPixels(int twips, UINT dpi) {
    return static_cast<int>(std::lround(static_cast<double>(twips) * (dpi ? dpi : 96) / 1440.0));
}

int ReadIniInt(const wchar_t* key, int defaultValue, const std::wstring& path) {
    return static_cast<int>(::GetPrivateProfileIntW(kIniSection, key, defaultValue, path.c_str()));
}

void WriteIniString(const wchar_t* key, const std::wstring& value, const std::wstring& path) {
    SetIniString(kIniSection, key, value, path);
}

bool ReadIniOption(const wchar_t* key, bool defaultValue, const std::wstring& path) {
    return ReadIniInt(key, defaultValue ? -1 : 0, path) != 0;
}

void WriteIniOption(const wchar_t* key, bool checked, const std::wstring& path) {
    WriteIniString(key, checked ? L"-1" : L"0", path);
}

StoredPlacement ReadWindowPos(const std::wstring& path, const SizeLimits& limits) {
    const int state = ReadIniInt(ini_keys::kWinState, kStateNormal, path);
    if (state == kStateMaximized) {
        StoredPlacement maximized;
        maximized.state = kStateMaximized;
        maximized.hasPosition = false;
        return maximized;
    }
    const int x = ReadIniInt(ini_keys::kX, 0, path);
    const int y = ReadIniInt(ini_keys::kY, 0, path);
    const int width = ReadIniInt(ini_keys::kW, kDefaultWidthTwips, path);
    const int height = ReadIniInt(ini_keys::kH, kDefaultHeightTwips, path);
    return CleanPlacement(state, x, y, width, height, limits);
}

StoredPlacement LoadWindowPos(HWND window, const std::wstring& path) {
    const StoredPlacement placement = ReadWindowPos(path, WindowSizeLimits(window));
    const UINT dpi = WindowDpi(window);
    if (placement.state == kStateMaximized) {
        // Maximised on the primary screen: its normal size is the default, centred there.
        const int width = TwipsToPixels(placement.width, dpi);
        const int height = TwipsToPixels(placement.height, dpi);
        const int left = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
        const int top = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
        ::SetWindowPos(window, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        return placement;
    }
    ::SetWindowPos(window, nullptr, TwipsToPixels(placement.x, dpi), TwipsToPixels(placement.y, dpi),
                   TwipsToPixels(placement.width, dpi), TwipsToPixels(placement.height, dpi),
                   SWP_NOZORDER | SWP_NOACTIVATE);
    return placement;
}

namespace {
struct TwipsBox {
    int x, y, width, height;
};

void WritePlacement(int state, const TwipsBox* box, const std::wstring& path) {
    WriteIniString(ini_keys::kWinState, DecimalText(state), path);
    if (!box) {
        return;
    }
    WriteIniString(ini_keys::kX, DecimalText(box->x), path);
    WriteIniString(ini_keys::kY, DecimalText(box->y), path);
    WriteIniString(ini_keys::kH, DecimalText(box->height), path);
    WriteIniString(ini_keys::kW, DecimalText(box->width), path);
}
} // namespace

void SaveWindowPos(HWND window, const std::wstring& path) {
    const int state = ::IsIconic(window)   ? kStateMinimized
                      : ::IsZoomed(window) ? kStateMaximized
                                           : kStateNormal;
    if (state != kStateNormal) {
        WritePlacement(state, nullptr, path);
        return;
    }
    const UINT dpi = WindowDpi(window);
    const RECT r = ScreenRect(window);
    const TwipsBox box{PixelsToTwips(r.left, dpi), PixelsToTwips(r.top, dpi),
                       PixelsToTwips(r.right - r.left, dpi), PixelsToTwips(r.bottom - r.top, dpi)};
    WritePlacement(state, &box, path);
}

void SaveStoredPlacement(const StoredPlacement& placement, const std::wstring& path) {
    if (placement.state != kStateNormal || !placement.hasPosition) {
        WritePlacement(placement.state, nullptr, path);
        return;
    }
    const TwipsBox box{placement.x, placement.y, placement.width, placement.height};
    WritePlacement(placement.state, &box, path);
}

} // namespace tavimo
