// The device library's answers, both ends of the contract: Tavimo reading counts, flags and 256-byte
// buffers that may lack their NUL; the library writing texts into a caller's buffer; and the library
// matching letters, volumes and disks into devices.
// Input: one byte choosing the mode (its value modulo 4), then that mode's values (see each mode).

#include "devices/library_answers.h"
#include "device_match.h"

#include "fuzz_support.h"

#include <algorithm>
#include <cstring>
#include <vector>

using namespace tavimo;
using namespace tavimo::nusb;
using fuzz::Check;

namespace {

bool ShiftJisLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Each byte as the character of the same number: a stand-in for the code-page conversion, which is
// the system's.
std::wstring Widened(std::string_view bytes) {
    std::wstring wide;
    for (const char byte : bytes) {
        wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(byte)));
    }
    return wide;
}

// A buffer as a careless library leaves it: `written` at the front, the rest of its exactly `size`
// bytes all `fill`, with no NUL anywhere unless the input put one there.
std::string_view ReadBuffer(fuzz::Reader& in, std::vector<char>& buffer) {
    const std::size_t size = std::size_t{1} + in.Byte(); // 1 to 256: the callers pass 256
    const char fill = static_cast<char>(in.Byte());
    const std::string written = in.Bytes();
    buffer.assign(size, fill);
    std::copy_n(written.begin(), std::min(written.size(), size), buffer.begin());

    const std::string_view text = LibraryText(buffer.data(), buffer.size());
    Check(text.data() == buffer.data() && text.size() < size,
          "the text lies inside the buffer, last byte spared");
    Check(text.find('\0') == std::string_view::npos, "the text stops at the first NUL");
    Check(text.size() == size - 1 || buffer[text.size()] == '\0', "only a NUL or the last byte ends it");
    return text;
}

// Mode 0: count (int), then per device while input lasts: removable answer (int), a high word to
// ignore (int), and the letter, description and friendly-name buffers (size byte, fill byte, bytes).
void ReadAnswers(fuzz::Reader& in) {
    const int reported = in.Int();
    const int asked = DeviceNumbersToAsk(reported);
    Check(asked >= 0 && asked <= 32768, "the 16-bit device numbers are never outrun");
    Check(asked == reported || reported < 0 || reported > 32768, "a count in range is taken as it is");

    std::vector<char> buffers[3];
    for (int number = 0; number < asked && !in.AtEnd(); ++number) {
        const int answer = in.Int();
        const int highWord = in.Int() & ~0xFFFF;
        Check(IsRemovableAnswer(answer) == IsRemovableAnswer(answer ^ highWord), "only the low word counts");

        const std::wstring letter = Widened(ReadBuffer(in, buffers[0]));
        const std::wstring description = Widened(ReadBuffer(in, buffers[1]));
        const std::wstring friendlyName = Widened(ReadBuffer(in, buffers[2]));
        const std::wstring row = DeviceRowText(TrimNull(friendlyName), TrimNull(description), letter);
        const std::wstring& name = friendlyName.empty() ? description : friendlyName;
        Check(row == name + L" (" + letter + L":)", "the row is the name and the letter");
    }
}

// Mode 1: the text (length byte, bytes), then the buffer length (byte, minus 2: -2 to 253).
void WriteToCaller(fuzz::Reader& in) {
    const std::string text = in.Bytes();
    const int length = static_cast<int>(in.Byte()) - 2;
    if (length <= 0) {
        char guard = '#';
        Check(CopyToCallerBuffer(text, &guard, length, ShiftJisLeadByte) == 0 && guard == '#',
              "no length, nothing written");
        return;
    }
    std::vector<char> buffer(static_cast<std::size_t>(length), '#');
    const int written = CopyToCallerBuffer(text, buffer.data(), length, ShiftJisLeadByte);
    Check(written >= 0 && written < length, "room is kept for the terminator");
    const auto count = static_cast<std::size_t>(written);
    Check(buffer[count] == '\0' && std::memcmp(buffer.data(), text.data(), count) == 0,
          "a terminated prefix of the text");

    const auto characterAt = [&](std::size_t at) -> std::size_t {
        return ShiftJisLeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? 2 : 1;
    };
    std::size_t at = 0;
    while (at < count) {
        at += characterAt(at);
    }
    Check(at == count, "a double-byte character is never split");
    Check(count == text.size() || count + characterAt(count) > buffer.size() - 1, "as much as fits");

    // What the reader then gets back.
    const std::string_view read = LibraryText(buffer.data(), buffer.size());
    const std::string_view copied(text.data(), count);
    Check(read == copied.substr(0, std::min(copied.find('\0'), count)), "the reader sees what was copied");
}

DiskRecord ReadDisk(fuzz::Reader& in) {
    const std::uint8_t bits = in.Byte();
    DiskRecord disk;
    if ((bits & 8) == 0) {
        disk.number = bits & 7u;
    }
    disk.device = 100u + ((bits >> 4) & 3u);
    disk.removable = (bits & 0x40) != 0;
    return disk;
}

// Three volumes, named in any ASCII case, with or without the trailing backslash.
std::wstring VolumeName(std::uint8_t bits) {
    std::wstring name = (bits & 4) ? L"\\\\?\\VOLUME{" : L"\\\\?\\Volume{";
    name += static_cast<wchar_t>(((bits & 8) ? L'A' : L'a') + bits % 3);
    name += (bits & 16) ? L"}\\" : L"}";
    return name;
}

// Mode 2: up to five disks (count byte, a byte each), volumes (count byte, then per volume a name
// byte, a count byte and disk-number bytes) and mounts (count byte, then letter and name bytes).
void MatchParts(fuzz::Reader& in) {
    std::vector<DiskRecord> disks(in.Byte() % 6u);
    std::generate(disks.begin(), disks.end(), [&] { return ReadDisk(in); });
    std::vector<VolumeRecord> volumes(in.Byte() % 6u);
    for (VolumeRecord& volume : volumes) {
        volume.name = VolumeName(in.Byte());
        volume.diskNumbers.resize(in.Byte() % 3u);
        for (std::uint32_t& number : volume.diskNumbers) {
            number = in.Byte() % 9u;
        }
    }
    std::vector<MountRecord> mounts(in.Byte() % 6u);
    for (MountRecord& mount : mounts) {
        const std::uint8_t letter = in.Byte();
        mount.letter = static_cast<wchar_t>(((letter & 1) ? L'a' : L'A') + (letter / 2) % 26);
        mount.volumeName = VolumeName(in.Byte());
    }

    const std::vector<DeviceEntry> entries = MatchDevices(disks, volumes, mounts);
    const auto isDisk = [&](NodeId device) {
        return std::any_of(disks.begin(), disks.end(),
                           [&](const DiskRecord& d) { return d.device == device; });
    };
    const auto lettered = std::partition_point(entries.begin(), entries.end(),
                                               [](const DeviceEntry& e) { return e.letter != 0; });
    Check(std::all_of(lettered, entries.end(), [](const DeviceEntry& e) { return e.letter == 0; }),
          "lettered rows come first");
    Check(std::is_sorted(entries.begin(), lettered,
                         [](const DeviceEntry& a, const DeviceEntry& b) { return a.letter < b.letter; }),
          "in letter order");
    Check(static_cast<std::size_t>(lettered - entries.begin()) <= mounts.size(), "at most a row per letter");
    for (auto e = entries.begin(); e != entries.end(); ++e) {
        Check(isDisk(e->device), "every row is a known disk's device");
        Check(e->letter == 0 || (e->letter >= L'A' && e->letter <= L'Z'), "letters come upper-case");
        const auto same = [&](const DeviceEntry& o) { return o.device == e->device; };
        Check(e < lettered || std::none_of(entries.begin(), e, same), "a letterless device comes once");
    }
    for (const DiskRecord& disk : disks) {
        Check(std::any_of(entries.begin(), entries.end(),
                          [&](const DeviceEntry& e) { return e.device == disk.device; }),
              "no disk's device is lost");
    }
}

// Mode 3: eight nodes (a byte each: bit 3 none, else the parent in bits 0-2; bit 4 removable), then
// the start node, then two device texts in 16-bit units (length byte, units).
void WalkAndTexts(fuzz::Reader& in) {
    std::uint8_t nodes[8];
    for (std::uint8_t& node : nodes) {
        node = in.Byte();
    }
    const NodeId start = in.Byte() % 8u;
    const auto parentOf = [&](NodeId id) -> std::optional<NodeId> {
        return (nodes[id] & 8) ? std::nullopt : std::optional<NodeId>(nodes[id] & 7u);
    };
    const auto removable = [&](NodeId id) { return (nodes[id] & 16) != 0; };
    const std::optional<NodeId> found = NearestRemovable(start, parentOf, removable);
    // Eight steps up reach every node the chain can hold, loops included.
    std::optional<NodeId> first;
    std::optional<NodeId> node = start;
    for (int step = 0; step < 8 && node && !first; ++step, node = parentOf(*node)) {
        if (removable(*node)) {
            first = node;
        }
    }
    Check(found == first, "the nearest removable node up the chain, or none");

    std::wstring texts[2];
    for (std::wstring& text : texts) {
        text = in.Wide(in.Byte());
    }
    const std::wstring& text = texts[0];
    const std::wstring_view readable = ReadableDeviceText(text);
    Check(std::wstring_view(text).ends_with(readable), "the readable text is the end of the text");
    const bool indirect = !text.empty() && text.front() == L'@' && text.find(L';') != std::wstring::npos;
    Check(readable.size() == (indirect ? text.size() - text.find(L';') - 1 : text.size()),
          "only an indirect text loses its head, up to the first ';'");
    Check(SameVolumeName(texts[0], texts[1]) == SameVolumeName(texts[1], texts[0]),
          "name comparison is symmetric");
    Check(SameVolumeName(texts[1], texts[1]), "a name is its own");
    if (texts[1].empty() || texts[1].back() != L'\\') {
        Check(SameVolumeName(texts[1], texts[1] + L"\\"), "a trailing backslash makes no difference");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Reader in(data, size);
    switch (in.Byte() % 4) {
    case 0:
        ReadAnswers(in);
        break;
    case 1:
        WriteToCaller(in);
        break;
    case 2:
        MatchParts(in);
        break;
    default:
        WalkAndTexts(in);
        break;
    }
    return 0;
}
