#include "chores/capture.h"

#include "picture_file.h"
#include "platform/unique_handle.h"
#include "sandbox.h"

#include <gtest/gtest.h>

namespace tavimo {
namespace {

SYSTEMTIME Time(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
    SYSTEMTIME t{};
    t.wYear = year;
    t.wMonth = month;
    t.wDay = day;
    t.wHour = hour;
    t.wMinute = minute;
    t.wSecond = second;
    return t;
}

TEST(Capture_Name, TwoDigitsEachFromTheLocalTime) {
    struct Case {
        SYSTEMTIME time;
        const wchar_t* name;
    };
    const Case cases[] = {
        {Time(2016, 6, 6, 0, 59, 52), L"160606_005952"},
        {Time(2000, 1, 1, 0, 0, 0), L"000101_000000"},
        {Time(2099, 12, 31, 23, 59, 59), L"991231_235959"},
        {Time(2105, 10, 9, 8, 7, 6), L"051009_080706"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CaptureBaseName(c.time), c.name);
    }
}

TEST(Capture_Name, FolderOrFallbackJoinedByOneBackslash) {
    const SYSTEMTIME t = Time(2016, 6, 6, 0, 59, 52);
    struct Case {
        const wchar_t* folder;
        bool exists;
        ImageType type;
        const wchar_t* path;
    };
    const Case cases[] = {
        {L"C:\\shots", true, ImageType::Jpeg, L"C:\\shots\\160606_005952.jpg"},
        {L"C:\\shots\\", true, ImageType::Bmp, L"C:\\shots\\160606_005952.bmp"},
        {L"C:\\gone", false, ImageType::Jpeg, L"C:\\app\\160606_005952.jpg"},
        {L"", false, ImageType::Bmp, L"C:\\app\\160606_005952.bmp"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CaptureFilePath(c.folder, c.exists, L"C:\\app", t, c.type), c.path) << c.folder;
    }
}

TEST(Capture_Jpeg, QualityIsAtMost100) {
    const std::pair<BYTE, ULONG> cases[] = {{0, 0}, {1, 1}, {99, 99}, {100, 100}, {101, 100}, {255, 100}};
    for (const auto& [quality, saved] : cases) {
        EXPECT_EQ(ClampJpegQuality(quality), saved) << int{quality};
    }
}

// Red over blue, as a screen-compatible bitmap like the one PrintScreen leaves on the clipboard.
unique_gdi TwoColourBitmap(int width, int height) {
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    unique_gdi bitmap(::CreateCompatibleBitmap(screen, width, height));
    const HGDIOBJ old = ::SelectObject(dc, bitmap.get());
    const RECT top{0, 0, width, height / 2};
    const RECT bottom{0, height / 2, width, height};
    unique_gdi red(::CreateSolidBrush(RGB(220, 30, 30)));
    unique_gdi blue(::CreateSolidBrush(RGB(30, 30, 220)));
    ::FillRect(dc, &top, static_cast<HBRUSH>(red.get()));
    ::FillRect(dc, &bottom, static_cast<HBRUSH>(blue.get()));
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    return bitmap;
}

TEST(Capture_Save, WritesTheBitmapAsItIsAndNothingWithoutOne) {
    test_support::Sandbox folder;
    const unique_gdi bitmap = TwoColourBitmap(50, 20);
    const unique_gdi brush(::CreateSolidBrush(RGB(1, 2, 3))); // a GDI object, but no bitmap
    struct Case {
        const char* name;
        HBITMAP picture;
        bool jpeg;
        int status; // -1: any failure
    };
    const HBITMAP good = static_cast<HBITMAP>(bitmap.get());
    const Case cases[] = {
        {"jpeg", good, true, 0},
        {"bmp", good, false, 0},
        {"jpeg, no bitmap", nullptr, true, 13},
        {"bmp, no bitmap", nullptr, false, 13},
        {"jpeg, not a bitmap", static_cast<HBITMAP>(brush.get()), true, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring file = folder.Path(c.jpeg ? L"picture.jpg" : L"picture.bmp");
        const int status = c.jpeg ? SaveJpeg(c.picture, file, 255) : SaveBmp(c.picture, file);
        if (c.status >= 0) {
            EXPECT_EQ(status, c.status);
        } else {
            EXPECT_NE(status, 0);
        }
        const auto picture = test_support::ReadPictureFile(file);
        ASSERT_EQ(picture.has_value(), status == 0);
        if (picture) {
            EXPECT_EQ(picture->width, 50u);
            EXPECT_EQ(picture->height, 20u);
            const int tolerance = c.jpeg ? 40 : 0;
            EXPECT_TRUE(test_support::NearColour(picture->top, RGB(220, 30, 30), tolerance)) << picture->top;
            EXPECT_TRUE(test_support::NearColour(picture->bottom, RGB(30, 30, 220), tolerance))
                << picture->bottom;
            ::DeleteFileW(file.c_str());
        }
    }
}

} // namespace
} // namespace tavimo
