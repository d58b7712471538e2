#include "device_scan.h"

#include "ansi_text.h"
#include "platform/text.h"
#include "platform/unique_handle.h"

#include <windows.h>
#include <cfgmgr32.h>
#include <setupapi.h>
#include <winioctl.h>

#include <optional>

namespace tavimo::nusb {

namespace {

// Written out here rather than taken from a library, so no GUID-defining header or uuid library
// is needed on any toolchain.
constexpr GUID kDiskInterface = {
    0x53f56307, 0xb6bf, 0x11d0, {0x94, 0xf2, 0x00, 0xa0, 0xc9, 0x1e, 0xfb, 0x8b}};
constexpr GUID kVolumeInterface = {
    0x53f5630d, 0xb6bf, 0x11d0, {0x94, 0xf2, 0x00, 0xa0, 0xc9, 0x1e, 0xfb, 0x8b}};

void DestroyInfoListFn(HDEVINFO set) noexcept {
    ::SetupDiDestroyDeviceInfoList(set);
}
using unique_devinfo = unique_any<HDEVINFO, DestroyInfoListFn, invalid_handle_value>;

struct Interface {
    std::wstring path;
    DEVINST node = 0;
};

std::vector<Interface> PresentInterfaces(const GUID& kind) {
    std::vector<Interface> found;
    const unique_devinfo set(
        ::SetupDiGetClassDevsW(&kind, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
    if (!set) {
        return found;
    }
    SP_DEVICE_INTERFACE_DATA item{};
    item.cbSize = sizeof(item);
    for (DWORD i = 0; ::SetupDiEnumDeviceInterfaces(set.get(), nullptr, &kind, i, &item); ++i) {
        DWORD size = 0;
        ::SetupDiGetDeviceInterfaceDetailW(set.get(), &item, nullptr, 0, &size, nullptr);
        if (size < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) {
            continue;
        }
        // The detail block is variable-sized; a DWORD-aligned buffer keeps its cbSize field aligned.
        std::vector<DWORD> storage((size + sizeof(DWORD) - 1) / sizeof(DWORD));
        auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(storage.data());
        detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
        SP_DEVINFO_DATA device{};
        device.cbSize = sizeof(device);
        if (::SetupDiGetDeviceInterfaceDetailW(set.get(), &item, detail, size, nullptr, &device)) {
            found.push_back({detail->DevicePath, device.DevInst});
        }
    }
    return found;
}

unique_file OpenForQuery(const std::wstring& path) {
    // No access rights asked: the two queries below need none, and this works without elevation.
    return unique_file(::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, 0, nullptr));
}

std::optional<STORAGE_DEVICE_NUMBER> StorageNumber(HANDLE device) {
    STORAGE_DEVICE_NUMBER number{};
    DWORD returned = 0;
    if (!::DeviceIoControl(device, IOCTL_STORAGE_GET_DEVICE_NUMBER, nullptr, 0, &number, sizeof(number),
                           &returned, nullptr)) {
        return std::nullopt;
    }
    return number;
}

std::vector<std::uint32_t> VolumeDiskNumbers(HANDLE volume) {
    std::vector<std::uint32_t> numbers;
    std::vector<unsigned char> buffer(sizeof(VOLUME_DISK_EXTENTS));
    DWORD returned = 0;
    bool ok = ::DeviceIoControl(volume, IOCTL_VOLUME_GET_VOLUME_DISK_EXTENTS, nullptr, 0, buffer.data(),
                                static_cast<DWORD>(buffer.size()), &returned, nullptr);
    if (!ok && ::GetLastError() == ERROR_MORE_DATA) {
        const DWORD count = reinterpret_cast<const VOLUME_DISK_EXTENTS*>(buffer.data())->NumberOfDiskExtents;
        buffer.resize(sizeof(VOLUME_DISK_EXTENTS) + count * sizeof(DISK_EXTENT));
        ok = ::DeviceIoControl(volume, IOCTL_VOLUME_GET_VOLUME_DISK_EXTENTS, nullptr, 0, buffer.data(),
                               static_cast<DWORD>(buffer.size()), &returned, nullptr);
    }
    if (ok) {
        const auto* extents = reinterpret_cast<const VOLUME_DISK_EXTENTS*>(buffer.data());
        for (DWORD i = 0; i < extents->NumberOfDiskExtents; ++i) {
            numbers.push_back(extents->Extents[i].DiskNumber);
        }
        return numbers;
    }
    // Some volumes (removable media on older systems) answer only the storage query.
    if (const auto number = StorageNumber(volume); number && number->DeviceType == FILE_DEVICE_DISK) {
        numbers.push_back(number->DeviceNumber);
    }
    return numbers;
}

std::wstring VolumeNameOf(const std::wstring& mountPoint) {
    wchar_t name[MAX_PATH] = {};
    if (!::GetVolumeNameForVolumeMountPointW(mountPoint.c_str(), name, MAX_PATH)) {
        return {};
    }
    return name;
}

bool HasRemovableCapability(NodeId node) {
    ULONG capabilities = 0;
    ULONG size = sizeof(capabilities);
    return ::CM_Get_DevNode_Registry_PropertyW(node, CM_DRP_CAPABILITIES, nullptr, &capabilities, &size, 0) ==
               CR_SUCCESS &&
           (capabilities & CM_DEVCAP_REMOVABLE) != 0;
}

std::optional<NodeId> ParentNode(NodeId node) {
    DEVINST parent = 0;
    if (::CM_Get_Parent(&parent, node, 0) != CR_SUCCESS) {
        return std::nullopt;
    }
    return parent;
}

DiskRecord ReadDisk(const Interface& disk) {
    DiskRecord record;
    if (const unique_file handle = OpenForQuery(disk.path)) {
        if (const auto number = StorageNumber(handle.get())) {
            record.number = number->DeviceNumber;
        }
    }
    if (const auto removable = NearestRemovable(disk.node, ParentNode, HasRemovableCapability)) {
        record.device = *removable;
        record.removable = true;
    } else {
        record.device = disk.node;
    }
    return record;
}

VolumeRecord ReadVolume(const Interface& volume) {
    VolumeRecord record;
    record.name = VolumeNameOf(volume.path + L"\\");
    if (const unique_file handle = OpenForQuery(volume.path)) {
        record.diskNumbers = VolumeDiskNumbers(handle.get());
    }
    return record;
}

std::vector<MountRecord> LetterMounts() {
    std::vector<MountRecord> mounts;
    const DWORD drives = ::GetLogicalDrives();
    for (wchar_t letter = L'A'; letter <= L'Z'; ++letter) {
        if (drives & (1u << (letter - L'A'))) {
            std::wstring name = VolumeNameOf(std::wstring{letter, L':', L'\\'});
            if (!name.empty()) {
                mounts.push_back({letter, std::move(name)});
            }
        }
    }
    return mounts;
}

std::wstring RegistryText(HDEVINFO set, SP_DEVINFO_DATA& device, DWORD property) {
    DWORD type = 0;
    DWORD size = 0;
    ::SetupDiGetDeviceRegistryPropertyW(set, &device, property, &type, nullptr, 0, &size);
    if (size < sizeof(wchar_t)) {
        return {};
    }
    std::wstring text(size / sizeof(wchar_t), L'\0');
    if (!::SetupDiGetDeviceRegistryPropertyW(set, &device, property, &type,
                                             reinterpret_cast<BYTE*>(text.data()), size, nullptr) ||
        type != REG_SZ) {
        return {};
    }
    text.resize(text.find(L'\0') == std::wstring::npos ? text.size() : text.find(L'\0'));
    return std::wstring(ReadableDeviceText(text));
}

SP_CLASSIMAGELIST_DATA* ClassImages() {
    static SP_CLASSIMAGELIST_DATA* const images = [] {
        // Never destroyed: the caller's list view shows these icons until the process ends.
        static SP_CLASSIMAGELIST_DATA data{};
        data.cbSize = sizeof(data);
        return ::SetupDiGetClassImageList(&data) ? &data : static_cast<SP_CLASSIMAGELIST_DATA*>(nullptr);
    }();
    return images;
}

void Describe(NodeId node, ScannedDevice& device) {
    wchar_t instanceId[MAX_DEVICE_ID_LEN] = {};
    if (::CM_Get_Device_IDW(node, instanceId, MAX_DEVICE_ID_LEN, 0) != CR_SUCCESS) {
        return;
    }
    const unique_devinfo set(::SetupDiCreateDeviceInfoList(nullptr, nullptr));
    if (!set) {
        return;
    }
    SP_DEVINFO_DATA info{};
    info.cbSize = sizeof(info);
    if (!::SetupDiOpenDeviceInfoW(set.get(), instanceId, nullptr, 0, &info)) {
        return;
    }
    device.description = WideToAnsi(RegistryText(set.get(), info, SPDRP_DEVICEDESC));
    device.friendlyName = WideToAnsi(RegistryText(set.get(), info, SPDRP_FRIENDLYNAME));
    if (SP_CLASSIMAGELIST_DATA* images = ClassImages()) {
        int index = 0;
        if (::SetupDiGetClassImageIndex(images, &info.ClassGuid, &index)) {
            device.imageIndex = index;
        }
    }
}

} // namespace

std::vector<ScannedDevice> ScanDevices() {
    std::vector<DiskRecord> disks;
    for (const Interface& disk : PresentInterfaces(kDiskInterface)) {
        disks.push_back(ReadDisk(disk));
    }
    if (disks.empty()) {
        return {};
    }
    std::vector<VolumeRecord> volumes;
    for (const Interface& volume : PresentInterfaces(kVolumeInterface)) {
        volumes.push_back(ReadVolume(volume));
    }

    std::vector<ScannedDevice> devices;
    for (const DeviceEntry& entry : MatchDevices(disks, volumes, LetterMounts())) {
        ScannedDevice device;
        device.device = entry.device;
        device.removable = entry.removable;
        if (entry.letter) {
            device.letter = WideToAnsi(std::wstring_view(&entry.letter, 1));
        }
        Describe(entry.device, device);
        devices.push_back(std::move(device));
    }
    return devices;
}

HIMAGELIST DeviceImageList() {
    static const HIMAGELIST list = [] {
        if (const SP_CLASSIMAGELIST_DATA* images = ClassImages()) {
            return images->ImageList;
        }
        // Without class icons the caller still gets a valid list: one generic icon at index 0.
        const HIMAGELIST own = ::ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 0);
        if (own) {
            const auto icon =
                static_cast<HICON>(::LoadImageW(nullptr, IDI_APPLICATION, IMAGE_ICON, 16, 16, LR_SHARED));
            ::ImageList_AddIcon(own, icon);
        }
        return own;
    }();
    return list;
}

} // namespace tavimo::nusb
