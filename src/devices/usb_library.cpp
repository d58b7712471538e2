#include "devices/usb_library.h"

namespace tavimo {

namespace {

template <typename F> bool Resolve(HMODULE module, const char* name, F& function) {
    // GetProcAddress gives a generic pointer; the export's real signature is fixed by the library.
    function = reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
    return function != nullptr;
}

bool Load(UsbLibraryApi& api) {
    // Only the executable's folder and the system folder: never the current folder.
    const HMODULE module = ::LoadLibraryExW(
        L"nUsbDevice.dll", nullptr, LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module) {
        return false;
    }
    if (!ResolveUsbLibrary(module, api)) {
        ::FreeLibrary(module);
        return false;
    }
    // Kept loaded on purpose: its image list is on screen until the process ends.
    return true;
}

} // namespace

bool ResolveUsbLibrary(HMODULE module, UsbLibraryApi& api) {
    return Resolve(module, "NUsbGetDeviceData", api.GetDeviceData) &&
           Resolve(module, "NUsbGetImageListHandle", api.GetImageListHandle) &&
           Resolve(module, "NUsbCheckRemovableNo", api.CheckRemovableNo) &&
           Resolve(module, "NUsbGetDriveLetterA", api.GetDriveLetterA) &&
           Resolve(module, "NUsbGetDescriptionA", api.GetDescriptionA) &&
           Resolve(module, "NUsbGetFriendlyNameA", api.GetFriendlyNameA) &&
           Resolve(module, "NUsbGetDeviceHandle", api.GetDeviceHandle) &&
           Resolve(module, "NUsbGetImageListIndex", api.GetImageListIndex) &&
           Resolve(module, "NUsbReleaseDeviceData", api.ReleaseDeviceData);
}

const UsbLibraryApi* UsbLibrary() {
    static UsbLibraryApi api{};
    static const bool loaded = Load(api);
    return loaded ? &api : nullptr;
}

} // namespace tavimo
