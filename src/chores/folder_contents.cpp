#include "chores/folder_contents.h"

#include "platform/paths.h"
#include "platform/unique_handle.h"
#include "platform/wait_cursor.h"

#include <windows.h>

#include <vector>

namespace tavimo {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

unique_file OpenEntry(const std::wstring& path, DWORD access, DWORD flags) {
    return unique_file(
        ::CreateFileW(path.c_str(), access, kShareAll, nullptr, OPEN_EXISTING, flags, nullptr));
}

// Where an open file or folder really is; empty when the system cannot say.
std::wstring FinalPathOf(HANDLE file) {
    std::wstring resolved(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetFinalPathNameByHandleW(
            file, resolved.data(), static_cast<DWORD>(resolved.size()), FILE_NAME_NORMALIZED);
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

} // namespace

std::wstring FinalPath(const std::wstring& path, Links links) {
    const unique_file file = OpenEntry(path, FILE_READ_ATTRIBUTES,
                                       FILE_FLAG_BACKUP_SEMANTICS |
                                           (links == Links::Kept ? FILE_FLAG_OPEN_REPARSE_POINT : DWORD{0}));
    return file ? FinalPathOf(file.get()) : std::wstring();
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                  static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

namespace {

constexpr DWORD kEntryFlags = FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS;

// Fails, and changes nothing, for a read-only file or a folder that is not empty.
void DeleteOnClose(HANDLE entry) {
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = TRUE;
    ::SetFileInformationByHandle(entry, FileDispositionInfo, &disposition, sizeof(disposition));
}

void DeleteEntry(const std::wstring& folder, const std::wstring& realFolder, const std::wstring& name,
                 DWORD attributes);

// Lists the folder through the handle that was checked, so the listing cannot be led elsewhere either.
// (Wine's own listing asks for no delete sharing, so it could not open a folder held for deletion.)
void DeleteListed(HANDLE folderHandle, const std::wstring& folder, const std::wstring& realFolder) {
    std::vector<ULONGLONG> buffer(8 * 1024); // 64 KiB, aligned as the records need
    FILE_INFO_BY_HANDLE_CLASS batch = FileFullDirectoryRestartInfo;
    while (::GetFileInformationByHandleEx(folderHandle, batch, buffer.data(),
                                          static_cast<DWORD>(buffer.size() * sizeof(buffer[0])))) {
        batch = FileFullDirectoryInfo;
        const auto* record = reinterpret_cast<const BYTE*>(buffer.data());
        for (;;) {
            const auto& entry = *reinterpret_cast<const FILE_FULL_DIR_INFO*>(record);
            DeleteEntry(folder, realFolder,
                        std::wstring(entry.FileName, entry.FileNameLength / sizeof(WCHAR)),
                        entry.FileAttributes);
            if (entry.NextEntryOffset == 0) {
                break;
            }
            record += entry.NextEntryOffset;
        }
    }
}

// Each entry is opened once: checked, emptied when it is a folder, and deleted through that one handle.
void DeleteEntry(const std::wstring& folder, const std::wstring& realFolder, const std::wstring& name,
                 DWORD attributes) {
    if (name == L"." || name == L"..") {
        return;
    }
    // Junctions, directory links and mount points are neither entered nor removed: under Wine,
    // removing a link removes what it points to.
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        return;
    }
    const bool isFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (!isFolder && (attributes & FILE_ATTRIBUTE_SYSTEM)) {
        return;
    }
    const std::wstring path = JoinPath(folder, name);
    const DWORD access = FILE_READ_ATTRIBUTES | (isFolder ? FILE_LIST_DIRECTORY : DWORD{0});
    unique_file entry = OpenEntry(path, access | DELETE, kEntryFlags);
    const bool deletable = static_cast<bool>(entry);
    if (!deletable && isFolder) {
        // A folder held without delete sharing (a program's current folder) is still emptied; only
        // the folder itself stays.
        entry = OpenEntry(path, access, kEntryFlags);
    }
    // Under Wine a link to a file carries no reparse bit, yet deleting it deletes its target: only an
    // entry that really lives where its name says is touched, and only through the handle checked.
    const std::wstring realPath = JoinPath(realFolder, name);
    if (!entry || !SamePath(FinalPathOf(entry.get()), realPath)) {
        return;
    }
    if (isFolder) {
        DeleteListed(entry.get(), path, realPath);
    }
    if (deletable) {
        DeleteOnClose(entry.get());
    }
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
    WIN32_FIND_DATAW found{};
    unique_find search(::FindFirstFileW(JoinPath(folder, pattern).c_str(), &found));
    if (!search) {
        return;
    }
    do {
        DeleteEntry(folder, realFolder, found.cFileName, found.dwFileAttributes);
    } while (::FindNextFileW(search.get(), &found));
}

} // namespace tavimo
