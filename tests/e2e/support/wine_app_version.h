#pragma once
// Makes Wine report an older Windows (5.2) to Tavimo.exe for the scope, through Wine's
// per-application defaults in the test prefix, so the older volume path runs whole.

#include <windows.h>

namespace e2e {

class OlderWindows {
  public:
    OlderWindows() {
        ::RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"Version", REG_SZ, L"winxp64", sizeof(L"winxp64"));
    }
    ~OlderWindows() { ::RegDeleteTreeW(HKEY_CURRENT_USER, kKey); }
    OlderWindows(const OlderWindows&) = delete;
    OlderWindows& operator=(const OlderWindows&) = delete;

  private:
    static constexpr wchar_t kKey[] = L"Software\\Wine\\AppDefaults\\Tavimo.exe";
};

} // namespace e2e
