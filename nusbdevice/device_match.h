#pragma once
// The decisions behind the device list, as plain functions over plain records: which disk a drive
// letter lives on, which devnode to eject for a disk, and how text lands in a caller's buffer.
// No Win32 handles here, so made-up device trees can exercise every case.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavimo::nusb {

// A configuration-manager device instance (DEVINST).
using NodeId = std::uint32_t;

struct DiskRecord {
    std::optional<std::uint32_t> number; // storage device number; empty when the disk would not tell
    NodeId device = 0;                   // the devnode to eject for this disk
    bool removable = false;
};

struct VolumeRecord {
    std::wstring name;                      // "\\?\Volume{...}\"
    std::vector<std::uint32_t> diskNumbers; // the disks holding its extents, in extent order
};

struct MountRecord {
    wchar_t letter = 0;
    std::wstring volumeName; // what the letter's mount point resolves to
};

struct DeviceEntry {
    NodeId device = 0;
    bool removable = false;
    wchar_t letter = 0; // 0: no lettered volume

    bool operator==(const DeviceEntry&) const = default;
};

// One entry per drive letter that sits on a known disk, in letter order, then one entry for each
// device that has no letter at all. A device whose disks are all letterless (an empty card reader)
// appears once, however many disks it has.
std::vector<DeviceEntry> MatchDevices(const std::vector<DiskRecord>& disks,
                                      const std::vector<VolumeRecord>& volumes,
                                      const std::vector<MountRecord>& mounts);

// Volume names compare without regard to ASCII case or a trailing backslash.
bool SameVolumeName(std::wstring_view a, std::wstring_view b);

// Device texts can come back in their indirect form "@file.inf,%key%;Text"; readers want "Text".
std::wstring_view ReadableDeviceText(std::wstring_view text);

using ParentOf = std::function<std::optional<NodeId>(NodeId)>;
using IsRemovable = std::function<bool(NodeId)>;

// The first node, starting with `start` itself and going up through its parents, that is removable;
// empty when the walk reaches the root (or a loop) without finding one.
std::optional<NodeId> NearestRemovable(NodeId start, const ParentOf& parentOf,
                                       const IsRemovable& isRemovable);

using IsLeadByte = bool (*)(unsigned char);

// Copies as much of `text` as fits into `buffer` of `length` bytes and always terminates it.
// A double-byte character is never split: a lone lead byte would garble the reader's conversion.
// Null buffer or length <= 0 writes nothing. Returns the bytes written, without the terminator.
int CopyToCallerBuffer(std::string_view text, char* buffer, int length, IsLeadByte isLeadByte);

} // namespace tavimo::nusb
