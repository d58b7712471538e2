#pragma once
// The one-shot deletions of the file-deletion menu and their switches: recycle bin, temporary files,
// recent documents, browser cache, cookies and URL history.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>
#include <string_view>

namespace tavimo {

// Indices of the file-deletion menu's items.
enum class CleanupItem : int {
    EmptyRecycleBin = 0, // also "/recycle"
    DeleteTempFiles = 1,
    ClearRecentDocs = 2, // also "/recent"
    ClearCache = 3,      // also "/cashe"
    ClearCookies = 4,    // also "/cookie"
    ClearHistory = 5,    // also "/history"
};

// With confirm, asks through Ask (OK/Cancel, question icon) showing the number of items and their size,
// and the shell asks nothing more. True when the bin was emptied, was already empty, or the user chose
// Cancel; false when it could not be queried, the question could not be shown, or emptying failed.
// rootPath null means all drives.
bool EmptyRecycleBin(bool confirm, const wchar_t* rootPath, DWORD flags);

// "1023 Byte", "1.50 KB", "2.00 MB", "1.00 GB": two decimals from 1024 bytes on, with the user's decimal
// separator (or the one given).
std::wstring FormatByteSize(std::uint64_t bytes);
std::wstring FormatByteSize(std::uint64_t bytes, std::wstring_view decimalSeparator);

// Empties the shell's list of recently used documents. Always true: the shell reports nothing.
bool ClearRecentDocs();

// Deletes the browser's cache entries whose URL holds "Cookie" (cookiesOnly) or all the others; the
// match is case-sensitive. Entries that cannot be deleted stay. False only when the cache could not be
// walked to its end.
bool ClearUrlCache(bool cookiesOnly);

// The NUL-terminated ANSI text at the pointer; empty for a null pointer.
std::string PtrToAnsiString(const char* text);

// Runs one item as its switch does: the item's result.
bool RunCleanup(CleanupItem item);

// The file-deletion menu's handler: runs item `index` (CleanupItem) with the wait cursor, the caption
// "<title>　削除処理中" and the busy flag raised, and puts all three back on every way out. The operation's
// result; false for an index that is not an item.
bool RunCleanupMenu(HWND window, int index);

} // namespace tavimo
