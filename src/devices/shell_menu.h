#pragma once
// A drive's shell verbs as a popup menu, run by name when chosen.

#include <windows.h>

#include <string>
#include <string_view>

namespace tavimo {

struct ShellMenuItem {
    std::wstring text;
    UINT flags = 0;
    bool operator==(const ShellMenuItem&) const = default;
};

// The menu item for one shell verb: the shell's own eject and rename verbs ("取り出し(&J)", "名前の変更(&M)",
// whatever access key the shell gave them) and nameless verbs become a separator ("-", MF_SEPARATOR); any
// other verb is its name as a text item (MF_BYPOSITION).
ShellMenuItem ShellVerbMenuItem(std::wstring_view verbName);

// Appends an item to `popup` with its 1-based position as its identifier.
void sAddMenuItem(HMENU popup, const std::wstring& text, UINT flags);

// "USB DISK (E:)" gives "E:\": the two characters before the last ")" and a backslash; empty when the
// text has no such pair.
std::wstring DeviceRowDrivePath(std::wstring_view rowText);

// A CD row's drive path for the menu, "D:\"; empty when the row holds no drive.
std::wstring CdRowDrivePath(HWND cdList, int row);

// Shows `popup` at `at` (screen coordinates) for `owner` and returns the chosen identifier, 0 for none.
// TrackPopupMenu with TPM_RETURNCMD unless a test has put its own in.
using TrackPopupFunction = UINT (*)(HMENU popup, HWND owner, POINT at);
extern TrackPopupFunction g_trackPopup;

// Empties the shared `popup`, fills it with the verbs of the folder at `path` (such as "E:\"), shows it
// at the cursor and runs the chosen verb. Nothing runs when the path has no folder or nothing is chosen.
void sShellMenu(HWND owner, HMENU popup, const std::wstring& path);

} // namespace tavimo
