#include "platform/os_version.h"

#include <windows.h>

namespace tavimo {

namespace {

bool GetVersionA(OSVERSIONINFOA& info) {
    info = {};
    info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
#if defined(_MSC_VER)
#pragma warning(suppress : 4996)
#endif
    return ::GetVersionExA(&info) != FALSE;
}

} // namespace

bool IsVistaOrLater() {
    OSVERSIONINFOA info;
    return GetVersionA(info) && info.dwMajorVersion > 5;
}

bool IsWindowsNT() {
    OSVERSIONINFOA info;
    return GetVersionA(info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

} // namespace tavimo
