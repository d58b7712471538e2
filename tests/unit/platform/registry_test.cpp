#include "platform/registry.h"

#include <sddl.h>

#include <gtest/gtest.h>

#include <cmath>

namespace tavimo {
namespace {

// A key of its own under HKEY_CURRENT_USER of this test's Wine prefix, removed afterwards.
class RegistryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        key_ = L"Software\\TavimoTest\\registry-" + std::to_wstring(::GetCurrentProcessId());
        ::RegDeleteTreeW(HKEY_CURRENT_USER, key_.c_str());
    }
    void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, key_.c_str()); }

    struct Raw {
        DWORD type = REG_NONE;
        std::vector<BYTE> bytes;
    };
    Raw Stored(const std::wstring& subKey, const wchar_t* name) {
        Raw raw;
        DWORD size = 0;
        const std::wstring path = key_ + subKey;
        EXPECT_EQ(::RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, &raw.type,
                                 nullptr, &size),
                  ERROR_SUCCESS);
        raw.bytes.resize(size);
        ::RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, nullptr,
                       raw.bytes.data(), &size);
        return raw;
    }
    void Store(const wchar_t* name, DWORD type, const void* data, DWORD size) {
        ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, key_.c_str(), name, type, data, size), ERROR_SUCCESS);
    }
    void StoreText(const wchar_t* name, DWORD type, const std::wstring& text) {
        Store(name, type, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }

    std::wstring key_;
};

std::vector<BYTE> TextBytes(const std::wstring& text) {
    const auto* first = reinterpret_cast<const BYTE*>(text.c_str());
    return {first, first + (text.size() + 1) * sizeof(wchar_t)};
}

TEST_F(RegistryTest, WriteStoresTypeAndBytesByKindAndReadsBack) {
    struct Case {
        const wchar_t* name;
        RegValue value;
        DWORD type;
        std::vector<BYTE> bytes;
        RegReadResult readBack;
    };
    const Case cases[] = {
        {L"text", std::wstring(L"C:\\scr\\a.scr"), REG_SZ, TextBytes(L"C:\\scr\\a.scr"), L"C:\\scr\\a.scr"},
        // Characters the ANSI code page lacks survive.
        {L"wide", std::wstring(L"Ren\u00e9e \U0001F600"), REG_SZ, TextBytes(L"Ren\u00e9e \U0001F600"),
         L"Ren\u00e9e \U0001F600"},
        {L"true", true, REG_DWORD, {0xFF, 0xFF, 0xFF, 0xFF}, 4294967295u},
        {L"false", false, REG_DWORD, {0, 0, 0, 0}, 0u},
        {L"short", std::int16_t{-2}, REG_DWORD, {0xFE, 0xFF, 0xFF, 0xFF}, 4294967294u},
        {L"long", std::int32_t{0x01020304}, REG_DWORD, {4, 3, 2, 1}, 16909060u},
        {L"one byte", std::vector<std::uint8_t>{0x7F}, REG_BINARY, {0x7F}, RegReadError::UndefinedType},
        {L"double", 1.5, REG_SZ, TextBytes(L"1.5"), L"1.5"},
        // Fifteen significant digits, and C99's two-digit exponent (not the runtime's three).
        {L"double digits", -2.0 / 3.0, REG_SZ, TextBytes(L"-0.666666666666667"), L"-0.666666666666667"},
        {L"double large", 1e20, REG_SZ, TextBytes(L"1e+20"), L"1e+20"},
        {L"double small", 2.5e-7, REG_SZ, TextBytes(L"2.5e-07"), L"2.5e-07"},
        {L"double huge", 1e300, REG_SZ, TextBytes(L"1e+300"), L"1e+300"},
        {L"double infinite", -HUGE_VAL, REG_SZ, TextBytes(L"-inf"), L"-inf"},
    };
    const std::wstring missingSubKey = L"\\created\\on demand";
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(c.name)));
        ASSERT_TRUE(WriteRegValue(HKEY_CURRENT_USER, key_ + missingSubKey, c.name, c.value));
        const Raw raw = Stored(missingSubKey, c.name);
        EXPECT_EQ(raw.type, c.type);
        EXPECT_EQ(raw.bytes, c.bytes);
        EXPECT_EQ(ReadRegValue(HKEY_CURRENT_USER, key_ + missingSubKey, c.name, std::wstring(L"default")),
                  c.readBack);
    }
}

TEST_F(RegistryTest, ReadGivesTextNumberDefaultOrUndefinedType) {
    const DWORD allBits = 0xFFFFFFFF;
    Store(L"dword", REG_DWORD, &allBits, sizeof(allBits));
    StoreText(L"sz", REG_SZ, L"C:\\Windows\\system32\\a.scr");
    StoreText(L"expand", REG_EXPAND_SZ, L"%SystemRoot%\\a.scr");
    StoreText(L"127 chars", REG_SZ, std::wstring(127, L'x')); // 256 bytes with its NUL: fits
    StoreText(L"128 chars", REG_SZ, std::wstring(128, L'x')); // 258 bytes: too long
    const BYTE bytes[] = {1, 2};
    Store(L"binary", REG_BINARY, bytes, sizeof(bytes));

    struct Case {
        const wchar_t* name;
        RegData defaultValue;
        RegReadResult expected;
        const wchar_t* asText;
    };
    const Case cases[] = {
        {L"dword", std::wstring(L""), 4294967295u, L"4294967295"},
        {L"sz", std::wstring(L""), L"C:\\Windows\\system32\\a.scr", L"C:\\Windows\\system32\\a.scr"},
        {L"expand", std::wstring(L""), RegReadError::UndefinedType, L"未定義データタイプ"},
        {L"binary", std::wstring(L""), RegReadError::UndefinedType, L"未定義データタイプ"},
        {L"127 chars", std::wstring(L"default"), std::wstring(127, L'x'), nullptr},
        {L"128 chars", std::wstring(L"default"), L"default", L"default"},
        {L"missing", std::uint32_t{7}, 7u, L"7"}, // the default comes back unchanged, number and all
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(c.name)));
        const RegReadResult result = ReadRegValue(HKEY_CURRENT_USER, key_, c.name, c.defaultValue);
        EXPECT_EQ(result, c.expected);
        if (c.asText) {
            EXPECT_EQ(RegResultText(result), c.asText);
        }
    }
}

TEST_F(RegistryTest, KeyThatCannotBeOpenedWithFullAccessGivesKeyOpenError) {
    StoreText(L"sz", REG_SZ, L"readable");
    // Everyone may read, nobody may write: Wine enforces a key's own access list.
    PSECURITY_DESCRIPTOR readOnly = nullptr;
    ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;KR;;;WD)", SDDL_REVISION_1,
                                                                       &readOnly, nullptr));
    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, key_.c_str(), 0, WRITE_DAC, &key), ERROR_SUCCESS);
    EXPECT_EQ(::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, readOnly), ERROR_SUCCESS);
    ::RegCloseKey(key);
    ::LocalFree(readOnly);
    HKEY readable = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, key_.c_str(), 0, KEY_READ, &readable), ERROR_SUCCESS);
    ::RegCloseKey(readable);

    const RegReadResult result = ReadRegValue(HKEY_CURRENT_USER, key_, L"sz", std::wstring(L""));

    EXPECT_EQ(result, RegReadResult(RegReadError::KeyOpen));
    EXPECT_EQ(RegResultText(result), L"キーオープンエラー");

    // Give the key back its full access so it can be removed.
    PSECURITY_DESCRIPTOR open = nullptr;
    ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(A;;KA;;;WD)", SDDL_REVISION_1,
                                                                       &open, nullptr));
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, key_.c_str(), 0, WRITE_DAC, &key), ERROR_SUCCESS);
    ::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, open);
    ::RegCloseKey(key);
    ::LocalFree(open);
}

TEST_F(RegistryTest, MissingKeyGivesKeyOpenErrorAndIsNotCreated) {
    EXPECT_EQ(ReadRegValue(HKEY_CURRENT_USER, key_, L"any", std::wstring(L"")),
              RegReadResult(RegReadError::KeyOpen));
    HKEY key = nullptr;
    EXPECT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, key_.c_str(), 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, DeleteReturnsThePlatformCode) {
    StoreText(L"SCRNSAVE.EXE", REG_SZ, L"a.scr");
    EXPECT_EQ(DeleteRegValue(HKEY_CURRENT_USER, key_, L"SCRNSAVE.EXE"), ERROR_SUCCESS);
    EXPECT_EQ(DeleteRegValue(HKEY_CURRENT_USER, key_, L"SCRNSAVE.EXE"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(DeleteRegValue(HKEY_CURRENT_USER, key_ + L"\\missing", L"x"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(ReadRegValue(HKEY_CURRENT_USER, key_, L"SCRNSAVE.EXE", std::wstring(L"gone")),
              RegReadResult(L"gone"));
}

} // namespace
} // namespace tavimo
