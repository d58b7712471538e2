#pragma once
// Process-wide facts every part of the program may ask for.

#include <windows.h>

#include <string>

namespace tavimo {

inline constexpr wchar_t kAppTitle[] = L"Tavimo";
inline constexpr wchar_t kAuthorText[] = L"作者 Orvane";

// The running executable's full path, and its folder without a trailing backslash.
std::wstring ExePath();
std::wstring ExeFolder();

// The settings file beside the executable; fixed once at start by Main.
void SetSettingsPath(std::wstring path);
const std::wstring& SettingsPath();

// Asked afresh at each call (the 148-byte ANSI version record).
bool IsVistaOrLater();
bool IsWindowsNT();

// "Tavimo Ver3.0.1<TAB>作者 Orvane", the numbers read from the executable's version resource.
std::wstring VersionMessageText();
void ShowVersionMessage(HWND owner);

} // namespace tavimo
