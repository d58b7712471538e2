#include "app/settings.h"

#include "sandbox.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tavimo {
namespace {

constexpr SizeLimits kLimits{1800, 500, 30000, 20000};

class SettingsFile : public ::testing::Test {
  protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        folder_ =
            std::filesystem::path(temp) / ("tavimo-settings-" + std::to_string(::GetCurrentProcessId()));
        std::filesystem::create_directories(folder_);
        path_ = (folder_ / "setting.ini").wstring();
        std::filesystem::remove(path_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    void Write(const std::string& bytes) { test_support::WriteBytes(path_, bytes); }
    std::string Read() const { return test_support::ReadBytes(path_); }

    std::filesystem::path folder_;
    std::wstring path_;
};

TEST_F(SettingsFile, MissingFileReadsDefaults) {
    const StoredPlacement p = ReadWindowPos(path_, kLimits);
    EXPECT_EQ(p.state, kStateNormal);
    EXPECT_EQ(p.width, 9975);
    EXPECT_EQ(p.height, 2865);
    EXPECT_FALSE(ReadIniOption(ini_keys::kEject, false, path_));
    EXPECT_TRUE(ReadIniOption(ini_keys::kAutoC, true, path_));
    EXPECT_FALSE(std::filesystem::exists(path_)); // reading never creates the file
}

TEST_F(SettingsFile, MinimisedStateOpensNormalWithStoredSize) {
    Write("[Tavimo]\r\nWinState=1\r\nX=150\r\nY=300\r\nW=12000\r\nH=4000\r\n");
    const StoredPlacement p = ReadWindowPos(path_, kLimits);
    EXPECT_EQ(p.state, kStateNormal);
    EXPECT_EQ(p.x, 150);
    EXPECT_EQ(p.y, 300);
    EXPECT_EQ(p.width, 12000);
    EXPECT_EQ(p.height, 4000);
}

TEST_F(SettingsFile, AnyNonZeroOptionIsCheckedAndWrittenBackAsMinusOne) {
    Write("[Tavimo]\r\nEject=5\r\nAutoC=0\r\n");
    EXPECT_TRUE(ReadIniOption(ini_keys::kEject, false, path_));
    EXPECT_FALSE(ReadIniOption(ini_keys::kAutoC, true, path_));
    WriteIniOption(ini_keys::kEject, true, path_);
    WriteIniOption(ini_keys::kAutoC, false, path_);
    EXPECT_EQ(Read(), "[Tavimo]\r\nEject=-1\r\nAutoC=0\r\n");
}

TEST_F(SettingsFile, CorruptFileNeverCrashesAndKeepsTheOtherKeys) {
    std::string garbage;
    for (int i = 0; i < 4096; ++i) {
        garbage.push_back(static_cast<char>((i * 37 + 11) & 0xFF));
    }
    struct Case {
        const char* name;
        std::string file;
    };
    const Case cases[] = {
        {"binary garbage around the section",
         garbage + "\r\n[Tavimo]\r\nW=1e9\r\nH=-2147483649\r\nEject=-1\r\n" + garbage},
        {"huge file", std::string(4 << 20, 'x') + "\r\n[Tavimo]\r\nW=abc\r\nH=\r\nEject=-1\r\n"},
        {"values out of range", "[Tavimo]\r\nWinState=7\r\nW=99999999999\r\nH=0\r\nEject=-1\r\n"},
    };
    for (const auto& c : cases) {
        Write(c.file);
        const StoredPlacement p = ReadWindowPos(path_, kLimits);
        EXPECT_EQ(p.state, kStateNormal) << c.name;
        EXPECT_EQ(p.width, kDefaultWidthTwips) << c.name;
        EXPECT_EQ(p.height, kDefaultHeightTwips) << c.name;
        EXPECT_TRUE(ReadIniOption(ini_keys::kEject, false, path_)) << c.name;
    }
}

TEST(Settings_CleanPlacement, ValuesNoWindowCanTakeFallBackToDefaults) {
    struct Case {
        int state, width, height;
        int wantState, wantWidth, wantHeight;
    };
    const Case cases[] = {
        {0, 12000, 4000, 0, 12000, 4000},  {1, 12000, 4000, 0, 12000, 4000}, // minimised opens normal
        {2, 12000, 4000, 2, 12000, 4000},  {3, 12000, 4000, 0, 12000, 4000}, // unknown state
        {-1, 12000, 4000, 0, 12000, 4000}, {0, -5, 4000, 0, 9975, 4000},     // negative
        {0, 0, 0, 0, 9975, 2865},                                            // zero
        {0, 1799, 499, 0, 9975, 2865},    // smaller than the smallest window
        {0, 30001, 20001, 0, 9975, 2865}, // larger than the virtual screen
        {0, 30000, 500, 0, 30000, 500},   // the limits themselves are fine
    };
    for (const auto& c : cases) {
        const StoredPlacement p = CleanPlacement(c.state, 0, 0, c.width, c.height, kLimits);
        EXPECT_EQ(p.state, c.wantState) << c.state << " " << c.width << "x" << c.height;
        EXPECT_EQ(p.width, c.wantWidth) << c.state << " " << c.width << "x" << c.height;
        EXPECT_EQ(p.height, c.wantHeight) << c.state << " " << c.width << "x" << c.height;
    }
}

TEST(Settings_Twips, FifteenTwipsPerPixelAt96Dpi) {
    EXPECT_EQ(TwipsToPixels(9975, 96), 665);
    EXPECT_EQ(TwipsToPixels(2865, 96), 191);
    EXPECT_EQ(PixelsToTwips(665, 96), 9975);
    EXPECT_EQ(PixelsToTwips(100, 144), 1000);
}

} // namespace
} // namespace tavimo
