#pragma once
// The program's own file and folder, and joining a folder with a name.

#include <string>

namespace tavimo {

// The running executable's full path, and its folder without a trailing backslash.
std::wstring ExePath();
std::wstring ExeFolder();

// The folder and the name joined by exactly one backslash: none is added when the folder already
// ends with one.
std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);

} // namespace tavimo
