#pragma once
// One key's text in one section of a profile (INI) file, each call a separate access to the file. The
// file is kept in the system's ANSI code page, as the profile functions write a new one.

#include <string>

namespace tavimo {

// The key's text (at most 1023 characters), empty when the key, the section or the file is absent.
std::wstring GetIniString(const wchar_t* section, const wchar_t* key, const std::wstring& path);

// True when the system reports the key written; the file is created when missing, its folder is not.
// Characters the ANSI code page lacks are stored as what the system maps them to: read the key back
// to know what the file really holds.
bool SetIniString(const wchar_t* section, const wchar_t* key, const std::wstring& value,
                  const std::wstring& path);

} // namespace tavimo
