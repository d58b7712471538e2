#include "app/list_rules.h"

#include "app/control_ids.h"

namespace tavimo {

ListAction ListKeyAction(int list, WORD key, int itemCount, int selectedRow) {
    if (itemCount == 0 || key != VK_RETURN || selectedRow < 0) {
        return {};
    }
    return list == kDeviceList ? ListAction{ListActionKind::EjectDevice, selectedRow}
                               : ListAction{ListActionKind::EjectTray, selectedRow};
}

ListAction ListMouseUpAction(const ListClick& click) {
    if (click.hitRow < 0) {
        return click.button == 2 ? ListAction{ListActionKind::FileMenu} : ListAction{};
    }
    if (click.at.x == click.lastClick.x && click.at.y == click.lastClick.y) {
        return {};
    }
    if (click.itemCount > 0 && click.focusedRow >= 0 && !click.focusedSelected) {
        return {};
    }
    if (click.button != 1) {
        return {ListActionKind::DriveMenu, click.hitRow, true};
    }
    return click.list == kDeviceList ? ListAction{ListActionKind::EjectDevice, click.hitRow, true}
                                     : ListAction{ListActionKind::EjectTray, click.hitRow, true};
}

FormKeyAction FormKeyUpAction(WORD key) {
    switch (key) {
    case VK_ESCAPE:
        return FormKeyAction::Unload;
    case 'U':
        return FormKeyAction::FocusDevices;
    case 'C':
        return FormKeyAction::FocusCds;
    default:
        return FormKeyAction::None;
    }
}

bool UnloadsOnActivate(WPARAM wParam, bool busy, bool exitWhenInactive) {
    return wParam == 0 && !busy && exitWhenInactive;
}

bool ExitsAfterRemoval(RemovalOutcome outcome, bool removeAll, bool exitAfterRemoval) {
    if (!exitAfterRemoval) {
        return false;
    }
    switch (outcome) {
    case RemovalOutcome::Removed:
        return true;
    case RemovalOutcome::Refused:
        return removeAll;
    case RemovalOutcome::NothingToDo:
    case RemovalOutcome::Cancelled:
        return false;
    }
    return false;
}

} // namespace tavimo
