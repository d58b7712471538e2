#pragma once
// Process-wide facts of the application: where its settings live and what version it is.

#include <windows.h>

#include "platform/app_title.h"

#include <string>

namespace tavimo {

inline constexpr wchar_t kAuthorText[] = L"作者 Orvane";

// The settings file and the read-me beside the executable; fixed once at start by Main.
void SetSettingsPath(std::wstring path);
const std::wstring& SettingsPath();
void SetReadMePath(std::wstring path);
const std::wstring& ReadMePath();

// "Tavimo Ver3.0.1<TAB>作者 Orvane", the numbers read from the executable's version resource.
std::wstring VersionMessageText();
void ShowVersionMessage(HWND owner);

} // namespace tavimo
