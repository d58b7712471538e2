// The browser-cache chore alone ("/cookie" on the command line: the cookies instead): pending messages
// run once, then every cache entry is walked and the matching ones deleted.
#include <windows.h>
#include <wininet.h>

#include <cstring>
#include <vector>

namespace {

// One entry into `buffer`, grown when the entry does not fit: ERROR_SUCCESS or the error that ended it.
template <typename Call> DWORD FetchEntry(std::vector<unsigned char>& buffer, Call call) {
    for (;;) {
        auto* entry = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer.data());
        entry->dwStructSize = sizeof(INTERNET_CACHE_ENTRY_INFOA);
        DWORD size = static_cast<DWORD>(buffer.size());
        if (call(entry, &size)) {
            return ERROR_SUCCESS;
        }
        const DWORD error = ::GetLastError();
        if (error != ERROR_INSUFFICIENT_BUFFER || size <= buffer.size()) {
            return error;
        }
        buffer.resize(size);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    const bool cookies = ::lstrcmpiW(commandLine, L"/cookie") == 0;
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    std::vector<unsigned char> buffer(4096);
    HANDLE search = nullptr;
    DWORD status = FetchEntry(buffer, [&search](INTERNET_CACHE_ENTRY_INFOA* entry, DWORD* size) {
        search = ::FindFirstUrlCacheEntryA(nullptr, entry, size);
        return search != nullptr;
    });
    while (status == ERROR_SUCCESS) {
        const auto* entry = reinterpret_cast<const INTERNET_CACHE_ENTRY_INFOA*>(buffer.data());
        const char* url = entry->lpszSourceUrlName;
        if ((entry->CacheEntryType & NORMAL_CACHE_ENTRY) && url && *url &&
            (std::strstr(url, "Cookie") != nullptr) == cookies) {
            ::DeleteUrlCacheEntryA(url);
        }
        status = FetchEntry(buffer, [search](INTERNET_CACHE_ENTRY_INFOA* entry, DWORD* size) {
            return ::FindNextUrlCacheEntryA(search, entry, size) != FALSE;
        });
    }
    if (search) {
        ::FindCloseUrlCache(search);
    }
    return status == ERROR_NO_MORE_ITEMS ? 0 : 1;
}
