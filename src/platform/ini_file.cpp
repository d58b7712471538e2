#include "platform/ini_file.h"

#include <windows.h>

namespace tavimo {

std::wstring GetIniString(const wchar_t* section, const wchar_t* key, const std::wstring& path) {
    wchar_t buffer[1024] = {};
    ::GetPrivateProfileStringW(section, key, L"", buffer, 1024, path.c_str());
    return buffer;
}

bool SetIniString(const wchar_t* section, const wchar_t* key, const std::wstring& value,
                  const std::wstring& path) {
    return ::WritePrivateProfileStringW(section, key, value.c_str(), path.c_str()) != FALSE;
}

} // namespace tavimo
