#include "app/app_main.h"

#include <windows.h>

namespace {

// Before anything is loaded late: DLLs that load on first use, and the ones those load by name, come
// from the system folder only, never from the exe's folder (a download or a USB stick) or the current
// one. nUsbDevice.dll is loaded from the exe's folder by an explicit flag. Stop on heap corruption
// rather than run on.
void HardenProcess() {
    ::HeapSetInformation(nullptr, HeapEnableTerminationOnCorruption, nullptr, 0);
    ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    ::SetDllDirectoryW(L"");
    // No "insert a disk" boxes when an empty CD drive is probed.
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    HardenProcess();
    try {
        return tavimo::Main();
    } catch (...) {
        // Whatever threw has put back what its scopes held; the run failed.
        return 1;
    }
}
