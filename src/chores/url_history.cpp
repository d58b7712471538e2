#include "chores/url_history.h"

#include "platform/com_slot.h"

namespace tavimo {

namespace {

constexpr unsigned kClearHistorySlot = 9;
constexpr unsigned kReleaseSlot = 2;

// CUrlHistory, {3C374A40-BAE4-11CF-BF7D-00AA006946EE}.
constexpr CLSID kUrlHistoryClass = {
    0x3C374A40, 0xBAE4, 0x11CF, {0xBF, 0x7D, 0x00, 0xAA, 0x00, 0x69, 0x46, 0xEE}};
// IUrlHistoryStg2, {AFA0DC11-C313-11D0-831A-00C04FD5AE38}.
constexpr IID kUrlHistoryStg2 = {
    0xAFA0DC11, 0xC313, 0x11D0, {0x83, 0x1A, 0x00, 0xC0, 0x4F, 0xD5, 0xAE, 0x38}};

} // namespace

CreateInstanceFunction g_createUrlHistory = &::CoCreateInstance;

HRESULT ClearUrlHistory() {
    void* history = nullptr;
    const HRESULT created = g_createUrlHistory(
        kUrlHistoryClass, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER, kUrlHistoryStg2, &history);
    VARIANT ignored;
    if (created != S_OK) {
        // A positive code may still come with an object; don't leak it.
        if (history) {
            CallBySlot(history, kReleaseSlot, ignored);
        }
        return created;
    }
    CallBySlot(history, kClearHistorySlot, ignored);
    // The only reference: released exactly once, here.
    CallBySlot(history, kReleaseSlot, ignored);
    return S_OK;
}

} // namespace tavimo
