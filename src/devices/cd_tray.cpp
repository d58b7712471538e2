#include "devices/cd_tray.h"

#include "platform/message_pump.h"

#include "platform/app_title.h"
#include "platform/ask.h"
#include "platform/busy.h"
#include "devices/device_list.h"
#include "devices/devices_texts.h"
#include "platform/text.h"

#include <string>

namespace tavimo {

MciApi DefaultMciApi() {
    return {&::mciSendStringA, &::timeGetTime};
}

MciApi g_mci = DefaultMciApi();

bool fCdDoor(std::wstring_view drive) {
    bool accepted = true;
    // Every result is noted but none changes what is sent next.
    const auto send = [&accepted](const std::string& command) {
        if (g_mci.sendString(command.c_str(), nullptr, 0, nullptr) != 0) {
            accepted = false;
        }
    };
    std::string device = "cdaudio";
    const bool byAlias = drive != kDefaultCdDevice;
    if (byAlias) {
        send("open " + WideToAnsi(drive) + " type cdaudio alias CDD");
        device = "CDD";
    }
    const DWORD before = g_mci.now();
    send("set " + device + " door open");
    // Unsigned difference: correct across the wrap of the millisecond clock.
    if (g_mci.now() - before < kDoorToggleMs) {
        send("set " + device + " door closed");
    }
    if (byAlias) {
        send("close CDD");
    }
    return accepted;
}

RemovalOutcome sEjectTray(HWND window, HWND cdList, int row, bool noConfirm, bool hideFirst) {
    BusyScope busy;
    const std::wstring path = CdRowPath(cdList, row);
    if (path.empty()) {
        return RemovalOutcome::NothingToDo; // no such row
    }
    if (!noConfirm && Ask(window, devices_texts::kEjectTrayQuestion, kAppTitle, MB_YESNO) != IDYES) {
        return RemovalOutcome::Cancelled;
    }
    // Let the list repaint after the box before the tray command holds the thread; a quit that came
    // meanwhile ends the program first.
    if (!RunPendingMessages()) {
        return RemovalOutcome::Cancelled;
    }
    if (hideFirst) {
        ::ShowWindow(window, SW_HIDE);
    }
    sCdDoor(path);
    return RemovalOutcome::Removed;
}

} // namespace tavimo
