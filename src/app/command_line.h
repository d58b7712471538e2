#pragma once
// Command-line decisions as plain functions: what the process was asked to do, nothing done yet.
// Plain text in, plain values out; lower-casing the switch key is the system's job (SwitchKey).

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavimo {

enum class Switch {
    AllClose,
    AllCloseForced,
    JpegActive,
    Jpeg,
    BmpActive,
    Bmp,
    CdOpen,
    DeskList,
    Recycle,
    Cache,
    Cookie,
    History,
    Time,
    ConnectDialog,
    DisconnectDialog,
    Version,
    Mute,
    SafelyRemove,
    HotPlug,
    Recent,
};

struct SwitchEntry {
    std::wstring_view key;
    Switch id;
};

// The switch table in its fixed order; a key must equal the first column exactly.
extern const SwitchEntry kSwitchTable[20];

// The text after the program's own name, without the blanks that separate it; trailing blanks stay.
std::wstring CommandTail(std::wstring_view fullCommandLine);

// Split at every " /" (exact, no limit); element 0 keeps its own leading slash.
std::vector<std::wstring> SplitArguments(std::wstring_view commandTail);

// The entry whose key equals `switchKey` (already lower-cased) character for character.
std::optional<Switch> FindSwitch(std::wstring_view switchKey);

// Folder for the capture switches: element 1 without its first and last character when that is an
// existing folder, else the executable's folder; empty when there is no element 1.
std::wstring CaptureFolder(const std::vector<std::wstring>& arguments, const std::wstring& exeFolder,
                           const std::function<bool(const std::wstring&)>& isDirectory);

// Drive for "/cdopen": the default CD audio device unless element 1 names one.
std::wstring CdOpenDrive(const std::vector<std::wstring>& arguments);

} // namespace tavimo
