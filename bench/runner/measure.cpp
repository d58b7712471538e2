#include "runner/measure.h"

#include <psapi.h>

namespace bench {

namespace {

constexpr DWORD kStartTimeoutMs = 30000;
constexpr DWORD kCloseTimeoutMs = 10000;

class ProcessRun {
  public:
    explicit ProcessRun(const Program& program) {
        const size_t slash = program.exe.find_last_of(L"\\/");
        const std::wstring folder =
            slash == std::wstring::npos ? std::wstring() : program.exe.substr(0, slash);
        std::wstring commandLine = L"\"" + program.exe + L"\"";
        if (!program.arguments.empty()) {
            commandLine += L" " + program.arguments;
        }
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        if (!::CreateProcessW(program.exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              folder.empty() ? nullptr : folder.c_str(), &startup, &info_)) {
            throw KitError(program.label + ": could not start (error " + std::to_string(::GetLastError()) +
                           ")");
        }
    }
    ~ProcessRun() {
        if (::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
            ::TerminateProcess(info_.hProcess, 1);
            ::WaitForSingleObject(info_.hProcess, kCloseTimeoutMs);
        }
        ::CloseHandle(info_.hThread);
        ::CloseHandle(info_.hProcess);
    }
    ProcessRun(const ProcessRun&) = delete;
    ProcessRun& operator=(const ProcessRun&) = delete;

    HANDLE Handle() const { return info_.hProcess; }
    DWORD Id() const { return info_.dwProcessId; }
    bool Ended(DWORD waitMs) const { return ::WaitForSingleObject(info_.hProcess, waitMs) == WAIT_OBJECT_0; }
    DWORD ExitCode() const {
        DWORD code = 0;
        ::GetExitCodeProcess(info_.hProcess, &code);
        return code;
    }

  private:
    PROCESS_INFORMATION info_{};
};

struct WindowSearch {
    DWORD processId;
    HWND window = nullptr;
    HWND messageBox = nullptr;
};

BOOL CALLBACK FindShownWindow(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != search.processId || !::IsWindowVisible(window)) {
        return TRUE;
    }
    wchar_t className[16] = {};
    ::GetClassNameW(window, className, 16);
    (::lstrcmpW(className, L"#32770") == 0 ? search.messageBox : search.window) = window;
    return search.window ? FALSE : TRUE;
}

DWORD RemainingMs(double deadline) {
    const double left = deadline - NowMs();
    return left > 0 ? static_cast<DWORD>(left) + 1 : 0;
}

} // namespace

double NowMs() {
    static const double frequency = [] {
        LARGE_INTEGER f{};
        ::QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER now{};
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / frequency;
}

WindowRun MeasureWindowStart(const Program& program) {
    WindowRun run;
    const double start = NowMs();
    ProcessRun process(program);
    const double deadline = start + kStartTimeoutMs;
    // Waiting for the first idle moment first keeps the polling below from competing with the start.
    ::WaitForInputIdle(process.Handle(), kStartTimeoutMs);
    WindowSearch search{process.Id()};
    for (;;) {
        search.window = search.messageBox = nullptr;
        ::EnumWindows(FindShownWindow, reinterpret_cast<LPARAM>(&search));
        if (search.window) {
            break;
        }
        if (search.messageBox) {
            wchar_t text[512] = {};
            ::GetDlgItemTextW(search.messageBox, 0xFFFF, text, 512);
            throw KitError(program.label + ": showed a message box instead of its window: " + Utf8(text));
        }
        if (process.Ended(1)) {
            throw KitError(program.label + ": ended (exit code " + std::to_string(process.ExitCode()) +
                           ") before its window was shown");
        }
        if (NowMs() > deadline) {
            throw KitError(program.label + ": no window within " + std::to_string(kStartTimeoutMs / 1000) +
                           " s");
        }
    }
    if (::WaitForInputIdle(process.Handle(), RemainingMs(deadline)) != 0) {
        throw KitError(program.label + ": never idle after showing its window");
    }
    DWORD_PTR answer = 0;
    if (!::SendMessageTimeoutW(search.window, WM_NULL, 0, 0, SMTO_NORMAL, RemainingMs(deadline), &answer)) {
        throw KitError(program.label + ": its window did not answer after showing");
    }
    run.ms = NowMs() - start;

    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    if (!::GetProcessMemoryInfo(process.Handle(), &memory, sizeof(memory)) ||
        memory.PeakWorkingSetSize == 0) {
        throw KitError(program.label + ": the system gave no peak working set for it");
    }
    run.peakMiB = static_cast<double>(memory.PeakWorkingSetSize) / (1024.0 * 1024.0);

    ::PostMessageW(search.window, WM_CLOSE, 0, 0);
    run.killed = !process.Ended(kCloseTimeoutMs);
    return run; // a process still running is killed on the way out
}

ExitRun MeasureRunToExit(const Program& program, DWORD timeoutMs) {
    ExitRun run;
    const double start = NowMs();
    ProcessRun process(program);
    if (!process.Ended(timeoutMs)) {
        throw KitError(program.label + ": still running after " + std::to_string(timeoutMs / 1000) + " s");
    }
    run.ms = NowMs() - start;
    run.exitCode = process.ExitCode();
    return run;
}

std::string Utf8(const std::wstring& text) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr,
                                           0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size > 0 ? size : 0), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), size,
                          nullptr, nullptr);
    return bytes;
}

} // namespace bench
