#include "devices/cd_tray.h"

#include "platform/message_pump.h"

#include "app/app_info.h"
#include "app/ask.h"
#include "app/busy.h"
#include "devices/device_list.h"
#include "devices/devices_texts.h"

#include <string>

namespace tavimo {

namespace {

// The command strings go to the ANSI entry point, so the drive text travels in the system code page.
std::string ToAnsi(std::wstring_view text) {
    if (text.empty()) {
        return {};
    }
    const int length = static_cast<int>(text.size());
    const int size = ::WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) {
        ::WideCharToMultiByte(CP_ACP, 0, text.data(), length, ansi.data(), size, nullptr, nullptr);
    }
    return ansi;
}

} // namespace

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
        send("open " + ToAnsi(drive) + " type cdaudio alias CDD");
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

void sEjectTray(HWND window, HWND cdList, int row, const RemovalOptions& options,
                const std::function<void()>& unload) noexcept {
    BusyScope busy;
    try {
        const std::wstring path = CdRowPath(cdList, row);
        if (path.empty()) {
            return; // no such row
        }
        if (!options.noConfirm &&
            Ask(window, devices_texts::kEjectTrayQuestion, kAppTitle, MB_YESNO) != IDYES) {
            return;
        }
        // Let the list repaint after the box before the tray command holds the thread.
        if (!RunPendingMessages()) {
            return;
        }
        if (options.exitAfterRemoval) {
            ::ShowWindow(window, SW_HIDE);
        }
        sCdDoor(path);
        if (options.exitAfterRemoval && unload) {
            unload();
        }
    } catch (...) {
        // Ends silently, the busy flag lowered by its scope.
    }
}

} // namespace tavimo
