#include "device_match.h"

#include <algorithm>
#include <cstring>

namespace tavimo::nusb {

namespace {

wchar_t AsciiUpper(wchar_t c) {
    return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

std::wstring_view WithoutTrailingBackslash(std::wstring_view name) {
    if (!name.empty() && name.back() == L'\\') {
        name.remove_suffix(1);
    }
    return name;
}

} // namespace

bool SameVolumeName(std::wstring_view a, std::wstring_view b) {
    a = WithoutTrailingBackslash(a);
    b = WithoutTrailingBackslash(b);
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](wchar_t x, wchar_t y) { return AsciiUpper(x) == AsciiUpper(y); });
}

std::wstring_view ReadableDeviceText(std::wstring_view text) {
    if (!text.empty() && text.front() == L'@') {
        if (const auto separator = text.find(L';'); separator != std::wstring_view::npos) {
            return text.substr(separator + 1);
        }
    }
    return text;
}

std::vector<DeviceEntry> MatchDevices(const std::vector<DiskRecord>& disks,
                                      const std::vector<VolumeRecord>& volumes,
                                      const std::vector<MountRecord>& mounts) {
    const auto diskNumbered = [&](std::uint32_t number) -> const DiskRecord* {
        const auto it = std::find_if(disks.begin(), disks.end(),
                                     [&](const DiskRecord& disk) { return disk.number == number; });
        return it == disks.end() ? nullptr : &*it;
    };
    const auto volumeNamed = [&](std::wstring_view name) -> const VolumeRecord* {
        const auto it = std::find_if(volumes.begin(), volumes.end(), [&](const VolumeRecord& volume) {
            return SameVolumeName(volume.name, name);
        });
        return it == volumes.end() ? nullptr : &*it;
    };

    std::vector<MountRecord> byLetter = mounts;
    std::stable_sort(byLetter.begin(), byLetter.end(), [](const MountRecord& x, const MountRecord& y) {
        return AsciiUpper(x.letter) < AsciiUpper(y.letter);
    });

    std::vector<DeviceEntry> entries;
    for (const MountRecord& mount : byLetter) {
        const VolumeRecord* volume = volumeNamed(mount.volumeName);
        if (!volume) {
            continue; // a network share, a CD, a substituted folder: no disk of ours
        }
        for (std::uint32_t number : volume->diskNumbers) {
            if (const DiskRecord* disk = diskNumbered(number)) {
                entries.push_back({disk->device, disk->removable, AsciiUpper(mount.letter)});
                break;
            }
        }
    }

    for (const DiskRecord& disk : disks) {
        const bool listed = std::any_of(entries.begin(), entries.end(), [&](const DeviceEntry& entry) {
            return entry.device == disk.device;
        });
        if (!listed) {
            entries.push_back({disk.device, disk.removable, 0});
        }
    }
    return entries;
}

std::optional<NodeId> NearestRemovable(NodeId start, const ParentOf& parentOf,
                                       const IsRemovable& isRemovable) {
    std::vector<NodeId> seen;
    std::optional<NodeId> node = start;
    while (node && std::find(seen.begin(), seen.end(), *node) == seen.end()) {
        if (isRemovable(*node)) {
            return node;
        }
        seen.push_back(*node);
        node = parentOf(*node);
    }
    return std::nullopt;
}

int CopyToCallerBuffer(std::string_view text, char* buffer, int length, IsLeadByte isLeadByte) {
    if (!buffer || length <= 0) {
        return 0;
    }
    const std::size_t room = static_cast<std::size_t>(length) - 1;
    std::size_t fits = 0;
    while (fits < text.size()) {
        const bool pair =
            isLeadByte && isLeadByte(static_cast<unsigned char>(text[fits])) && fits + 1 < text.size();
        const std::size_t next = fits + (pair ? 2 : 1);
        if (next > room) {
            break;
        }
        fits = next;
    }
    std::memcpy(buffer, text.data(), fits);
    buffer[fits] = '\0';
    return static_cast<int>(fits);
}

} // namespace tavimo::nusb
