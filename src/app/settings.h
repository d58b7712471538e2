#pragma once
// setting.ini beside the executable: window placement and options, section "Tavimo".
// Every access is one call of the system's profile functions on the file; nothing is cached.

#include "app/placement.h"
#include "platform/app_title.h"

#include <windows.h>

#include <string>

namespace tavimo {

// The section is named after the program, as the screen-saver chore also finds it.
inline constexpr const wchar_t* kIniSection = kAppTitle;

namespace ini_keys {
inline constexpr wchar_t kWinState[] = L"WinState";
inline constexpr wchar_t kX[] = L"X";
inline constexpr wchar_t kY[] = L"Y";
inline constexpr wchar_t kW[] = L"W";
inline constexpr wchar_t kH[] = L"H";
inline constexpr wchar_t kEject[] = L"Eject";
inline constexpr wchar_t kAutoC[] = L"AutoC";
inline constexpr wchar_t kCenter[] = L"Center";
inline constexpr wchar_t kTop[] = L"Top";
inline constexpr wchar_t kActivate[] = L"Activate";
} // namespace ini_keys

int ReadIniInt(const wchar_t* key, int defaultValue, const std::wstring& path);
void WriteIniString(const wchar_t* key, const std::wstring& value, const std::wstring& path);
// Options are stored as "-1" (checked) and "0"; any non-zero number reads as checked.
bool ReadIniOption(const wchar_t* key, bool defaultValue, const std::wstring& path);
void WriteIniOption(const wchar_t* key, bool checked, const std::wstring& path);

// The sizes `window` can take at its DPI (the system's for no window).
SizeLimits WindowSizeLimits(HWND window);

// The placement keys through CleanPlacement; a maximised state reads no position keys.
StoredPlacement ReadWindowPos(const std::wstring& path, const SizeLimits& limits);

// Apply and store the placement of a top-level window. Load applies the stored placement and returns
// it as read (its state says how the window is to be shown, normal or maximised); it does not show the
// window.
StoredPlacement LoadWindowPos(HWND window, const std::wstring& path);
void SaveWindowPos(HWND window, const std::wstring& path);
// Stores a placement as it was read: the state, and the position and size only for a normal one.
void SaveStoredPlacement(const StoredPlacement& placement, const std::wstring& path);

// Twips and pixels at a given DPI (15 twips per pixel at 96 DPI).
int PixelsToTwips(int pixels, UINT dpi);
int TwipsToPixels(int twips, UINT dpi);

} // namespace tavimo
