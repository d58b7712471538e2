// A window and nothing else: one class, one window, shown, painted, and its message loop.
#include "yardsticks/window_run.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = bench::QuitOnDestroy;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"BenchBareWindow";
    if (!::RegisterClassExW(&wc)) {
        return 1;
    }
    return bench::ShowAndRun(::CreateWindowExW(0, wc.lpszClassName, L"Bare", WS_OVERLAPPEDWINDOW,
                                               CW_USEDEFAULT, CW_USEDEFAULT, 665, 191, nullptr, nullptr,
                                               instance, nullptr),
                             show);
}
