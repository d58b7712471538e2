#pragma once
// Starting a program and timing it from outside, as a user's shortcut or script would start it.

#include <windows.h>

#include <stdexcept>
#include <string>

namespace bench {

// The kit itself failed (a program did not start, a window never came, a run hung): the run ends.
struct KitError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Program {
    std::wstring exe;       // full path; the program starts in its own folder
    std::wstring arguments; // after the program's name
    std::string label;      // how the report names it
};

struct WindowRun {
    double ms = 0;       // start -> shown, painted and idle
    double peakMiB = 0;  // the peak working set once idle
    bool killed = false; // did not end within the close timeout after WM_CLOSE
};

struct ExitRun {
    double ms = 0;
    DWORD exitCode = 0;
};

// Milliseconds on the performance counter.
double NowMs();

// From CreateProcessW until a visible top-level window of the process exists, WaitForInputIdle has
// returned and WM_NULL sent to that window was answered; then reads the peak working set and closes the
// window (WM_CLOSE; the process is killed when it does not end in time).
WindowRun MeasureWindowStart(const Program& program);

// From CreateProcessW until the process has ended.
ExitRun MeasureRunToExit(const Program& program, DWORD timeoutMs);

// UTF-16 to UTF-8, for the report.
std::string Utf8(const std::wstring& text);

} // namespace bench
