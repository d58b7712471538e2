#pragma once
// Starting another program: the system's rundll32 for the hot-plug dialog, control.exe for the screen
// saver settings, a second copy of Tavimo for the clock. One seam, so tests start nothing.

#include <string>

namespace tavimo {

struct ProcessStart {
    std::wstring application; // full path of the program file
    std::wstring commandLine; // the whole command line, the quoted program path first
    int showWindow = 1;       // SW_ value for the program's first window
    bool operator==(const ProcessStart&) const = default;
};

// Starts the program without waiting for it; true when it started. CreateProcessW unless a test has
// put its own in.
using StartProcessFunction = bool (*)(const ProcessStart& start);
extern StartProcessFunction g_startProcess;

// The quoted path, then a space and the arguments unless they are empty.
std::wstring QuotedCommandLine(const std::wstring& path, const std::wstring& arguments);

// Starts `path` with `arguments` (QuotedCommandLine) through g_startProcess.
bool StartProgram(const std::wstring& path, const std::wstring& arguments, int showWindow);

// A file of the system folder by its full path ("C:\windows\system32\rundll32.exe"), never one that
// happens to sit beside the exe or in the current folder; empty when the folder can't be told.
std::wstring SystemProgramPath(const wchar_t* fileName);

} // namespace tavimo
