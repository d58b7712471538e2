#pragma once
// The device library nUsbDevice.dll, loaded by name at the first use and kept for the process's life
// (the list shows the library's own image list, which must outlive every refresh).

#include <windows.h>
#include <commctrl.h>

namespace tavimo {

struct UsbLibraryApi {
    int(WINAPI* GetDeviceData)(int reserved);
    HIMAGELIST(WINAPI* GetImageListHandle)();
    int(WINAPI* CheckRemovableNo)(int number);
    int(WINAPI* GetDriveLetterA)(int number, char* buffer, int length);
    int(WINAPI* GetDescriptionA)(int number, char* buffer, int length);
    int(WINAPI* GetFriendlyNameA)(int number, char* buffer, int length);
    int(WINAPI* GetDeviceHandle)(int number);
    int(WINAPI* GetImageListIndex)(int number);
    void(WINAPI* ReleaseDeviceData)();
};

// The nine calls of a loaded library; false (and `api` incomplete) when any of them is missing.
bool ResolveUsbLibrary(HMODULE module, UsbLibraryApi& api);

// The library's nine calls, or null when the file is missing or lacks any of them. Loading is tried
// once; the answer holds for the rest of the process.
const UsbLibraryApi* UsbLibrary();

} // namespace tavimo
