#pragma once
// A private folder under the temporary folder for each test, plus links to the outside made the way
// the platform makes them: Linux symlinks under Wine (its CreateSymbolicLinkW creates nothing),
// CreateSymbolicLinkW on Windows.

#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace tavimo::test_support {

inline bool RunningUnderWine() {
    return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

inline std::wstring Widen(const std::string& text) {
    const int length =
        ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

// Wine only: the Linux path of a Windows path.
inline std::wstring UnixPath(const std::wstring& path) {
    using UnixName = char*(CDECL*)(LPCWSTR);
    const auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void (*)()>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* name = unixName ? unixName(path.c_str()) : nullptr;
    if (!name) {
        return {};
    }
    std::wstring result = Widen(name);
    ::HeapFree(::GetProcessHeap(), 0, name);
    return result;
}

// Wine starts Linux programs from CreateProcessW but gives no waitable handle for them: callers poll
// for the effect instead.
inline bool StartLinuxProgram(std::wstring commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process)) {
        return false;
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return true;
}

template <typename Condition> bool WaitFor(Condition condition) {
    for (int i = 0; i < 250; ++i) {
        if (condition()) {
            return true;
        }
        ::Sleep(20);
    }
    return condition();
}

inline bool Exists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Present as a directory entry, even when it is a link whose target is gone.
inline bool EntryExists(const std::wstring& path) {
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return false;
    }
    ::FindClose(search);
    return true;
}

inline void WriteFileOfSize(const std::wstring& path, DWORD size, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    const std::string bytes(size, 'x');
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), size, &written, nullptr);
    ::CloseHandle(file);
    ASSERT_EQ(written, size);
}

inline std::string ReadBytes(const std::wstring& path) {
    std::ostringstream bytes;
    bytes << std::ifstream(std::filesystem::path(path), std::ios::binary).rdbuf();
    return bytes.str();
}

inline void WriteBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream(std::filesystem::path(path), std::ios::binary | std::ios::trunc) << bytes;
}

// A symbolic link at `link` to `target`; false when this system cannot make one (Windows without the
// privilege), so the caller can skip.
inline bool MakeSymlink(const std::wstring& link, const std::wstring& target, bool directory) {
    if (!RunningUnderWine()) {
        return ::CreateSymbolicLinkW(link.c_str(), target.c_str(),
                                     (directory ? SYMBOLIC_LINK_FLAG_DIRECTORY : 0) |
                                         SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) != FALSE;
    }
    const std::wstring unixLink = UnixPath(link);
    const std::wstring unixTarget = UnixPath(target);
    if (unixLink.empty() || unixTarget.empty() ||
        !StartLinuxProgram(L"/bin/ln -s \"" + unixTarget + L"\" \"" + unixLink + L"\"")) {
        return false;
    }
    return WaitFor([&] { return EntryExists(link); });
}

// Sends the files to the recycle bin.
inline void Recycle(const std::vector<std::wstring>& paths) {
    std::wstring from;
    for (const auto& path : paths) {
        from += path + L'\0';
    }
    from += L'\0';
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    ASSERT_EQ(::SHFileOperationW(&operation), 0);
}

inline bool QueryBin(SHQUERYRBINFO& info) {
    info = {};
    info.cbSize = sizeof(info);
    return ::SHQueryRecycleBinW(nullptr, &info) == S_OK;
}

// The bin is the one of this test's HOME (Wine keeps it in $HOME/.local/share/Trash). True when it
// exists and is empty; false when it holds anything already: not ours to empty, the caller skips.
// Wine cannot query a bin that was never used, so one throwaway file opens it first.
inline bool StartWithEmptyBin(const std::wstring& scratchFolder) {
    SHQUERYRBINFO info;
    if (QueryBin(info)) {
        return info.i64NumItems == 0;
    }
    const std::wstring opener = scratchFolder + L"\\bin-opener.tmp";
    ::CloseHandle(::CreateFileW(opener.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    Recycle({opener});
    if (!QueryBin(info) || info.i64NumItems != 1) {
        return false;
    }
    return ::SHEmptyRecycleBinW(nullptr, nullptr,
                                SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND) == S_OK;
}

// A fresh folder under the temporary folder, removed with everything in it (links included, never
// what they point to) when the test ends.
class Sandbox {
  public:
    Sandbox() {
        static int counter = 0;
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        root_ = std::wstring(temp) + L"tavimo-test-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                std::to_wstring(++counter);
        ::CreateDirectoryW(root_.c_str(), nullptr);
    }
    ~Sandbox() { RemoveTree(root_); }
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;

    const std::wstring& Root() const { return root_; }
    std::wstring Path(const std::wstring& relative) const { return root_ + L"\\" + relative; }
    std::wstring Folder(const std::wstring& relative) const {
        const std::wstring path = Path(relative);
        ::CreateDirectoryW(path.c_str(), nullptr);
        return path;
    }

  private:
    static void RemoveTree(const std::wstring& path) {
        if (RunningUnderWine()) {
            // rm never follows links; a Windows-side removal of a link would remove its target.
            const std::wstring unixPath = UnixPath(path);
            if (unixPath.find(L"tavimo-test-") != std::wstring::npos &&
                StartLinuxProgram(L"/bin/rm -rf \"" + unixPath + L"\"")) {
                WaitFor([&] { return !EntryExists(path); });
            }
            return;
        }
        WIN32_FIND_DATAW found;
        HANDLE search = ::FindFirstFileW((path + L"\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = found.cFileName;
                if (name == L"." || name == L"..") {
                    continue;
                }
                const std::wstring child = path + L"\\" + name;
                ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
                    // On Windows this removes the link itself.
                    (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? ::RemoveDirectoryW(child.c_str())
                                                                        : ::DeleteFileW(child.c_str());
                } else if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    RemoveTree(child);
                } else {
                    ::DeleteFileW(child.c_str());
                }
            } while (::FindNextFileW(search, &found));
            ::FindClose(search);
        }
        ::RemoveDirectoryW(path.c_str());
    }

    std::wstring root_;
};

} // namespace tavimo::test_support
