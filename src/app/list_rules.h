#pragma once
// What the window does with a key, a click on a list, a change of activation or the end of a removal:
// plain decisions over the state the window reads, so every rule can be tested as a table.

#include <windows.h>

#include "devices/removal.h"

namespace tavimo {

enum class ListActionKind {
    None,
    EjectDevice, // remove the device list's selected device
    EjectTray,   // open or close the tray of the CD row
    DriveMenu,   // the shell verbs of the row's drive
    FileMenu,    // the File menu at the cursor (a right click beside the rows)
};

struct ListAction {
    ListActionKind kind = ListActionKind::None;
    int row = -1;          // the row acted on, for EjectTray and DriveMenu
    bool remember = false; // the click's point becomes the last click
    bool operator==(const ListAction&) const = default;
};

// Enter on a list (ListView1_KeyDown): acts on the selected row, when the list has one.
ListAction ListKeyAction(int list, WORD key, int itemCount, int selectedRow);

// A button released over a list (ListView1_MouseUp), 1 left or 2 right.
struct ListClick {
    int list = 0;
    int button = 1;
    int hitRow = -1; // the row under the point, -1 for none
    POINT at{};
    POINT lastClick{}; // the point of the last click acted on
    int itemCount = 0;
    int focusedRow = -1;
    bool focusedSelected = false;
};
// Beside the rows a right click opens the File menu. On a row: nothing for the point of the last click
// acted on, nor while the focused row is not selected; otherwise a left click removes (device list) or
// ejects (CD list) and a right click opens the drive's menu.
ListAction ListMouseUpAction(const ListClick& click);

// Keys released in the window (its key preview): Esc closes, U and C (with or without Shift, Ctrl or
// Alt) move the focus to the device list and the CD tray list.
enum class FormKeyAction { None, Unload, FocusDevices, FocusCds };
FormKeyAction FormKeyUpAction(WORD key);

// "非アクティブで終了(&A)": the window made inactive (wParam 0, not minimised) while nothing is busy and the
// option is checked closes the program.
bool UnloadsOnActivate(WPARAM wParam, bool busy, bool exitWhenInactive);

// "取り外し後は終了(&X)": the program closes after a removal that did something (a device or tray went,
// or remove-all ran its passes, whatever they achieved), never after one that was cancelled or found
// nothing to do, nor after a single device that refused.
bool ExitsAfterRemoval(RemovalOutcome outcome, bool removeAll, bool exitAfterRemoval);

} // namespace tavimo
