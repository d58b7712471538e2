#include "platform/ini_file.h"

#include "sandbox.h"

#include <gtest/gtest.h>

namespace tavimo {
namespace {

class IniFile : public ::testing::Test {
  protected:
    test_support::Sandbox folder_;
    std::wstring path_ = folder_.Path(L"setting.ini");
};

TEST_F(IniFile, AbsentKeyOrFileReadsEmptyAndLongTextComesBackCut) {
    EXPECT_EQ(GetIniString(L"Tavimo", L"ScPath", path_), L"");
    EXPECT_FALSE(test_support::Exists(path_)); // reading never creates the file
    test_support::WriteBytes(path_, "[Tavimo]\r\nScPath=" + std::string(1100, 'a') + "\r\n");
    EXPECT_EQ(GetIniString(L"Tavimo", L"ScPath", path_), std::wstring(1023, L'a'));
    EXPECT_EQ(GetIniString(L"Other", L"ScPath", path_), L"");
}

TEST_F(IniFile, JapaneseTextIsStoredAsShiftJisBytes) {
    const std::wstring text = L"C:\\スクリーン\\保護.scr";
    ASSERT_TRUE(SetIniString(L"Tavimo", L"ScPath", text, path_));
    // 932 (Shift-JIS) bytes, exactly as the ANSI profile functions would write them.
    const std::string expected =
        "[Tavimo]\r\nScPath=C:\\\x83\x58\x83\x4e\x83\x8a\x81\x5b\x83\x93\\\x95\xdb\x8c\xec.scr\r\n";
    EXPECT_EQ(test_support::ReadBytes(path_), expected);
    EXPECT_EQ(GetIniString(L"Tavimo", L"ScPath", path_), text);
}

TEST_F(IniFile, WriteIntoAMissingFolderReportsFailure) {
    EXPECT_FALSE(SetIniString(L"Tavimo", L"ScPath", L"x", folder_.Path(L"missing\\setting.ini")));
}

} // namespace
} // namespace tavimo
