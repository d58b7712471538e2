#include "app/menu_bar.h"

#include "app/menu_texts.h"

#include <vector>

namespace tavimo {

namespace {

struct ItemSpec {
    int index;
    const wchar_t* caption; // "-" is a separator
};

HMENU BuildPopup(MenuId menu, const std::vector<ItemSpec>& items) {
    HMENU popup = ::CreatePopupMenu();
    for (const ItemSpec& item : items) {
        if (item.caption[0] == L'-' && item.caption[1] == L'\0') {
            ::AppendMenuW(popup, MF_SEPARATOR, MenuCommand(menu, item.index), nullptr);
        } else {
            ::AppendMenuW(popup, MF_STRING, MenuCommand(menu, item.index), item.caption);
        }
    }
    return popup;
}

} // namespace

MenuBar CreateMenuBar() {
    using namespace menu_texts;
    MenuBar menus;
    menus.bar = ::CreateMenu();
    const auto add = [&menus](MenuId menu, const wchar_t* caption, const std::vector<ItemSpec>& items) {
        HMENU popup = BuildPopup(menu, items);
        menus.popups[static_cast<int>(menu)] = popup;
        ::AppendMenuW(menus.bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), caption);
    };
    add(MenuId::File, kFile, {{0, kFileRemoveAll}, {1, kFileRefresh}, {2, L"-"}, {3, kFileExit}});
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
    return (::GetMenuState(bar, MenuCommand(MenuId::Opt, index), MF_BYCOMMAND) & MF_CHECKED) != 0;
}

void SetOptionChecked(HMENU bar, int index, bool checked) {
    ::CheckMenuItem(bar, MenuCommand(MenuId::Opt, index), MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

} // namespace tavimo
