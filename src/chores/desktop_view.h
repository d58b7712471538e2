#pragma once
// The desktop's icon list, switched between icon view and list view.

#include <windows.h>

namespace tavimo {

// The style after one switch: report, small icon or list view become icon view with LVS_NOSCROLL set;
// icon view becomes list view with LVS_NOSCROLL cleared. Every other bit stays.
DWORD DesktopViewAfterToggle(DWORD style);

// The SysListView32 of the SHELLDLL_DefView of the top-level "Progman" window titled "Program
// Manager"; null when any step finds nothing. No other place is searched.
HWND GetDesktopListView();

// The Extra menu's item and "/desklist": writes the switched style (nothing else is sent to the list).
// True when the list was found and its style written.
bool ToggleDesktopView();

} // namespace tavimo
