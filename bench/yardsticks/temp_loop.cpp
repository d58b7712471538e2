// The temporary-files yardstick: the folder emptied by the plainest recursive loop. Links are skipped
// from what the search already reports, which costs nothing extra.
#include "timed_deletion.h"

namespace {

void DeleteContents(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L".." || (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
            continue;
        }
        const std::wstring path = folder + L"\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            DeleteContents(path);
            ::RemoveDirectoryW(path.c_str());
        } else {
            ::DeleteFileW(path.c_str());
        }
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return bench::TimedDeletion([](const std::wstring& folder) {
        DeleteContents(folder);
        return true;
    });
}
