#pragma once
// What the real library reads from the system: the present disks, each with its drive letters, the
// devnode to eject, and the texts and icon the list shows for it.

#include "device_match.h"

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace tavimo::nusb {

struct ScannedDevice {
    NodeId device = 0;
    bool removable = false;
    std::string letter; // ANSI, no colon; empty when there is no volume
    std::string description;
    std::string friendlyName;
    int imageIndex = 0;
};

std::vector<ScannedDevice> ScanDevices();

// The small device-class icons, created on first use and kept until the process ends.
HIMAGELIST DeviceImageList();

} // namespace tavimo::nusb
