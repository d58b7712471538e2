#include "app/menu_bar.h"

#include "app/menu_texts.h"
#include "volume/volume_texts.h"

#include <vector>

namespace tavimo {

namespace {

struct MenuItemDef {
    int index;
    const wchar_t* caption; // "-" is a separator
    bool enabled = true;    // items whose work is not built yet stay greyed
};

HMENU BuildPopup(MenuId menu, const std::vector<MenuItemDef>& items) {
    HMENU popup = ::CreatePopupMenu();
    for (const MenuItemDef& item : items) {
        if (item.caption[0] == L'-' && item.caption[1] == L'\0') {
            ::AppendMenuW(popup, MF_SEPARATOR, MenuCommand(menu, item.index), nullptr);
        } else {
            ::AppendMenuW(popup, MF_STRING | (item.enabled ? 0 : MF_GRAYED), MenuCommand(menu, item.index),
                          item.caption);
        }
    }
    return popup;
}

} // namespace

MenuBar CreateMenuBar() {
    using namespace menu_texts;
    MenuBar menus;
    menus.bar = ::CreateMenu();
    const auto add = [&menus](MenuId menu, const wchar_t* caption, const std::vector<MenuItemDef>& items) {
        HMENU popup = BuildPopup(menu, items);
        menus.popups[static_cast<int>(menu)] = popup;
        ::AppendMenuW(menus.bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), caption);
    };
    add(MenuId::File, kFile, {{0, kFileRemoveAll}, {1, kFileRefresh}, {2, L"-"}, {3, kFileExit}});
    // The volume menu is only ever a popup of the volume buttons: built, but kept off the bar.
    std::vector<MenuItemDef> volume;
    for (int i = 0; i < volume_texts::kVolItemCount; ++i) {
        volume.push_back({i, volume_texts::kVolItemCaptions[i]});
    }
    menus.popups[static_cast<int>(MenuId::Volume)] = BuildPopup(MenuId::Volume, volume);
    add(MenuId::Delete, kDelete,
        {{0, kDeleteRecycle},
         {1, kDeleteTemp},
         {2, kDeleteRecent},
         {3, kDeleteCache},
         {4, kDeleteCookie},
         {5, kDeleteHistory}});
    add(MenuId::Extra, kExtra,
        {{kExtraTimeItem, kExtraTime},
         {kExtraDesktopItem, kExtraDesktop},
         {kExtraSaverStartItem, kExtraSaverStart},
         {kExtraSaverToggleItem, kExtraSaverOff},
         {10, L"-"},
         {kExtraCloseAllItem, kExtraCloseAll},
         {kExtraCloseAllForcedItem, kExtraCloseAllForced}});
    add(MenuId::Win, kWin,
        {{0, kWinStandby}, {1, kWinHibernate}, {2, kWinLogoff}, {4, kWinRestart}, {10, kWinShutdown}});
    add(MenuId::Opt, kOpt,
        {{kOptCenter, kOptCenterText},
         {kOptTop, kOptTopText},
         {4, L"-"},
         {kOptNoConfirm, kOptNoConfirmText},
         {kOptExitAfterRemoval, kOptExitAfterRemovalText},
         {kOptExitWhenInactive, kOptExitWhenInactiveText}});
    add(MenuId::Help, kHelp, {{0, kHelpReadMe}, {1, kHelpHomePage}, {2, kHelpVersion}});
    return menus;
}

bool IsOptionChecked(HMENU bar, int index) {
    const UINT state = ::GetMenuState(bar, MenuCommand(MenuId::Opt, index), MF_BYCOMMAND);
    // -1: no such item (or no menu any more), which is no check mark either.
    return state != static_cast<UINT>(-1) && (state & MF_CHECKED) != 0;
}

void SetOptionChecked(HMENU bar, int index, bool checked) {
    ::CheckMenuItem(bar, MenuCommand(MenuId::Opt, index),
                    MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

} // namespace tavimo
