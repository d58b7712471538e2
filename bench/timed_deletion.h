#pragma once
// The two temporary-files programs, "<program> <folder> <result file>": each runs its deletion on the
// folder and writes how long that took, in microseconds, to the result file. Only the deletion is
// timed, so the programs' different start-up costs stay out of the comparison.

#include <windows.h>
#include <shellapi.h>

#include <string>

namespace bench {

template <typename Deletion> int TimedDeletion(Deletion deletion) {
    int argc = 0;
    PWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (!argv || argc != 3) {
        return 2;
    }
    const std::wstring folder = argv[1];
    const std::wstring resultPath = argv[2];
    ::LocalFree(argv);

    LARGE_INTEGER frequency{}, start{}, end{};
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    const bool deleted = deletion(folder);
    ::QueryPerformanceCounter(&end);

    const std::string micros = std::to_string((end.QuadPart - start.QuadPart) * 1000000 / frequency.QuadPart);
    HANDLE file = ::CreateFileW(resultPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 2;
    }
    DWORD written = 0;
    const BOOL wrote = ::WriteFile(file, micros.data(), static_cast<DWORD>(micros.size()), &written, nullptr);
    ::CloseHandle(file);
    return wrote && deleted ? 0 : 1;
}

} // namespace bench
