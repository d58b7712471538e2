// A DLL beside the exe that bears a system DLL's name (a download folder, a USB stick) is never loaded:
// the system DLLs that load on first use come from the system folder only.
#include "tavimo_driver.h"

#include <gtest/gtest.h>

namespace e2e {
namespace {

std::wstring BesideTheTest(const wchar_t* name) {
    std::wstring path(MAX_PATH, L'\0');
    path.resize(::GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
    return path.substr(0, path.find_last_of(L'\\') + 1) + name;
}

// Wine prefers its own built-in DLLs. For the scope it loads a native DLL of these names first, as
// Windows always does, from wherever Tavimo's search finds one (Wine's per-application defaults in the
// test prefix).
class NativeFirst {
  public:
    NativeFirst() {
        for (const wchar_t* dll : kDlls) {
            ::RegSetKeyValueW(HKEY_CURRENT_USER, kKey, dll, REG_SZ, L"native,builtin",
                              sizeof(L"native,builtin"));
        }
    }
    ~NativeFirst() { ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKey); }
    NativeFirst(const NativeFirst&) = delete;
    NativeFirst& operator=(const NativeFirst&) = delete;

    // Not ole32: Wine's own shell32 loads it by name from the exe's folder, where Windows would take it
    // from the known DLLs.
    static constexpr const wchar_t* kDlls[] = {L"wininet", L"shell32"};

  private:
    static constexpr wchar_t kAppKey[] = L"Software\\Wine\\AppDefaults\\Tavimo.exe";
    static constexpr wchar_t kKey[] = L"Software\\Wine\\AppDefaults\\Tavimo.exe\\DllOverrides";
};

TEST(DllSearch, ASystemDllNamedBesideTheExeIsNeverLoaded) {
    const NativeFirst nativeFirst;
    TavimoFolder folder;
    for (const wchar_t* dll : NativeFirst::kDlls) {
        const std::wstring name = std::wstring(dll) + L".dll";
        ASSERT_TRUE(::CopyFileW(BesideTheTest(L"planted_dll.dll").c_str(), folder.File(name).c_str(), FALSE))
            << name;
    }
    for (const wchar_t* arguments : {L"/cashe", L"/cookie", L"/recent"}) {
        ::DeleteFileW(folder.File(L"planted.loaded").c_str());
        Process process = Launch(folder.Exe(), arguments);
        const auto code = process.Wait(30s);
        if (!code) {
            process.Kill();
        }
        EXPECT_EQ(code, std::optional<DWORD>(0)) << arguments;
        EXPECT_FALSE(FileExists(folder.File(L"planted.loaded"))) << arguments;
    }
}

} // namespace
} // namespace e2e
