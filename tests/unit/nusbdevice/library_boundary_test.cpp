// Both builds of nUsbDevice.dll seen the way Tavimo sees them: loaded from a file, called through
// the nine plain export names with caller-owned 256-byte buffers.

#include <windows.h>
#include <commctrl.h>

#include "devices/usb_library.h"
#include "platform/paths.h"
#include "platform/unique_handle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

using NUsbApi = tavimo::UsbLibraryApi;

const std::set<std::string> kNineExports = {
    "NUsbCheckRemovableNo",   "NUsbGetDescriptionA",   "NUsbGetDeviceData",
    "NUsbGetDeviceHandle",    "NUsbGetDriveLetterA",   "NUsbGetFriendlyNameA",
    "NUsbGetImageListHandle", "NUsbGetImageListIndex", "NUsbReleaseDeviceData"};

// Beside the test executable (build/<preset>/bin), with a trailing backslash.
std::wstring BinFolder() {
    return tavimo::ExeFolder() + L"\\";
}

std::set<std::string> ExportNames(HMODULE module) {
    const auto* base = reinterpret_cast<const unsigned char*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& entry = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    std::set<std::string> names;
    if (entry.VirtualAddress == 0) {
        return names;
    }
    const auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + entry.VirtualAddress);
    const auto* nameOffsets = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
        names.insert(reinterpret_cast<const char*>(base + nameOffsets[i]));
    }
    return names;
}

class Library {
  public:
    explicit Library(const std::wstring& path) : module_(::LoadLibraryW(path.c_str())) {}

    HMODULE module() const { return module_.get(); }

    void ResolveAll(NUsbApi& api) const { ASSERT_TRUE(tavimo::ResolveUsbLibrary(module_.get(), api)); }

  private:
    tavimo::unique_hmodule module_;
};

using TextCall = int(WINAPI*)(int, char*, int);

// Calls a string export the way the caller does and checks it stayed inside its 256 bytes.
std::string Text(TextCall call, int number, int length = 256) {
    std::vector<char> buffer(512, '#');
    call(number, buffer.data(), length);
    const auto end = buffer.begin() + std::max(length, 0);
    EXPECT_TRUE(std::all_of(end, buffer.end(), [](char c) { return c == '#'; })) << "wrote past length";
    if (length <= 0) {
        return std::string(buffer.begin(), end);
    }
    const auto terminator = std::find(buffer.begin(), end, '\0');
    EXPECT_NE(terminator, end) << "not terminated within length";
    return std::string(buffer.begin(), terminator);
}

std::wstring AnsiToWide(const std::string& ansi) {
    std::wstring wide(ansi.size(), L'\0');
    const int n = ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(),
                                        static_cast<int>(wide.size()));
    wide.resize(static_cast<std::size_t>(std::max(n, 0)));
    return wide;
}

void ExpectNoDevice(const NUsbApi& api, int number) {
    SCOPED_TRACE("device " + std::to_string(number));
    EXPECT_EQ(Text(api.GetDriveLetterA, number), "");
    EXPECT_EQ(Text(api.GetDescriptionA, number), "");
    EXPECT_EQ(Text(api.GetFriendlyNameA, number), "");
    EXPECT_EQ(api.CheckRemovableNo(number) & 0xFFFF, 0);
    EXPECT_EQ(api.GetDeviceHandle(number), 0);
    EXPECT_EQ(api.GetImageListIndex(number), 0);
}

TEST(LibraryBoundary_Exports, BothBuildsExportExactlyTheNinePlainNames) {
    for (const wchar_t* relative : {L"nUsbDevice.dll", L"scripted\\nUsbDevice.dll"}) {
        const std::wstring path = BinFolder() + relative;
        SCOPED_TRACE(testing::PrintToString(path));
        const Library library(path);
        ASSERT_NE(library.module(), nullptr) << "load error " << ::GetLastError();
        EXPECT_EQ(ExportNames(library.module()), kNineExports);
        NUsbApi api{};
        library.ResolveAll(api);
    }
}

TEST(LibraryBoundary_RealLibrary, EverySnapshotRowAndEveryOutOfRangeNumberAnswersSafely) {
    const Library library(BinFolder() + L"nUsbDevice.dll");
    ASSERT_NE(library.module(), nullptr);
    NUsbApi api{};
    ASSERT_NO_FATAL_FAILURE(library.ResolveAll(api));

    const HIMAGELIST images = api.GetImageListHandle();
    ASSERT_NE(images, nullptr);
    int cx = 0;
    int cy = 0;
    ASSERT_TRUE(::ImageList_GetIconSize(images, &cx, &cy));
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 16);

    const int count = api.GetDeviceData(0);
    ASSERT_GE(count, 0);
    for (int i = 0; i < count; ++i) {
        const std::string letter = Text(api.GetDriveLetterA, i);
        EXPECT_LE(letter.size(), 1u);
        Text(api.GetDescriptionA, i);
        Text(api.GetFriendlyNameA, i);
        EXPECT_NE(api.GetDeviceHandle(i), 0) << i;
        EXPECT_LT(api.GetImageListIndex(i), ::ImageList_GetImageCount(images)) << i;
    }
    for (int outside : {-1, count, count + 1000}) {
        ExpectNoDevice(api, outside);
    }
    api.ReleaseDeviceData();
    ExpectNoDevice(api, 0);
    EXPECT_EQ(api.GetImageListHandle(), images) << "the list lives as long as the process";
}

// A private copy of the scripted DLL in a temporary folder, with its script and log beside it.
class LibraryBoundary_Scripted : public testing::Test {
  protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        static int serial = 0;
        folder_ = std::wstring(temp) + L"tavimo-nusb-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                  std::to_wstring(++serial) + L"\\";
        ASSERT_TRUE(::CreateDirectoryW(folder_.c_str(), nullptr));
        ASSERT_TRUE(::CopyFileW((BinFolder() + L"scripted\\nUsbDevice.dll").c_str(),
                                Path(L"nUsbDevice.dll").c_str(), FALSE));
    }

    void TearDown() override {
        library_.reset();
        for (const wchar_t* name : {L"nUsbDevice.dll", L"nUsbDevice.txt", L"nUsbDevice.log"}) {
            ::DeleteFileW(Path(name).c_str());
        }
        ::RemoveDirectoryW(folder_.c_str());
    }

    std::wstring Path(const wchar_t* name) const { return folder_ + name; }

    void WriteScript(const std::string& utf8) const {
        const HANDLE file = ::CreateFileW(Path(L"nUsbDevice.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        ::WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
        ::CloseHandle(file);
    }

    std::vector<std::string> LogLines() const {
        std::vector<std::string> lines;
        const HANDLE file =
            ::CreateFileW(Path(L"nUsbDevice.log").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                          nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return lines;
        }
        char chunk[4096];
        DWORD read = 0;
        std::string text;
        while (::ReadFile(file, chunk, sizeof(chunk), &read, nullptr) && read > 0) {
            text.append(chunk, read);
        }
        ::CloseHandle(file);
        for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos;
             start = end + 1) {
            lines.push_back(text.substr(start, end - start));
        }
        return lines;
    }

    NUsbApi Load() {
        library_ = std::make_unique<Library>(Path(L"nUsbDevice.dll"));
        NUsbApi api{};
        EXPECT_NE(library_->module(), nullptr);
        if (library_->module()) {
            library_->ResolveAll(api);
        }
        return api;
    }

  private:
    std::wstring folder_;
    std::unique_ptr<Library> library_;
};

TEST_F(LibraryBoundary_Scripted, EachRefreshRereadsTheScriptBesideTheLibrary) {
    WriteScript("# removable\tletter\tdescription\tfriendly name\thandle\ticon\n"
                "1\tE\tUSB Mass Storage\tUSB Flash Disk\t0x2A\t1\n"
                "0\t\tInternal Disk\t\t7\t0\n");
    const NUsbApi api = Load();
    ASSERT_NE(api.GetDeviceData, nullptr);

    const HIMAGELIST images = api.GetImageListHandle();
    ASSERT_NE(images, nullptr);
    EXPECT_EQ(::ImageList_GetImageCount(images), 2);

    ASSERT_EQ(api.GetDeviceData(0), 2);
    EXPECT_NE(api.CheckRemovableNo(0) & 0xFFFF, 0);
    EXPECT_EQ(Text(api.GetDriveLetterA, 0), "E");
    EXPECT_EQ(Text(api.GetDescriptionA, 0), "USB Mass Storage");
    EXPECT_EQ(Text(api.GetFriendlyNameA, 0), "USB Flash Disk");
    EXPECT_EQ(api.GetDeviceHandle(0), 42);
    EXPECT_EQ(api.GetImageListIndex(0), 1);
    EXPECT_EQ(api.CheckRemovableNo(1) & 0xFFFF, 0);
    EXPECT_EQ(Text(api.GetDriveLetterA, 1), "");
    EXPECT_EQ(Text(api.GetFriendlyNameA, 1), "");
    EXPECT_EQ(api.GetDeviceHandle(1), 7);
    api.ReleaseDeviceData();

    WriteScript("1\tF\tCard Reader\t\t9\t0\n");
    ASSERT_EQ(api.GetDeviceData(0), 1);
    EXPECT_EQ(Text(api.GetDriveLetterA, 0), "F");
    api.ReleaseDeviceData();

    ASSERT_TRUE(::DeleteFileW(Path(L"nUsbDevice.txt").c_str()));
    EXPECT_EQ(api.GetDeviceData(0), 0);
    api.ReleaseDeviceData();
}

TEST_F(LibraryBoundary_Scripted, NumbersOutsideTheSnapshotOrAfterReleaseAnswerEmpty) {
    WriteScript("1\tE\tUSB Mass Storage\tUSB Flash Disk\t42\t1\n");
    const NUsbApi api = Load();
    ASSERT_NE(api.GetDeviceData, nullptr);
    ASSERT_EQ(api.GetDeviceData(0), 1);
    for (int outside : {-1, 1, 1000}) {
        ExpectNoDevice(api, outside);
    }
    api.ReleaseDeviceData();
    ExpectNoDevice(api, 0);
}

TEST_F(LibraryBoundary_Scripted, JapaneseTextArrivesInTheAnsiCodePageAndIsCutOnlyBetweenCharacters) {
    if (::GetACP() != 932) {
        GTEST_SKIP() << "needs the Japanese code page (LANG=ja_JP.UTF-8 under Wine)";
    }
    WriteScript("1\tE\tUSB 大容量記憶装置\t大容量\t42\t0\n");
    const NUsbApi api = Load();
    ASSERT_NE(api.GetDeviceData, nullptr);
    ASSERT_EQ(api.GetDeviceData(0), 1);

    EXPECT_EQ(AnsiToWide(Text(api.GetDescriptionA, 0)), L"USB 大容量記憶装置");
    struct Cut {
        int length;
        const wchar_t* expected;
    };
    for (const Cut& cut :
         {Cut{7, L"大容量"}, Cut{6, L"大容"}, Cut{5, L"大容"}, Cut{4, L"大"}, Cut{2, L""}, Cut{1, L""}}) {
        EXPECT_EQ(AnsiToWide(Text(api.GetFriendlyNameA, 0, cut.length)), cut.expected)
            << "length " << cut.length;
    }
    EXPECT_EQ(Text(api.GetFriendlyNameA, 0, 0), "") << "length 0 must leave the buffer alone";
    EXPECT_EQ(api.GetFriendlyNameA(0, nullptr, 256), 0);
    api.ReleaseDeviceData();
}

TEST_F(LibraryBoundary_Scripted, LogRecordsEveryCallInOrderAndBadScriptLines) {
    WriteScript("1\tE\tUSB Mass Storage\tUSB Flash Disk\t42\t1\n"
                "not a device line\n");
    const NUsbApi api = Load();
    ASSERT_NE(api.GetDeviceData, nullptr);
    api.GetImageListHandle();
    ASSERT_EQ(api.GetDeviceData(0), 1);
    api.CheckRemovableNo(0);
    Text(api.GetDriveLetterA, 0);
    Text(api.GetDescriptionA, 0);
    Text(api.GetFriendlyNameA, 0);
    api.GetDeviceHandle(0);
    api.GetImageListIndex(0);
    api.ReleaseDeviceData();

    const std::vector<std::string> expected = {
        "GetImageListHandle",  "BadLine 2",         "GetDeviceData 1",    "CheckRemovableNo 0",
        "GetDriveLetterA 0",   "GetDescriptionA 0", "GetFriendlyNameA 0", "GetDeviceHandle 0",
        "GetImageListIndex 0", "ReleaseDeviceData"};
    EXPECT_EQ(LogLines(), expected);
}

} // namespace
