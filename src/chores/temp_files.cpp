#include "chores/temp_files.h"

#include "chores/folder_contents.h"
#include "platform/paths.h"
#include "platform/unique_handle.h"

#include <windows.h>
// The known-folder ids are defined here, not taken from the uuid library.
#include <initguid.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <algorithm>
#include <optional>
#include <string_view>

namespace tavimo {

namespace {

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

} // namespace

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

} // namespace tavimo
