#include "app/command_line.h"

#include "devices/cd_device.h"

namespace tavimo {

const SwitchEntry kSwitchTable[20] = {
    {L"/allclose", Switch::AllClose},
    {L"/allclosef", Switch::AllCloseForced},
    {L"/jpega", Switch::JpegActive},
    {L"/jpeg", Switch::Jpeg},
    {L"/bmpa", Switch::BmpActive},
    {L"/bmp", Switch::Bmp},
    {L"/cdopen", Switch::CdOpen},
    {L"/desklist", Switch::DeskList},
    {L"/recycle", Switch::Recycle},
    {L"/cashe", Switch::Cache},
    {L"/cookie", Switch::Cookie},
    {L"/history", Switch::History},
    {L"/time", Switch::Time},
    {L"/condlg", Switch::ConnectDialog},
    {L"/discondlg", Switch::DisconnectDialog},
    {L"/version", Switch::Version},
    {L"/mute", Switch::Mute},
    {L"/h", Switch::SafelyRemove},
    {L"/hotplug", Switch::HotPlug},
    {L"/recent", Switch::Recent},
};

std::wstring CommandTail(std::wstring_view line) {
    size_t i = 0;
    // The program name follows the runtime's rule: quoted up to the next quote, else up to a blank.
    if (i < line.size() && line[i] == L'"') {
        ++i;
        while (i < line.size() && line[i] != L'"') {
            ++i;
        }
        if (i < line.size()) {
            ++i;
        }
    } else {
        while (i < line.size() && line[i] != L' ' && line[i] != L'\t') {
            ++i;
        }
    }
    while (i < line.size() && (line[i] == L' ' || line[i] == L'\t')) {
        ++i;
    }
    return std::wstring(line.substr(i));
}

std::vector<std::wstring> SplitArguments(std::wstring_view tail) {
    std::vector<std::wstring> parts;
    constexpr std::wstring_view separator = L" /";
    size_t start = 0;
    for (;;) {
        const size_t at = tail.find(separator, start);
        if (at == std::wstring_view::npos) {
            parts.emplace_back(tail.substr(start));
            return parts;
        }
        parts.emplace_back(tail.substr(start, at - start));
        start = at + separator.size();
    }
}

std::optional<Switch> FindSwitch(std::wstring_view key) {
    for (const auto& entry : kSwitchTable) {
        if (entry.key == key) {
            return entry.id;
        }
    }
    return std::nullopt;
}

std::wstring CaptureFolder(const std::vector<std::wstring>& arguments, const std::wstring& exeFolder,
                           const std::function<bool(const std::wstring&)>& isDirectory) {
    if (arguments.size() < 2) {
        return {};
    }
    const std::wstring& quoted = arguments[1];
    // One character off each end, whatever it is; too short leaves nothing to test.
    std::wstring folder = quoted.size() >= 2 ? quoted.substr(1, quoted.size() - 2) : std::wstring();
    if (folder.empty() || !isDirectory(folder)) {
        return exeFolder;
    }
    return folder;
}

std::wstring CdOpenDrive(const std::vector<std::wstring>& arguments) {
    if (arguments.size() < 2 || arguments[1].empty() || arguments[1] == L"Default") {
        return kDefaultCdDevice;
    }
    return arguments[1];
}

} // namespace tavimo
