#include "devices/tray_click.h"

#include "devices/remote_buffer.h"
#include "devices/tray_button.h"
#include "platform/foreground.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace tavimo {

namespace {

// A hung shell must not hang the program: a message that gets no answer in time counts as refused.
constexpr UINT kShellAnswerMs = 5000;

std::optional<LRESULT> SendToShell(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kShellAnswerMs, &result)) {
        return std::nullopt;
    }
    return static_cast<LRESULT>(result);
}

HWND FindChild(HWND parent, const wchar_t* className) {
    return parent ? ::FindWindowExW(parent, nullptr, className, nullptr) : nullptr;
}

struct TrayWindows {
    HWND notify = nullptr; // TrayNotifyWnd, the chevron's parent
    HWND toolbar = nullptr;
};

TrayWindows FindTrayWindows() {
    TrayWindows tray;
    tray.notify = FindChild(::FindWindowW(L"Shell_TrayWnd", nullptr), L"TrayNotifyWnd");
    tray.toolbar = FindChild(FindChild(tray.notify, L"SysPager"), L"ToolbarWindow32");
    return tray;
}

std::optional<bool> IsWow64(HANDLE process) {
    BOOL wow64 = FALSE;
    if (!::IsWow64Process(process, &wow64)) {
        return std::nullopt;
    }
    return wow64 != FALSE;
}

std::optional<PointerWidth> ShellWidth(HANDLE shell) {
    const auto self = IsWow64(::GetCurrentProcess());
    const auto other = IsWow64(shell);
    if (!self || !other) {
        return std::nullopt;
    }
    return ShellPointerWidth(sizeof(void*) == 8, *self, *other);
}

// Has the toolbar answer into the buffer and reads the answer's first `size` bytes back; empty when the
// toolbar refused or the bytes can't be read.
std::vector<std::uint8_t> AskIntoBuffer(HWND toolbar, const RemoteBuffer& buffer, UINT message, WPARAM wParam,
                                        std::size_t size) {
    const auto answer = SendToShell(toolbar, message, wParam, reinterpret_cast<LPARAM>(buffer.Address()));
    std::vector<std::uint8_t> bytes(size);
    if (!answer || *answer == 0 || !buffer.Read(0, bytes.data(), size)) {
        return {};
    }
    return bytes;
}

bool CarriesSafelyRemoveText(HWND toolbar, HANDLE shell, const TrayButton& button) {
    if (!TextIsPointer(button)) {
        return false;
    }
    const auto length = SendToShell(toolbar, TB_GETBUTTONTEXTW,
                                    static_cast<WPARAM>(static_cast<std::uint32_t>(button.command)), 0);
    const std::size_t size = length ? TextBytesToRead(*length) : 0;
    if (size == 0) {
        return false;
    }
    std::vector<std::uint8_t> text(size);
    return ReadRemote(shell, button.text, text.data(), size) && IsSafelyRemoveText(text);
}

void ClickAt(HWND toolbar, std::uint32_t point) {
    ForceForeground(toolbar);
    SendToShell(toolbar, WM_LBUTTONDOWN, 0, static_cast<LPARAM>(point));
    SendToShell(toolbar, WM_LBUTTONUP, 0, static_cast<LPARAM>(point));
}

} // namespace

bool sClickSafelyRemove() {
    const TrayWindows tray = FindTrayWindows();
    if (!tray.toolbar) {
        return false;
    }
    DWORD processId = 0;
    ::GetWindowThreadProcessId(tray.toolbar, &processId);
    const RemoteBuffer buffer(processId, kRemoteBufferBytes);
    if (!buffer) {
        return false; // never searched without the buffer
    }
    const auto width = ShellWidth(buffer.Process());
    if (!width) {
        return false;
    }
    const auto count = SendToShell(tray.toolbar, TB_BUTTONCOUNT, 0, 0);
    if (!count) {
        return false;
    }
    RECT client{};
    ::GetClientRect(tray.toolbar, &client);

    for (LRESULT index = 0; index < *count; ++index) {
        const auto record = AskIntoBuffer(tray.toolbar, buffer, TB_GETBUTTON, static_cast<WPARAM>(index),
                                          ButtonRecordBytes(*width));
        if (record.empty()) {
            // A toolbar refuses only an index it doesn't have: the count it gave was not true, and
            // going on would ask the rest of it one by one.
            return false;
        }
        const auto button = DecodeButtonRecord(record, *width);
        if (!button || !CarriesSafelyRemoveText(tray.toolbar, buffer.Process(), *button)) {
            continue;
        }
        if ((button->state & kButtonHidden) != 0) {
            if (const HWND chevron = FindChild(tray.notify, L"Button")) {
                SendToShell(chevron, BM_CLICK, 0, 0);
            }
        }
        const WPARAM command = static_cast<WPARAM>(static_cast<std::uint32_t>(button->command));
        const auto rect =
            DecodeButtonRect(AskIntoBuffer(tray.toolbar, buffer, TB_GETRECT, command, kButtonRectBytes));
        if (!rect) {
            return false; // no place to click: better no click than one somewhere else
        }
        ClickAt(tray.toolbar, PackClickPoint(client.left, client.top, *rect));
        return true;
    }
    return false;
}

} // namespace tavimo
