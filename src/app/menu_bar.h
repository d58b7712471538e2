#pragma once
// The main window's menu bar. Each menu's items form an index-addressed array (gaps included); an
// item's command id is its menu's base plus its index, the single source of the ids.

#include <windows.h>

namespace tavimo {

enum class MenuId : int { File = 0, Volume = 1, Delete = 2, Extra = 3, Win = 4, Opt = 5, Help = 6 };

constexpr UINT MenuCommand(MenuId menu, int index) {
    return 1000u + 100u * static_cast<UINT>(menu) + static_cast<UINT>(index);
}
inline constexpr UINT kFirstMenuCommand = 1000;
inline constexpr UINT kLastMenuCommand = 1699;

constexpr MenuId MenuOfCommand(UINT command) {
    return static_cast<MenuId>((command - 1000u) / 100u);
}
constexpr int IndexOfCommand(UINT command) {
    return static_cast<int>((command - 1000u) % 100u);
}

// Option menu indices: each option is its item's check mark.
inline constexpr int kOptCenter = 1;
inline constexpr int kOptTop = 2;
inline constexpr int kOptNoConfirm = 5;
inline constexpr int kOptExitAfterRemoval = 6;
inline constexpr int kOptExitWhenInactive = 8;

// Extra menu indices (10 is a separator).
inline constexpr int kExtraTimeItem = 4;
inline constexpr int kExtraDesktopItem = 5;
inline constexpr int kExtraSaverStartItem = 6;
inline constexpr int kExtraSaverToggleItem = 7;
inline constexpr int kExtraCloseAllItem = 11;
inline constexpr int kExtraCloseAllForcedItem = 12;

inline constexpr int kMenuCount = 7;

// The bar and each menu's popup. The window owns the bar once SetMenu gave it one; the hidden volume
// menu is not on the bar, so its popup is destroyed by whoever holds the MenuBar.
struct MenuBar {
    HMENU bar = nullptr;
    HMENU popups[kMenuCount] = {};
    HMENU Popup(MenuId menu) const { return popups[static_cast<int>(menu)]; }
};

MenuBar CreateMenuBar();

bool IsOptionChecked(HMENU bar, int index);
void SetOptionChecked(HMENU bar, int index, bool checked);

} // namespace tavimo
