#include "app/app_main.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

namespace {

// We load nUsbDevice.dll by name: keep the current folder out of the DLL search, and stop on heap
// corruption rather than run on.
void HardenProcess() {
    ::HeapSetInformation(nullptr, HeapEnableTerminationOnCorruption, nullptr, 0);
    ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
    ::SetDllDirectoryW(L"");
    // No "insert a disk" boxes when an empty CD drive is probed.
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    HardenProcess();
    INITCOMMONCONTROLSEX controls{sizeof(controls),
                                  ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    int exitCode = 1;
    try {
        exitCode = tavimo::Main();
    } catch (...) {
        // Whatever threw has put back what its scopes held; the run failed.
    }
    if (SUCCEEDED(com)) {
        ::CoUninitialize();
    }
    return exitCode;
}
