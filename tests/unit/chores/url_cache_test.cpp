#include "chores/cleanup.h"

#include <wininet.h>

#include <gtest/gtest.h>

#include <string>

namespace tavimo {
namespace {

struct CacheEntry {
    const char* url;
    DWORD type;
    bool cookie; // holds "Cookie", case-sensitively
};

// Entries in this test's own Wine prefix. The cookie one goes to the cookie container by its prefix;
// the lower-case "cookie" one is an ordinary page.
const CacheEntry kEntries[] = {
    {"http://tavimo.test/page.html", NORMAL_CACHE_ENTRY, false},
    {"http://tavimo.test/cookie/lower.html", NORMAL_CACHE_ENTRY, false},
    {"Cookie:user@tavimo.test/", NORMAL_CACHE_ENTRY | COOKIE_CACHE_ENTRY, true},
};

void AddEntry(const CacheEntry& entry) {
    char file[MAX_PATH] = {};
    ASSERT_TRUE(::CreateUrlCacheEntryA(entry.url, 0, "txt", file, 0)) << entry.url << " " << ::GetLastError();
    HANDLE handle = ::CreateFileA(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(handle, "data", 4, &written, nullptr);
    ::CloseHandle(handle);
    FILETIME never{};
    ASSERT_TRUE(::CommitUrlCacheEntryA(entry.url, file, never, never, entry.type, nullptr, 0, "txt", nullptr))
        << entry.url << " " << ::GetLastError();
}

bool InCache(const char* url) {
    DWORD size = 0;
    if (::GetUrlCacheEntryInfoA(url, nullptr, &size)) {
        return true;
    }
    return ::GetLastError() == ERROR_INSUFFICIENT_BUFFER;
}

TEST(Cleanup_ClearUrlCache, CookiePassAndCachePassSplitOnCaseSensitiveCookie) {
    for (const bool cookiesOnly : {true, false}) {
        SCOPED_TRACE(cookiesOnly ? "cookie pass" : "cache pass");
        for (const auto& entry : kEntries) {
            AddEntry(entry);
            ASSERT_TRUE(InCache(entry.url)) << entry.url;
        }

        EXPECT_TRUE(ClearUrlCache(cookiesOnly));

        for (const auto& entry : kEntries) {
            EXPECT_EQ(InCache(entry.url), entry.cookie != cookiesOnly) << entry.url;
        }
    }
    for (const auto& entry : kEntries) {
        ::DeleteUrlCacheEntryA(entry.url);
    }
}

TEST(Cleanup_ClearUrlCache, EmptyCacheIsNothingToDo) {
    ClearUrlCache(true);
    ClearUrlCache(false);
    EXPECT_TRUE(ClearUrlCache(false));
}

} // namespace
} // namespace tavimo
