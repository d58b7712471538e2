#pragma once
// The user's screen saver: started at once, or switched off and on again without ever losing which one
// was chosen. While it is off, its path waits in the settings file (key ScPath, section named after the
// program), which the window passes in.

#include <windows.h>

#include <string>

namespace tavimo {

// HKEY_CURRENT_USER\Control Panel\Desktop, value SCRNSAVE.EXE: the chosen screen saver.
inline constexpr wchar_t kScreenSaverKey[] = L"Control Panel\\Desktop";
inline constexpr wchar_t kScreenSaverValue[] = L"SCRNSAVE.EXE";
inline constexpr wchar_t kScPathKey[] = L"ScPath";

enum class ScreenSaverState {
    None,       // no value, or an empty one: the screen saver is off
    Chosen,     // a path the program can read, keep and write back
    Unreadable, // something is there, but not as text the program can hold: the key can't be opened with
                // full access, the value has another type, or it is too long to read
};

struct ScreenSaverSetting {
    ScreenSaverState state = ScreenSaverState::None;
    std::wstring path; // for Chosen
};

ScreenSaverSetting ReadScreenSaver();

enum class ScreenSaverToggle { SwitchedOff, SwitchedOn, OpenedSettings, Unchanged };

// `switchOn`: the menu item offers to switch the screen saver on. Off saves a Chosen path to ScPath and
// deletes the registry value only once ScPath reads back as exactly that path; anything else changes
// nothing. On writes a saved path back as REG_SZ (ScPath stays); with none saved, the system's screen
// saver settings open (control.exe, minimised) for the user to choose one.
ScreenSaverToggle ToggleScreenSaver(bool switchOn, const std::wstring& settingsPath);

// WM_SYSCOMMAND SC_SCREENSAVE to the window: its default procedure starts the chosen screen saver.
void StartScreenSaver(HWND window);

} // namespace tavimo
