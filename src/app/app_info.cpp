#include "app/app_info.h"

#include "platform/ask.h"
#include "platform/paths.h"
#include "platform/text.h"

#include <memory>
#include <vector>

namespace tavimo {

namespace {
std::wstring& SettingsPathStorage() {
    static std::wstring path;
    return path;
}
std::wstring& ReadMePathStorage() {
    static std::wstring path;
    return path;
}
} // namespace

void SetSettingsPath(std::wstring path) {
    SettingsPathStorage() = std::move(path);
}
const std::wstring& SettingsPath() {
    return SettingsPathStorage();
}

void SetReadMePath(std::wstring path) {
    ReadMePathStorage() = std::move(path);
}
const std::wstring& ReadMePath() {
    return ReadMePathStorage();
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
    return std::wstring(kAppTitle) + L" Ver" + DecimalText(major) + L"." + DecimalText(minor) + L"." +
           DecimalText(revision) + L"\t" + kAuthorText;
}

void ShowVersionMessage(HWND owner) {
    Ask(owner, VersionMessageText().c_str(), kAppTitle, MB_OK);
}

} // namespace tavimo
