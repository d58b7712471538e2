#pragma once
// "/h": a left click on the notification area's safely-remove-hardware icon, as if the user had
// clicked it, so the system opens its own menu. The icon's buttons live in the shell's process; they are
// read there through a buffer committed in that process.

namespace tavimo {

// Finds the toolbar Shell_TrayWnd > TrayNotifyWnd > SysPager > ToolbarWindow32, looks through its
// buttons for the one whose text is exactly "ハードウェアの安全な取り外し", clicks the chevron first when
// that button is hidden, and sends the toolbar one left button-down and button-up at its top-left
// corner. True when the click was sent; false when there is no toolbar, the shell's process can't be
// read (or is 64-bit and this build 32-bit), or no button carries the text.
bool sClickSafelyRemove();

} // namespace tavimo
