#include "device_match.h"

#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <set>

namespace tavimo::nusb {

void PrintTo(const DeviceEntry& entry, std::ostream* out) {
    *out << "{device " << entry.device << (entry.removable ? " removable" : " fixed") << " letter "
         << (entry.letter ? static_cast<char>(entry.letter) : '-') << "}";
}

namespace {

// A made-up machine. Disk numbers are the storage numbers; device ids are the devnodes to eject.
const DiskRecord kSystemDisk{0, 100, false};
const DiskRecord kStick{1, 200, true};
const DiskRecord kTwoPartitionDisk{2, 300, true};
const DiskRecord kReaderSlotA{3, 400, true};
const DiskRecord kReaderSlotB{4, 400, true}; // the only slot holding a card
const DiskRecord kReaderSlotC{5, 400, true};
const DiskRecord kEmptyReaderSlotA{6, 500, true};
const DiskRecord kEmptyReaderSlotB{7, 500, true};
const DiskRecord kSilentDisk{std::nullopt, 600, false}; // would not give its storage number

struct MatchCase {
    const char* name;
    std::vector<DiskRecord> disks;
    std::vector<VolumeRecord> volumes;
    std::vector<MountRecord> mounts;
    std::vector<DeviceEntry> expected;
};

void PrintTo(const MatchCase& c, std::ostream* out) {
    *out << c.name;
}

class DeviceMatch_MatchDevices : public testing::TestWithParam<MatchCase> {};

TEST_P(DeviceMatch_MatchDevices, Behaviour) {
    const MatchCase& c = GetParam();
    EXPECT_EQ(MatchDevices(c.disks, c.volumes, c.mounts), c.expected) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DeviceMatch_MatchDevices,
    testing::Values(
        MatchCase{"rows come in letter order whatever order the mounts were found in",
                  {kSystemDisk, kStick},
                  {{L"\\\\?\\Volume{c}\\", {0}}, {L"\\\\?\\Volume{e}\\", {1}}},
                  {{L'E', L"\\\\?\\Volume{e}\\"}, {L'C', L"\\\\?\\Volume{c}\\"}},
                  {{100, false, L'C'}, {200, true, L'E'}}},
        MatchCase{"two partitions give a row per letter, both ejecting the same device",
                  {kTwoPartitionDisk},
                  {{L"\\\\?\\Volume{g}\\", {2}}, {L"\\\\?\\Volume{f}\\", {2}}},
                  {{L'F', L"\\\\?\\Volume{f}\\"}, {L'G', L"\\\\?\\Volume{g}\\"}},
                  {{300, true, L'F'}, {300, true, L'G'}}},
        MatchCase{"a card reader shows its card's letter and hides its empty slots",
                  {kReaderSlotA, kReaderSlotB, kReaderSlotC},
                  {{L"\\\\?\\Volume{h}\\", {4}}},
                  {{L'H', L"\\\\?\\Volume{h}\\"}},
                  {{400, true, L'H'}}},
        MatchCase{"devices without any letter come once each, after the lettered rows, in disk order",
                  {kEmptyReaderSlotA, kSilentDisk, kStick, kEmptyReaderSlotB},
                  {{L"\\\\?\\Volume{e}\\", {1}}},
                  {{L'E', L"\\\\?\\Volume{e}\\"}},
                  {{200, true, L'E'}, {500, true, 0}, {600, false, 0}}},
        MatchCase{"letters of volumes on no known disk (network, CD, unknown volume) are left out",
                  {kStick},
                  {{L"\\\\?\\Volume{cd}\\", {}}, {L"\\\\?\\Volume{e}\\", {1}}},
                  {{L'D', L"\\\\?\\Volume{cd}\\"}, {L'Z', L"\\\\?\\Volume{nowhere}\\"}},
                  {{200, true, 0}}},
        MatchCase{
            "volume names match regardless of ASCII case and trailing backslash; letters come upper-case",
            {kStick},
            {{L"\\\\?\\Volume{ABCD}\\", {1}}},
            {{L'e', L"\\\\?\\volume{abcd}"}},
            {{200, true, L'E'}}},
        MatchCase{"a volume spanning disks takes the first of its disks that is known",
                  {kSystemDisk, kTwoPartitionDisk},
                  {{L"\\\\?\\Volume{span}\\", {9, 2, 0}}},
                  {{L'S', L"\\\\?\\Volume{span}\\"}},
                  {{300, true, L'S'}, {100, false, 0}}},
        MatchCase{"no disks, no rows, even with letters present",
                  {},
                  {{L"\\\\?\\Volume{c}\\", {0}}},
                  {{L'C', L"\\\\?\\Volume{c}\\"}},
                  {}}));

// Device tree used by the walk: child -> parent.
//   1 root
//   +- 2 PCI bus
//      +- 3 USB host
//      |  +- 4 hub (removable)
//      |     +- 5 USB storage device (removable)
//      |     |  +- 6 disk
//      |     |  +- 7 disk that is itself removable
//      |     +- 12 disk straight on the hub
//      +- 8 SATA disk
//   10 <-> 11 a broken loop, neither removable
const std::map<NodeId, NodeId> kParents = {{2, 1}, {3, 2},  {4, 3}, {5, 4},   {6, 5},
                                           {7, 5}, {12, 4}, {8, 2}, {10, 11}, {11, 10}};
const std::set<NodeId> kRemovable = {4, 5, 7};

struct WalkCase {
    const char* name;
    NodeId start;
    std::optional<NodeId> expected;
};

void PrintTo(const WalkCase& c, std::ostream* out) {
    *out << c.name;
}

class DeviceMatch_NearestRemovable : public testing::TestWithParam<WalkCase> {};

TEST_P(DeviceMatch_NearestRemovable, Behaviour) {
    const WalkCase& c = GetParam();
    const ParentOf parentOf = [](NodeId node) -> std::optional<NodeId> {
        const auto it = kParents.find(node);
        return it == kParents.end() ? std::nullopt : std::optional<NodeId>(it->second);
    };
    const IsRemovable isRemovable = [](NodeId node) { return kRemovable.count(node) != 0; };
    EXPECT_EQ(NearestRemovable(c.start, parentOf, isRemovable), c.expected) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DeviceMatch_NearestRemovable,
    testing::Values(WalkCase{"the nearest removable ancestor wins over one further up", 6, 5},
                    WalkCase{"a removable disk is its own device", 7, 7},
                    WalkCase{"a disk straight on a removable hub ejects the hub", 12, 4},
                    WalkCase{"a fixed disk reaches the root with nothing found", 8, std::nullopt},
                    WalkCase{"a parent loop ends the walk", 10, std::nullopt},
                    WalkCase{"a node with no parent and not removable", 99, std::nullopt}));

struct TextCase {
    const wchar_t* raw;
    const wchar_t* readable;
};

TEST(DeviceMatch_ReadableDeviceText, IndirectFormGivesItsTextOthersUnchanged) {
    const TextCase cases[] = {
        {L"@usb.inf,%usb\\mass_storage.devicedesc%;USB 大容量記憶装置", L"USB 大容量記憶装置"},
        {L"@disk.inf,%disk_devdesc%;Disk; with semicolon", L"Disk; with semicolon"},
        {L"Generic; plain text", L"Generic; plain text"},
        {L"@no-separator", L"@no-separator"},
        {L"", L""},
    };
    for (const TextCase& c : cases) {
        EXPECT_EQ(ReadableDeviceText(c.raw), c.readable)
            << "raw: " << testing::PrintToString(std::wstring(c.raw));
    }
}

// Shift_JIS lead bytes, enough for the cases below.
bool FakeLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

struct CopyCase {
    const char* name;
    std::string text;
    int length;
    std::string expected;
};

TEST(DeviceMatch_CopyToCallerBuffer, TerminatesWithinLengthAndNeverSplitsACharacter) {
    const CopyCase cases[] = {
        {"fits", "E", 256, "E"},
        {"exactly fills length with the terminator", "abc", 4, "abc"},
        {"cut to length - 1", "abcdef", 4, "abc"},
        {"length 1 leaves only the terminator", "abc", 1, ""},
        {"a double-byte character that does not fit whole is dropped",
         "a\x82\xa0"
         "b",
         3, "a"},
        {"a double-byte character that fits whole is kept",
         "a\x82\xa0"
         "b",
         4, "a\x82\xa0"},
        {"a lead byte at the very end of the text is copied as is", "ab\x82", 10, "ab\x82"},
        {"empty text", "", 8, ""},
    };
    for (const CopyCase& c : cases) {
        std::string buffer(300, '#');
        const int written = CopyToCallerBuffer(c.text, buffer.data(), c.length, FakeLeadByte);
        EXPECT_EQ(std::string(buffer.c_str()), c.expected) << c.name;
        EXPECT_EQ(written, static_cast<int>(c.expected.size())) << c.name;
        EXPECT_EQ(buffer.find_first_not_of('#', static_cast<std::size_t>(c.length)), std::string::npos)
            << c.name << ": wrote past length";
    }
}

TEST(DeviceMatch_CopyToCallerBuffer, NullBufferOrNoLengthWritesNothing) {
    char buffer[4] = {'#', '#', '#', '#'};
    for (int length : {0, -1, -256}) {
        EXPECT_EQ(CopyToCallerBuffer("abc", buffer, length, FakeLeadByte), 0);
    }
    EXPECT_EQ(CopyToCallerBuffer("abc", nullptr, 256, FakeLeadByte), 0);
    EXPECT_EQ(std::string(buffer, 4), "####");
}

} // namespace
} // namespace tavimo::nusb
