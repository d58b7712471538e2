#include "app/app_info.h"

#include "app/ask.h"

#include <memory>
#include <vector>

namespace tavimo {

namespace {
std::wstring& SettingsPathStorage() {
    static std::wstring path;
    return path;
}

bool GetVersionA(OSVERSIONINFOA& info) {
    info = {};
    info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
#if defined(_MSC_VER)
#pragma warning(suppress : 4996)
#endif
    return ::GetVersionExA(&info) != FALSE;
}
} // namespace

std::wstring ExePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) {
            return {};
        }
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2); // cut off: try a larger buffer
    }
}

std::wstring ExeFolder() {
    const std::wstring path = ExePath();
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

void SetSettingsPath(std::wstring path) { SettingsPathStorage() = std::move(path); }
const std::wstring& SettingsPath() { return SettingsPathStorage(); }

bool IsVistaOrLater() {
    OSVERSIONINFOA info;
    return GetVersionA(info) && info.dwMajorVersion > 5;
}

bool IsWindowsNT() {
    OSVERSIONINFOA info;
    return GetVersionA(info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

std::wstring VersionMessageText() {
    unsigned major = 0, minor = 0, revision = 0;
    const std::wstring exe = ExePath();
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(exe.c_str(), &ignored);
    if (size != 0) {
        std::vector<BYTE> block(size);
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT fixedSize = 0;
        if (::GetFileVersionInfoW(exe.c_str(), 0, size, block.data()) &&
            ::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize) && fixed &&
            fixedSize >= sizeof(VS_FIXEDFILEINFO)) {
            major = HIWORD(fixed->dwFileVersionMS);
            minor = LOWORD(fixed->dwFileVersionMS);
            revision = HIWORD(fixed->dwFileVersionLS);
        }
    }
    return std::wstring(kAppTitle) + L" Ver" + std::to_wstring(major) + L"." + std::to_wstring(minor) + L"." +
           std::to_wstring(revision) + L"\t" + kAuthorText;
}

void ShowVersionMessage(HWND owner) { Ask(owner, VersionMessageText().c_str(), kAppTitle, MB_OK); }

} // namespace tavimo
