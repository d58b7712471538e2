// The URL-history chore alone: COM on the thread, the history object, ClearHistory, Release.
#include <windows.h>
#include <urlhist.h>

namespace {

// Defined here rather than taken from libuuid, as any small program would.
constexpr CLSID kUrlHistory = {0x3C374A40, 0xBAE4, 0x11CF, {0xBF, 0x7D, 0x00, 0xAA, 0x00, 0x69, 0x46, 0xEE}};
constexpr IID kUrlHistoryStg2 = {
    0xAFA0DC11, 0xC313, 0x11D0, {0x83, 0x1A, 0x00, 0xC0, 0x4F, 0xD5, 0xAE, 0x38}};

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    IUrlHistoryStg2* history = nullptr;
    const HRESULT created =
        ::CoCreateInstance(kUrlHistory, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                           kUrlHistoryStg2, reinterpret_cast<void**>(&history));
    if (created == S_OK) {
        history->ClearHistory();
    }
    if (history) {
        history->Release();
    }
    if (SUCCEEDED(com)) {
        ::CoUninitialize();
    }
    return created == S_OK ? 0 : 1;
}
