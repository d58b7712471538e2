// The nine exports of the real library over one snapshot of the present devices.

#include "nusb_api.h"

#include "ansi_text.h"
#include "device_scan.h"

#include <string>
#include <vector>

namespace {

using tavimo::nusb::ScannedDevice;

// Callers use the library from their UI thread only, so the snapshot needs no lock.
std::vector<ScannedDevice> g_snapshot;

const ScannedDevice* DeviceAt(int number) {
    if (number < 0 || static_cast<std::size_t>(number) >= g_snapshot.size()) {
        return nullptr;
    }
    return &g_snapshot[static_cast<std::size_t>(number)];
}

// Nothing may be thrown across the boundary: a failure reads as "no such device".
template <typename R, typename F> R NoThrow(R fallback, F&& body) noexcept {
    try {
        return body();
    } catch (...) {
        return fallback;
    }
}

int WriteText(int number, std::string ScannedDevice::*field, char* buffer, int length) noexcept {
    if (buffer && length > 0) {
        buffer[0] = '\0';
    }
    return NoThrow(0, [&] {
        const ScannedDevice* device = DeviceAt(number);
        return device ? tavimo::nusb::CopyAnsiToCaller(device->*field, buffer, length) : 0;
    });
}

} // namespace

extern "C" {

int __stdcall NUsbGetDeviceData(int /*reserved*/) {
    g_snapshot.clear(); // a failed scan must not leave the previous devices answering
    return NoThrow(0, [] {
        g_snapshot = tavimo::nusb::ScanDevices();
        tavimo::nusb::DeviceImageList(); // so the icon indices refer to a list that already exists
        return static_cast<int>(g_snapshot.size());
    });
}

HIMAGELIST __stdcall NUsbGetImageListHandle() {
    return NoThrow(static_cast<HIMAGELIST>(nullptr), [] { return tavimo::nusb::DeviceImageList(); });
}

int __stdcall NUsbCheckRemovableNo(int number) {
    return NoThrow(0, [&] {
        const ScannedDevice* device = DeviceAt(number);
        return device && device->removable ? 1 : 0;
    });
}

int __stdcall NUsbGetDriveLetterA(int number, char* buffer, int length) {
    return WriteText(number, &ScannedDevice::letter, buffer, length);
}

int __stdcall NUsbGetDescriptionA(int number, char* buffer, int length) {
    return WriteText(number, &ScannedDevice::description, buffer, length);
}

int __stdcall NUsbGetFriendlyNameA(int number, char* buffer, int length) {
    return WriteText(number, &ScannedDevice::friendlyName, buffer, length);
}

int __stdcall NUsbGetDeviceHandle(int number) {
    return NoThrow(0, [&] {
        const ScannedDevice* device = DeviceAt(number);
        return device ? static_cast<int>(device->device) : 0;
    });
}

int __stdcall NUsbGetImageListIndex(int number) {
    return NoThrow(0, [&] {
        const ScannedDevice* device = DeviceAt(number);
        return device ? device->imageIndex : 0;
    });
}

void __stdcall NUsbReleaseDeviceData() {
    // Swapping with an empty vector allocates nothing and cannot throw.
    std::vector<ScannedDevice>().swap(g_snapshot);
}

} // extern "C"
