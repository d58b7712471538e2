#include "chores/cleanup.h"

#include "chores/cleanup_texts.h"
#include "chores/temp_files.h"
#include "chores/url_history.h"
#include "platform/app_title.h"
#include "platform/ask.h"
#include "platform/busy.h"
#include "platform/message_pump.h"
#include "platform/text.h"
#include "platform/unique_handle.h"
#include "platform/wait_cursor.h"

#include <shellapi.h>
#include <shlobj.h>
#include <wininet.h>

#include <algorithm>
#include <iterator>

namespace tavimo {

namespace {

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
    return std::wstring(kRecycleQuestion) + L"\r\n\r\n" + kRecycleCountPrefix + DecimalText(items) +
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
            return DecimalText(hundredths / 100) + std::wstring(decimalSeparator) +
                   (fraction < 10 ? L"0" : L"") + DecimalText(fraction) + unit.name;
        }
    }
    return DecimalText(bytes) + L" Byte";
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
