#include "app/app_main.h"

#include "app/app_info.h"
#include "app/frm_device.h"
#include "chores/capture.h"
#include "chores/cleanup.h"
#include "chores/desktop_view.h"
#include "chores/time_sync.h"
#include "chores/close_windows.h"
#include "devices/cd_tray.h"
#include "devices/tray_click.h"
#include "platform/com_apartment.h"
#include "platform/paths.h"
#include "platform/process_start.h"
#include "platform/text.h"
#include "volume/mixer.h"

#include <windows.h>
#include <shlwapi.h>
#include <winnetwk.h>

#include <optional>

namespace tavimo {

namespace {

bool Capture(const std::vector<std::wstring>& arguments, CaptureArea area, ImageType type) {
    const std::wstring folder = CaptureFolder(arguments, ExeFolder(), [](const std::wstring& path) {
        return ::PathIsDirectoryW(path.c_str()) != FALSE;
    });
    return CaptureScreen(folder, area, type);
}

bool StartHotPlugDialog() {
    return StartProgram(SystemProgramPath(L"rundll32.exe"), L"shell32.dll,Control_RunDLL hotplug.dll",
                        SW_SHOWNORMAL);
}

// The network drive dialogs answer -1 when the user cancels; that is not a failure.
bool NetDialogSucceeded(DWORD result) {
    return result == NO_ERROR || result == static_cast<DWORD>(-1);
}

// The chores that create COM objects, or whose system code may (GDI+'s encoders, the shell's recycle
// bin and network dialogs). The others never load COM, which is most of a short run's cost.
bool UsesCom(Switch which) {
    switch (which) {
    case Switch::Jpeg:
    case Switch::JpegActive:
    case Switch::Bmp:
    case Switch::BmpActive:
    case Switch::ConnectDialog:
    case Switch::DisconnectDialog:
    case Switch::Recycle:
    case Switch::History:
        return true;
    default:
        return false;
    }
}

} // namespace

std::wstring SwitchKey(const std::vector<std::wstring>& arguments) {
    return arguments.empty() ? std::wstring() : ToLower(arguments.front());
}

bool RunSwitch(Switch which, const std::vector<std::wstring>& arguments) {
    switch (which) {
    case Switch::AllClose:
        CloseAllWindows(CloseMode::Normal);
        return true;
    case Switch::AllCloseForced:
        CloseAllWindows(CloseMode::Forced);
        return true;
    case Switch::Jpeg:
        return Capture(arguments, CaptureArea::Screen, ImageType::Jpeg);
    case Switch::JpegActive:
        return Capture(arguments, CaptureArea::ActiveWindow, ImageType::Jpeg);
    case Switch::Bmp:
        return Capture(arguments, CaptureArea::Screen, ImageType::Bmp);
    case Switch::BmpActive:
        return Capture(arguments, CaptureArea::ActiveWindow, ImageType::Bmp);
    case Switch::ConnectDialog:
        return NetDialogSucceeded(::WNetConnectionDialog(nullptr, RESOURCETYPE_DISK));
    case Switch::DisconnectDialog:
        return NetDialogSucceeded(::WNetDisconnectDialog(nullptr, RESOURCETYPE_DISK));
    case Switch::Version:
        ShowVersionMessage(nullptr);
        return true;
    case Switch::HotPlug:
        return StartHotPlugDialog();
    case Switch::SafelyRemove:
        return sClickSafelyRemove();
    case Switch::CdOpen:
        return fCdDoor(CdOpenDrive(arguments));
    case Switch::Mute:
        return ToggleMuteSwitch();
    case Switch::Recycle:
        return RunCleanup(CleanupItem::EmptyRecycleBin);
    case Switch::Cache:
        return RunCleanup(CleanupItem::ClearCache);
    case Switch::Cookie:
        return RunCleanup(CleanupItem::ClearCookies);
    case Switch::History:
        return RunCleanup(CleanupItem::ClearHistory);
    case Switch::Recent:
        return RunCleanup(CleanupItem::ClearRecentDocs);
    case Switch::DeskList:
        return ToggleDesktopView();
    case Switch::Time:
        return SyncTimeNtp();
    }
    return false; // not a switch of the table
}

int Main() {
    SetSettingsPath(JoinPath(ExeFolder(), L"setting.ini"));
    SetReadMePath(JoinPath(ExeFolder(), L"ReadMe.txt"));

    const std::wstring tail = CommandTail(::GetCommandLineW());
    if (!tail.empty()) {
        const auto arguments = SplitArguments(tail);
        if (const auto which = FindSwitch(SwitchKey(arguments))) {
            std::optional<ComApartment> com;
            if (UsesCom(*which)) {
                com.emplace();
            }
            return RunSwitch(*which, arguments) ? 0 : 1;
        }
    }
    return RunMainWindow(tail);
}

} // namespace tavimo
