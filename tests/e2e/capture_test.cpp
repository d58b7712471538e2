// The capture switches as a script runs them. PrintScreen puts nothing on the clipboard under Wine, so
// print_screen.exe plays the system's part: it sees the injected key and puts a known picture there.
#include "tavimo_driver.h"

#include "picture_file.h"

#include <gtest/gtest.h>

#include <cwctype>

namespace e2e {
namespace {

using tavimo::test_support::NearColour;
using tavimo::test_support::ReadPictureFile;

class PrintScreenStandIn {
  public:
    explicit PrintScreenStandIn(const std::wstring& readyFile) {
        process_ = Launch(BinDir() + L"\\print_screen.exe", L"\"" + readyFile + L"\"");
        ready_ = WaitFor([&] { return FileExists(readyFile); });
    }
    ~PrintScreenStandIn() { process_.Kill(); }
    PrintScreenStandIn(const PrintScreenStandIn&) = delete;
    PrintScreenStandIn& operator=(const PrintScreenStandIn&) = delete;
    bool Ready() const { return ready_; }

  private:
    Process process_;
    bool ready_ = false;
};

// The picture files in the folder (names only).
std::vector<std::wstring> Captures(const std::wstring& folder) {
    std::vector<std::wstring> names;
    for (const wchar_t* pattern : {L"\\*.jpg", L"\\*.bmp"}) {
        WIN32_FIND_DATAW found;
        HANDLE search = ::FindFirstFileW((folder + pattern).c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) {
            continue;
        }
        do {
            names.push_back(found.cFileName);
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    return names;
}

std::wstring LocalStamp() {
    SYSTEMTIME t;
    ::GetLocalTime(&t);
    wchar_t stamp[16];
    swprintf(stamp, 16, L"%02u%02u%02u_%02u%02u%02u", t.wYear % 100u, t.wMonth, t.wDay, t.wHour, t.wMinute,
             t.wSecond);
    return stamp;
}

bool IsStampShaped(const std::wstring& stem) {
    if (stem.size() != 13 || stem[6] != L'_') {
        return false;
    }
    for (size_t i = 0; i < stem.size(); ++i) {
        if (i != 6 && !std::iswdigit(stem[i])) {
            return false;
        }
    }
    return true;
}

TEST(Capture_Switches, SaveTheClipboardPictureNamedAfterTheTimeIntoTheFolderOrBesideTheExe) {
    TavimoFolder folder;
    const std::wstring shots = folder.File(L"shots");
    ASSERT_TRUE(::CreateDirectoryW(shots.c_str(), nullptr));
    PrintScreenStandIn standIn(folder.File(L"stand-in.ready"));
    ASSERT_TRUE(standIn.Ready());

    struct Case {
        std::wstring arguments;
        bool intoShots; // else beside the exe
        const wchar_t* extension;
        UINT width, height; // 64 x 48 the screen, 40 x 30 the active window
    };
    const Case cases[] = {
        {L"/bmp /\"" + shots + L"\"", true, L".bmp", 64, 48},
        {L"/bmpa /\"" + shots + L"\\\"", true, L".bmp", 40, 30},
        {L"/jpeg /\"" + folder.File(L"missing") + L"\"", false, L".jpg", 64, 48},
        {L"/jpega", false, L".jpg", 40, 30},
        {L"/JPEG /\"" + shots + L"\"", true, L".jpg", 64, 48},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.arguments.begin(), c.arguments.end()));
        const std::wstring target = c.intoShots ? shots : folder.Path();
        const std::wstring before = LocalStamp();
        Process tavimo = Launch(folder.Exe(), c.arguments);
        EXPECT_EQ(tavimo.Wait(20s), std::optional<DWORD>(0));
        const std::wstring after = LocalStamp();

        EXPECT_TRUE(Captures(c.intoShots ? folder.Path() : shots).empty());
        const auto names = Captures(target);
        ASSERT_EQ(names.size(), 1u);
        const std::wstring& name = names[0];
        const std::wstring stem = name.substr(0, name.find(L'.'));
        EXPECT_TRUE(IsStampShaped(stem)) << "yymmdd_hhmmss";
        EXPECT_TRUE(before <= stem && stem <= after) << "the local time of the capture";
        EXPECT_EQ(name.substr(stem.size()), c.extension);

        const std::wstring path = target + L"\\" + name;
        const auto picture = ReadPictureFile(path);
        ASSERT_TRUE(picture.has_value());
        EXPECT_EQ(picture->width, c.width);
        EXPECT_EQ(picture->height, c.height);
        const int tolerance = name.ends_with(L".jpg") ? 40 : 0;
        EXPECT_TRUE(NearColour(picture->top, RGB(220, 30, 30), tolerance)) << picture->top;
        EXPECT_TRUE(NearColour(picture->bottom, RGB(30, 30, 220), tolerance)) << picture->bottom;
        ::DeleteFileW(path.c_str());
    }
}

TEST(Capture_Switches, NoPictureFromTheSystemWritesNothingAndExitsWith1) {
    TavimoFolder folder;
    // A picture left from before is no capture: the clipboard is emptied before the key goes out.
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    ::SetClipboardData(CF_BITMAP, ::CreateBitmap(8, 8, 1, 32, nullptr));
    ::CloseClipboard();
    ASSERT_TRUE(::IsClipboardFormatAvailable(CF_BITMAP));

    for (const wchar_t* arguments : {L"/bmp", L"/jpega"}) {
        Process tavimo = Launch(folder.Exe(), arguments);
        EXPECT_EQ(tavimo.Wait(20s), std::optional<DWORD>(1)) << arguments;
    }
    EXPECT_TRUE(Captures(folder.Path()).empty());
}

} // namespace
} // namespace e2e
