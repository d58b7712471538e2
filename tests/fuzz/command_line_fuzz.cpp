// The command line as the process gets it: the program's name cut off, the tail split at " /", the
// switch looked up, and the capture folder and the CD drive taken from element 1.
// Input: one byte (bit 0: whether the folder test answers "exists"), then the line in 16-bit units.

#include "app/command_line.h"
#include "devices/cd_device.h"

#include "fuzz_support.h"

#include <algorithm>

using namespace tavimo;
using fuzz::Check;

namespace {

// The system's lower-casing stays on the Windows side; the table's keys are ASCII, so folding ASCII
// is enough to reach every entry.
std::wstring AsciiLower(std::wstring text) {
    for (wchar_t& c : text) {
        if (c >= L'A' && c <= L'Z') {
            c = static_cast<wchar_t>(c - L'A' + L'a');
        }
    }
    return text;
}

void CheckSplit(const std::wstring& tail, const std::vector<std::wstring>& parts) {
    Check(!parts.empty(), "even an empty tail is one element");
    std::wstring joined;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        Check(parts[i].find(L" /") == std::wstring::npos, "no element holds the separator");
        if (i > 0) {
            joined += L" /";
        }
        joined += parts[i];
    }
    Check(joined == tail, "the elements and separators give back the tail");
}

void CheckSwitch(const std::vector<std::wstring>& parts) {
    const std::wstring key = AsciiLower(parts.front());
    const auto found = FindSwitch(key);
    const auto* entry = std::find_if(std::begin(kSwitchTable), std::end(kSwitchTable),
                                     [&](const SwitchEntry& e) { return e.key == key; });
    Check(found.has_value() == (entry != std::end(kSwitchTable)), "a switch is found exactly for a key");
    Check(!found || *found == entry->id, "the switch found is the key's own");
}

void CheckArgument(const std::vector<std::wstring>& parts, bool folderExists) {
    const std::wstring exe = L"C:\\Tavimo";
    const std::wstring folder = CaptureFolder(parts, exe, [&](const std::wstring&) { return folderExists; });
    if (parts.size() < 2) {
        Check(folder.empty(), "no element 1, no folder");
    } else if (const std::wstring& quoted = parts[1]; quoted.size() > 2 && folderExists) {
        Check(folder == quoted.substr(1, quoted.size() - 2),
              "an existing folder loses one character each end");
    } else {
        Check(folder == exe, "anything else is the executable's folder");
    }

    const std::wstring drive = CdOpenDrive(parts);
    const bool named = parts.size() >= 2 && !parts[1].empty() && parts[1] != L"Default";
    Check(drive == (named ? parts[1] : std::wstring(kDefaultCdDevice)),
          "the drive is element 1 or the default");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Reader in(data, size);
    const bool folderExists = (in.Byte() & 1) != 0;
    const std::wstring line = in.WideRest();

    const std::wstring tail = CommandTail(line);
    Check(std::wstring_view(line).ends_with(tail), "the tail is the end of the line");
    Check(tail.empty() || (tail.front() != L' ' && tail.front() != L'\t'), "no separating blank stays");

    const std::vector<std::wstring> parts = SplitArguments(tail);
    CheckSplit(tail, parts);
    CheckSwitch(parts);
    CheckArgument(parts, folderExists);
    return 0;
}
