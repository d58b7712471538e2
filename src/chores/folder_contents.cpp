#include "chores/folder_contents.h"

#include "platform/paths.h"
#include "platform/unique_handle.h"
#include "platform/wait_cursor.h"

#include <windows.h>

namespace tavimo {

std::wstring FinalPath(const std::wstring& path, Links links) {
    const DWORD flags =
        FILE_FLAG_BACKUP_SEMANTICS | (links == Links::Kept ? FILE_FLAG_OPEN_REPARSE_POINT : DWORD{0});
    unique_file file(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, flags, nullptr));
    if (!file) {
        return {};
    }
    std::wstring resolved(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetFinalPathNameByHandleW(
            file.get(), resolved.data(), static_cast<DWORD>(resolved.size()), FILE_NAME_NORMALIZED);
        if (length == 0) {
            return {};
        }
        if (length < resolved.size()) {
            resolved.resize(length);
            return resolved;
        }
        resolved.resize(length);
    }
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                  static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

namespace {

void DeleteMatching(const std::wstring& folder, const std::wstring& realFolder, const std::wstring& pattern) {
    WIN32_FIND_DATAW found{};
    unique_find search(::FindFirstFileW(JoinPath(folder, pattern).c_str(), &found));
    if (!search) {
        return;
    }
    do {
        const std::wstring name(found.cFileName);
        if (name == L"." || name == L"..") {
            continue;
        }
        // Junctions, directory links and mount points are neither entered nor removed: under Wine,
        // removing a link removes what it points to.
        if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
            continue;
        }
        // Under Wine a link to a file carries no reparse bit, yet DeleteFileW deletes its target: only
        // an entry that really lives where its name says is touched.
        const std::wstring path = JoinPath(folder, name);
        const std::wstring realPath = JoinPath(realFolder, name);
        if (!SamePath(FinalPath(path, Links::Kept), realPath)) {
            continue;
        }
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            DeleteMatching(path, realPath, L"*.*");
            ::RemoveDirectoryW(path.c_str());
        } else if (!(found.dwFileAttributes & FILE_ATTRIBUTE_SYSTEM)) {
            ::DeleteFileW(path.c_str());
        }
    } while (::FindNextFileW(search.get(), &found));
}

} // namespace

void DeleteFolderContents(const std::wstring& folder, const std::wstring& pattern) {
    // An empty folder would join to "\<pattern>": the root of the current drive.
    if (folder.empty()) {
        return;
    }
    WaitCursorScope wait;
    const std::wstring realFolder = FinalPath(folder, Links::Kept);
    if (realFolder.empty()) {
        return;
    }
    DeleteMatching(folder, realFolder, pattern);
}

} // namespace tavimo
