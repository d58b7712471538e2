#include "chores/screen_saver.h"

#include "platform/app_title.h"
#include "platform/ini_file.h"
#include "platform/process_start.h"
#include "platform/registry.h"

#include <variant>

namespace tavimo {

ScreenSaverSetting ReadScreenSaver() {
    const RegReadResult read =
        ReadRegValue(HKEY_CURRENT_USER, kScreenSaverKey, kScreenSaverValue, std::wstring());
    const auto* text = std::get_if<std::wstring>(&read);
    if (!text) {
        return {ScreenSaverState::Unreadable, {}};
    }
    if (!text->empty()) {
        return {ScreenSaverState::Chosen, *text};
    }
    // A value too long for the read comes back as the same "" as a missing one.
    const auto size = RegValueSize(HKEY_CURRENT_USER, kScreenSaverKey, kScreenSaverValue);
    return {size && *size > kRegReadBytes ? ScreenSaverState::Unreadable : ScreenSaverState::None, {}};
}

ScreenSaverToggle ToggleScreenSaver(bool switchOn, const std::wstring& settingsPath) {
    if (!switchOn) {
        const ScreenSaverSetting current = ReadScreenSaver();
        if (current.state != ScreenSaverState::Chosen) {
            return ScreenSaverToggle::Unchanged; // nothing the program could bring back later
        }
        // The file may be unwritable or unable to hold every character of the path: the value goes only
        // once its copy is known to be there.
        SetIniString(kAppTitle, kScPathKey, current.path, settingsPath);
        if (GetIniString(kAppTitle, kScPathKey, settingsPath) != current.path) {
            return ScreenSaverToggle::Unchanged;
        }
        return DeleteRegValue(HKEY_CURRENT_USER, kScreenSaverKey, kScreenSaverValue) == ERROR_SUCCESS
                   ? ScreenSaverToggle::SwitchedOff
                   : ScreenSaverToggle::Unchanged;
    }
    const std::wstring saved = GetIniString(kAppTitle, kScPathKey, settingsPath);
    if (!saved.empty()) {
        return WriteRegValue(HKEY_CURRENT_USER, kScreenSaverKey, kScreenSaverValue, saved)
                   ? ScreenSaverToggle::SwitchedOn
                   : ScreenSaverToggle::Unchanged;
    }
    return StartProgram(SystemProgramPath(L"control.exe"), L"desk.cpl,screensaver,@screensaver",
                        SW_SHOWMINIMIZED)
               ? ScreenSaverToggle::OpenedSettings
               : ScreenSaverToggle::Unchanged;
}

void StartScreenSaver(HWND window) {
    ::SendMessageW(window, WM_SYSCOMMAND, SC_SCREENSAVE, 0);
}

} // namespace tavimo
