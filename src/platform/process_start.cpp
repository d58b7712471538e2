#include "platform/process_start.h"

#include "platform/paths.h"

#include <windows.h>

namespace tavimo {

namespace {

bool CreateProcessStart(const ProcessStart& start) {
    std::wstring commandLine = start.commandLine; // CreateProcessW may write into it
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(start.showWindow);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(start.application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &process)) {
        return false;
    }
    // Not waited for: the program lives on its own.
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return true;
}

} // namespace

StartProcessFunction g_startProcess = &CreateProcessStart;

std::wstring QuotedCommandLine(const std::wstring& path, const std::wstring& arguments) {
    std::wstring line = L"\"" + path + L"\"";
    if (!arguments.empty()) {
        line += L" " + arguments;
    }
    return line;
}

bool StartProgram(const std::wstring& path, const std::wstring& arguments, int showWindow) {
    if (path.empty()) {
        return false;
    }
    return g_startProcess(ProcessStart{path, QuotedCommandLine(path, arguments), showWindow});
}

std::wstring SystemProgramPath(const wchar_t* fileName) {
    wchar_t system[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryW(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return {};
    }
    return JoinPath(system, fileName);
}

} // namespace tavimo
