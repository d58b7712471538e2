#include "chores/close_windows.h"

#include "platform/foreground.h"
#include "platform/key_chords.h"
#include "platform/message_pump.h"

namespace tavimo {

EnumWindowsFunction g_enumWindows = &::EnumWindows;

namespace {

constexpr std::wstring_view kShellFolderClasses[] = {L"CabinetWClass", L"ExploreWClass"};
constexpr std::wstring_view kDesktopClass = L"Progman";
constexpr int kForegroundGraceMs = 1000;

struct Pass {
    CloseMode mode;
    HWND keepForLast;
    bool keptWindowCloses;
};

void TypeAltF4Into(HWND window) {
    // Bringing a hung window forward waits on its thread, and that thread would not read the keys.
    if (::IsHungAppWindow(window)) {
        return;
    }
    ForceForeground(window);
    // A WM_QUIT met here is posted again for the main loop; the pass itself goes on.
    RunPendingMessages();
    ::Sleep(250);
    // The chord goes to whatever has the focus: only into the shell window itself, never into the
    // window that kept the foreground. A foreground change made from another thread can take effect
    // late on a busy machine, so it is given a moment more before the window is passed over.
    for (int waited = 0; ::GetForegroundWindow() != window && waited < kForegroundGraceMs; waited += 50) {
        RunPendingMessages();
        ::Sleep(50);
    }
    if (::GetForegroundWindow() == window) {
        SendKeyChord(VK_MENU, VK_F4);
    }
}

void RequestClose(HWND window) {
    DWORD_PTR ignored = 0;
    // No time limit for a thread that answers, only for one the system sees as hung.
    ::SendMessageTimeoutW(window, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, INFINITE, &ignored);
}

BOOL CALLBACK CloseWindowProc(HWND window, LPARAM context) {
    try {
        Pass& pass = *reinterpret_cast<Pass*>(context);
        wchar_t title[128] = {};
        const int titleLength = ::GetWindowTextW(window, title, 128);
        wchar_t className[256] = {};
        const int classLength = ::GetClassNameW(window, className, 256);
        const WindowFacts facts{
            ::IsWindowVisible(window) != FALSE, ::GetWindow(window, GW_OWNER) != nullptr,
            std::wstring_view(title, static_cast<size_t>(titleLength > 0 ? titleLength : 0)),
            std::wstring_view(className, static_cast<size_t>(classLength > 0 ? classLength : 0))};
        const CloseAction action = CloseRule(facts, pass.mode);
        if (window == pass.keepForLast) {
            pass.keptWindowCloses = action != CloseAction::Skip;
            return TRUE;
        }
        switch (action) {
        case CloseAction::AltF4:
            TypeAltF4Into(window);
            break;
        case CloseAction::Close:
            RequestClose(window);
            break;
        case CloseAction::Quit:
            ::PostMessageW(window, WM_QUIT, 0, 0);
            break;
        case CloseAction::Skip:
            break;
        }
    } catch (...) {
        // One window's trouble never ends the pass.
    }
    return TRUE;
}

} // namespace

CloseAction CloseRule(const WindowFacts& window, CloseMode mode) {
    if (!window.visible || window.owned || window.title.empty()) {
        return CloseAction::Skip;
    }
    for (const std::wstring_view shellFolder : kShellFolderClasses) {
        if (window.className.substr(0, shellFolder.size()) == shellFolder) {
            return CloseAction::AltF4;
        }
    }
    if (window.className.substr(0, kDesktopClass.size()) == kDesktopClass) {
        return CloseAction::Skip;
    }
    return mode == CloseMode::Forced ? CloseAction::Quit : CloseAction::Close;
}

bool CloseAllWindows(CloseMode mode, HWND keepForLast) {
    Pass pass{mode, keepForLast, false};
    g_enumWindows(&CloseWindowProc, reinterpret_cast<LPARAM>(&pass));
    return pass.keptWindowCloses;
}

} // namespace tavimo
