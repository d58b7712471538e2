#include "platform/key_chords.h"

#include <vector>

namespace tavimo {

SendInputFunction g_sendInput = &::SendInput;

namespace {
std::vector<INPUT> g_pending;
}

void QueueKeyEvent(WORD virtualKey, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.dwFlags = flags;
    g_pending.push_back(input);
}

bool FlushKeyEvents() {
    if (g_pending.empty()) {
        return false;
    }
    const UINT sent = g_sendInput(static_cast<UINT>(g_pending.size()), g_pending.data(), sizeof(INPUT));
    g_pending.clear();
    return sent > 0;
}

bool SendKeyChord(WORD key1, WORD key2, WORD key3) {
    if (key1 == 0) {
        return false;
    }
    QueueKeyEvent(key1, 0);
    if (key2 != 0) {
        QueueKeyEvent(key2, 0);
        if (key3 != 0) {
            QueueKeyEvent(key3, 0);
            QueueKeyEvent(key3, KEYEVENTF_KEYUP);
        }
        QueueKeyEvent(key2, KEYEVENTF_KEYUP);
    }
    QueueKeyEvent(key1, KEYEVENTF_KEYUP);
    return FlushKeyEvents();
}

} // namespace tavimo
