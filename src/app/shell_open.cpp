#include "app/shell_open.h"

#include <shellapi.h>

namespace tavimo {

bool ShellOpen(HWND owner, const std::wstring& file, const std::wstring& parameters,
               const std::wstring& directory) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    // 0x44C: invoke the id list, keep the process handle, no UI of the shell's own.
    info.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.hwnd = owner;
    info.lpVerb = L"Open";
    info.lpFile = file.c_str();
    info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
    info.lpDirectory = directory.empty() ? nullptr : directory.c_str();
    info.nShow = SW_SHOW;
    const BOOL ok = ::ShellExecuteExW(&info);
    if (info.hProcess) {
        ::CloseHandle(info.hProcess); // not used, but not leaked either
    }
    return ok && reinterpret_cast<INT_PTR>(info.hInstApp) > 32;
}

} // namespace tavimo
