#include "chores/cleanup.h"

#include "platform/app_title.h"
#include "platform/ask.h"
#include "platform/busy.h"
#include "platform/wait_cursor.h"
#include "chores/cleanup_texts.h"
#include "chores/url_history.h"
#include "platform/message_pump.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "platform/unique_handle.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <wininet.h>

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <optional>
#include <string_view>
#include <utility>

namespace tavimo {

namespace {

enum class Links { Kept, Followed };

// Where the entry really is, as the file system resolves it; empty when it cannot be opened. With
// Links::Kept a link names itself, with Links::Followed the place it leads to.
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

bool StartsWith(const std::wstring& text, std::wstring_view prefix) {
    return text.size() >= prefix.size() &&
           ::CompareStringOrdinal(text.c_str(), static_cast<int>(prefix.size()), prefix.data(),
                                  static_cast<int>(prefix.size()), TRUE) == CSTR_EQUAL;
}

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

// "X:\..." or "\\...": names the same folder whatever folder and drive are current.
bool IsFullPath(const std::wstring& path) {
    const bool driveLetter = path.size() >= 3 && ((path[0] | 0x20) >= L'a' && (path[0] | 0x20) <= L'z') &&
                             path[1] == L':' && IsSeparator(path[2]);
    return driveLetter || (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]));
}

// A path as its root ("C:" or "\\server\share") and the names below it.
struct PathParts {
    std::wstring root;
    std::vector<std::wstring> names;
};

// Nothing for a path of any other shape, or one with empty, "." or ".." names: a final path never
// has those, so such a path is not one the guard can reason about.
std::optional<PathParts> SplitPath(std::wstring path) {
    std::replace(path.begin(), path.end(), L'/', L'\\');
    bool share = true;
    if (StartsWith(path, L"\\\\?\\UNC\\") || StartsWith(path, L"\\\\.\\UNC\\")) {
        path.erase(0, 8);
    } else if (StartsWith(path, L"\\\\?\\") || StartsWith(path, L"\\\\.\\")) {
        path.erase(0, 4);
        share = false;
    } else if (StartsWith(path, L"\\\\")) {
        path.erase(0, 2);
    } else {
        share = false;
    }
    std::vector<std::wstring> names;
    for (size_t start = 0;;) {
        const size_t end = path.find(L'\\', start);
        names.push_back(path.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
        if (end == std::wstring::npos) {
            break;
        }
        start = end + 1;
    }
    if (names.size() > 1 && names.back().empty()) {
        names.pop_back(); // one trailing separator
    }
    PathParts parts;
    const size_t rootNames = share ? 2 : 1;
    if (names.size() < rootNames) {
        return std::nullopt;
    }
    if (share) {
        if (names[0] == L"." || names[0] == L"?") {
            return std::nullopt;
        }
        parts.root = L"\\\\" + names[0] + L"\\" + names[1];
    } else {
        if (!IsFullPath(names[0] + L"\\")) {
            return std::nullopt;
        }
        parts.root = names[0];
    }
    parts.names.assign(names.begin() + static_cast<std::ptrdiff_t>(rootNames), names.end());
    for (const std::wstring& name : names) {
        if (name.empty() || name == L"." || name == L"..") {
            return std::nullopt;
        }
    }
    return parts;
}

// `inner` is `outer` or lies below it.
bool IsAtOrBelow(const PathParts& inner, const PathParts& outer) {
    if (!SamePath(inner.root, outer.root) || inner.names.size() < outer.names.size()) {
        return false;
    }
    return std::equal(outer.names.begin(), outer.names.end(), inner.names.begin(), SamePath);
}

// Each folder by its own final path; one that cannot be opened keeps its name, so it still counts.
std::vector<std::wstring> FinalPaths(const std::vector<std::wstring>& folders) {
    std::vector<std::wstring> resolved;
    for (const std::wstring& folder : folders) {
        if (!folder.empty()) {
            const std::wstring finalPath = FinalPath(folder, Links::Followed);
            resolved.push_back(finalPath.empty() ? folder : finalPath);
        }
    }
    return resolved;
}

std::wstring EnvironmentValue(const wchar_t* name) {
    std::wstring value(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
        if (length < value.size()) {
            value.resize(length);
            return value;
        }
        value.resize(length);
    }
}

std::wstring KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    const HRESULT result = ::SHGetKnownFolderPath(id, 0, nullptr, &path);
    scope_exit release([path] { ::CoTaskMemFree(path); });
    return SUCCEEDED(result) && path ? std::wstring(path) : std::wstring();
}

std::wstring SystemWindowsFolder() {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = ::GetSystemWindowsDirectoryW(folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(folder, length) : std::wstring();
}

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

std::wstring UserDecimalSeparator() {
    wchar_t separator[8] = {};
    if (::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator,
                          static_cast<int>(std::size(separator))) <= 1) {
        return L".";
    }
    return separator;
}

void CloseCacheSearch(HANDLE search) noexcept {
    ::FindCloseUrlCache(search);
}
using unique_cache_search = unique_any<HANDLE, CloseCacheSearch>;

// Fetches one cache entry into `buffer`: first with no buffer to learn the size, then into a buffer of
// that size, sized again if the entry grew in between. ERROR_SUCCESS, or the error that ended it.
template <typename Fetch> DWORD FetchCacheEntry(unique_hlocal& buffer, Fetch fetch) {
    buffer.reset();
    DWORD allocated = 0;
    for (;;) {
        auto* entry = static_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer.get());
        DWORD size = allocated;
        if (entry) {
            entry->dwStructSize = sizeof(INTERNET_CACHE_ENTRY_INFOA);
        }
        if (fetch(entry, &size)) {
            return entry ? ERROR_SUCCESS : ERROR_INVALID_DATA;
        }
        const DWORD error = ::GetLastError();
        if (error != ERROR_INSUFFICIENT_BUFFER || size <= allocated) {
            return error;
        }
        allocated = std::max(size, static_cast<DWORD>(sizeof(INTERNET_CACHE_ENTRY_INFOA)));
        buffer.reset(::LocalAlloc(LMEM_FIXED, allocated));
        if (!buffer) {
            return ERROR_NOT_ENOUGH_MEMORY;
        }
    }
}

bool IsCookieUrl(const std::string& url) {
    // Compared as text, not bytes: a trail byte of a double-byte character must not start a match.
    return AnsiToWide(url).find(L"Cookie") != std::wstring::npos;
}

std::wstring RecycleQuestion(long long items, long long bytes) {
    using namespace cleanup_texts;
    return std::wstring(kRecycleQuestion) + L"\r\n\r\n" + kRecycleCountPrefix + std::to_wstring(items) +
           kRecycleCountUnit + FormatByteSize(bytes > 0 ? static_cast<std::uint64_t>(bytes) : 0) + L")";
}

} // namespace

bool EmptyRecycleBin(bool confirm, const wchar_t* rootPath, DWORD flags) {
    if (confirm) {
        // We ask, so the shell must not ask again.
        flags |= SHERB_NOCONFIRMATION;
        SHQUERYRBINFO info{};
        info.cbSize = sizeof(info); // 20 bytes in 32-bit builds, 24 in 64-bit ones
        if (FAILED(::SHQueryRecycleBinW(rootPath, &info))) {
            return false;
        }
        if (info.i64NumItems <= 0) {
            return true;
        }
        const std::wstring question = RecycleQuestion(info.i64NumItems, info.i64Size);
        const int answer = Ask(::GetActiveWindow(), question.c_str(), cleanup_texts::kRecycleCaption,
                               MB_OKCANCEL | MB_ICONQUESTION);
        if (answer == IDCANCEL) {
            return true;
        }
        // Only OK empties: a box that could not be shown (0) is no consent.
        if (answer != IDOK) {
            return false;
        }
    }
    return ::SHEmptyRecycleBinW(nullptr, rootPath, flags) == S_OK;
}

std::wstring FormatByteSize(std::uint64_t bytes) {
    return FormatByteSize(bytes, UserDecimalSeparator());
}

std::wstring FormatByteSize(std::uint64_t bytes, std::wstring_view decimalSeparator) {
    struct Unit {
        std::uint64_t size;
        const wchar_t* name;
    };
    static constexpr Unit kUnits[] = {{1ull << 30, L" GB"}, {1ull << 20, L" MB"}, {1ull << 10, L" KB"}};
    for (const Unit& unit : kUnits) {
        if (bytes >= unit.size) {
            // Integer arithmetic, rounding halves up: no floating-point error at any size.
            const std::uint64_t hundredths =
                bytes / unit.size * 100 + (bytes % unit.size * 100 + unit.size / 2) / unit.size;
            const std::uint64_t fraction = hundredths % 100;
            return std::to_wstring(hundredths / 100) + std::wstring(decimalSeparator) +
                   (fraction < 10 ? L"0" : L"") + std::to_wstring(fraction) + unit.name;
        }
    }
    return std::to_wstring(bytes) + L" Byte";
}

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

std::wstring GetTempFolder() {
    std::wstring setting = EnvironmentValue(L"TMP");
    if (setting.empty()) {
        setting = EnvironmentValue(L"TEMP");
    }
    if (!IsFullPath(setting)) {
        return {};
    }
    std::wstring folder(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetFullPathNameW(setting.c_str(), static_cast<DWORD>(folder.size()), folder.data(), nullptr);
        if (length == 0) {
            return {};
        }
        if (length < folder.size()) {
            folder.resize(length);
            break;
        }
        folder.resize(length);
    }
    if (folder.back() != L'\\') {
        folder += L'\\';
    }
    return folder;
}

ProtectedFolders SystemProtectedFolders() {
    const std::wstring windows = SystemWindowsFolder();
    ProtectedFolders folders;
    folders.folders = {KnownFolder(FOLDERID_Profile), KnownFolder(FOLDERID_UserProfiles), ExeFolder()};
    // A 32-bit process is told only of the 32-bit program files folder; ProgramW6432 names the other.
    folders.trees = {windows, KnownFolder(FOLDERID_ProgramFiles), KnownFolder(FOLDERID_ProgramFilesX86),
                     KnownFolder(FOLDERID_ProgramFilesX64), EnvironmentValue(L"ProgramW6432")};
    if (!windows.empty()) {
        folders.allowedInTrees = {JoinPath(windows, L"Temp")};
    }
    return folders;
}

bool IsSafeTempFolder(const std::wstring& finalPath, const ProtectedFolders& protectedFolders) {
    const std::optional<PathParts> candidate = SplitPath(finalPath);
    if (!candidate || candidate->names.empty()) {
        return false;
    }
    const auto isOrHolds = [&candidate](const std::wstring& folder) {
        const std::optional<PathParts> other = SplitPath(folder);
        return other && IsAtOrBelow(*other, *candidate);
    };
    const auto isAtOrBelow = [&candidate](const std::wstring& folder) {
        const std::optional<PathParts> other = SplitPath(folder);
        return other && IsAtOrBelow(*candidate, *other);
    };
    const auto& [folders, trees, allowed] = protectedFolders;
    if (std::any_of(folders.begin(), folders.end(), isOrHolds) ||
        std::any_of(trees.begin(), trees.end(), isOrHolds)) {
        return false;
    }
    return std::none_of(trees.begin(), trees.end(), isAtOrBelow) ||
           std::any_of(allowed.begin(), allowed.end(), isAtOrBelow);
}

std::wstring TempFolderToEmpty(const std::wstring& folder, const ProtectedFolders& protectedFolders) {
    if (!IsFullPath(folder)) {
        return {};
    }
    const std::wstring finalPath = FinalPath(folder, Links::Followed);
    if (finalPath.empty()) {
        return {};
    }
    const ProtectedFolders resolved{FinalPaths(protectedFolders.folders), FinalPaths(protectedFolders.trees),
                                    FinalPaths(protectedFolders.allowedInTrees)};
    return IsSafeTempFolder(finalPath, resolved) ? finalPath : std::wstring();
}

bool DeleteTempFiles(const std::wstring& folder, const ProtectedFolders& protectedFolders) {
    // The folder checked is the folder emptied: its final path, not its spelling.
    const std::wstring target = TempFolderToEmpty(folder, protectedFolders);
    if (target.empty()) {
        return false;
    }
    DeleteFolderContents(target, L"*.*");
    return true;
}

bool DeleteTempFiles() {
    return DeleteTempFiles(GetTempFolder(), SystemProtectedFolders());
}

bool ClearRecentDocs() {
    // No path empties the list.
    ::SHAddToRecentDocs(SHARD_PATHA, nullptr);
    return true;
}

bool ClearUrlCache(bool cookiesOnly) {
    RunPendingMessages(); // the queued messages run once before the long pass
    unique_cache_search search;
    unique_hlocal buffer;
    DWORD status = FetchCacheEntry(buffer, [&search](INTERNET_CACHE_ENTRY_INFOA* entry, DWORD* size) {
        HANDLE found = ::FindFirstUrlCacheEntryA(nullptr, entry, size);
        search.reset(found);
        return found != nullptr;
    });
    while (status == ERROR_SUCCESS) {
        const auto* entry = static_cast<const INTERNET_CACHE_ENTRY_INFOA*>(buffer.get());
        if (entry->CacheEntryType & NORMAL_CACHE_ENTRY) {
            const std::string url = PtrToAnsiString(entry->lpszSourceUrlName);
            if (!url.empty() && IsCookieUrl(url) == cookiesOnly) {
                ::DeleteUrlCacheEntryA(url.c_str());
            }
        }
        status = FetchCacheEntry(buffer, [&search](INTERNET_CACHE_ENTRY_INFOA* next, DWORD* size) {
            return ::FindNextUrlCacheEntryA(search.get(), next, size) != FALSE;
        });
    }
    return status == ERROR_NO_MORE_ITEMS;
}

std::string PtrToAnsiString(const char* text) {
    if (!text) {
        return {};
    }
    return std::string(text, static_cast<size_t>(::lstrlenA(text)));
}

bool RunCleanup(CleanupItem item) {
    switch (item) {
    case CleanupItem::EmptyRecycleBin:
        return EmptyRecycleBin(true, nullptr, 0);
    case CleanupItem::DeleteTempFiles:
        return DeleteTempFiles();
    case CleanupItem::ClearRecentDocs:
        return ClearRecentDocs();
    case CleanupItem::ClearCache:
        return ClearUrlCache(false);
    case CleanupItem::ClearCookies:
        return ClearUrlCache(true);
    case CleanupItem::ClearHistory:
        // A history object that cannot be created ends the item quietly, like every other failure here.
        return ClearUrlHistory() == S_OK;
    }
    return false;
}

bool RunCleanupMenu(HWND window, int index) {
    if (index < 0 || index > static_cast<int>(CleanupItem::ClearHistory)) {
        return false;
    }
    BusyScope busy;
    WaitCursorScope wait;
    ::SetWindowTextW(window, (std::wstring(kAppTitle) + cleanup_texts::kBusyCaptionSuffix).c_str());
    scope_exit restoreCaption([window] { ::SetWindowTextW(window, kAppTitle); });
    return RunCleanup(static_cast<CleanupItem>(index));
}

} // namespace tavimo
