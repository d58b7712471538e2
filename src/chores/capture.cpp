#include "chores/capture.h"

#include "platform/clipboard.h"
#include "platform/key_chords.h"
#include "platform/message_pump.h"
#include "platform/paths.h"
#include "platform/unique_handle.h"

#include <algorithm>
#include <iterator>

// The GDI+ headers use min and max, which NOMINMAX keeps out of windows.h.
namespace Gdiplus {
using std::max;
using std::min;
} // namespace Gdiplus
#include <gdiplus.h>

namespace tavimo {

namespace {

namespace gp = Gdiplus::DllExports;

// {557CF401-1A04-11D3-9A73-0000F81EF32E} and {557CF400-...}: GDI+'s built-in JPEG and BMP encoders.
constexpr CLSID kJpegEncoder = {0x557CF401, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
constexpr CLSID kBmpEncoder = {0x557CF400, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
// EncoderQuality {1D5BE4B5-FA4A-452D-9CDD-5DB35105E7EB}.
constexpr GUID kEncoderQuality = {
    0x1D5BE4B5, 0xFA4A, 0x452D, {0x9C, 0xDD, 0x5D, 0xB3, 0x51, 0x05, 0xE7, 0xEB}};

constexpr WORD kPrintScreen = VK_SNAPSHOT;
constexpr WORD kAlt = VK_MENU;

class GdiplusSession {
  public:
    GdiplusSession() {
        const Gdiplus::GdiplusStartupInput input; // version 1, no debug callback, nothing suppressed
        status_ = Gdiplus::GdiplusStartup(&token_, &input, nullptr);
    }
    ~GdiplusSession() {
        if (status_ == Gdiplus::Ok) {
            Gdiplus::GdiplusShutdown(token_);
        }
    }
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;
    Gdiplus::Status Status() const { return status_; }

  private:
    ULONG_PTR token_ = 0;
    Gdiplus::Status status_ = Gdiplus::GenericError;
};

void DisposeImage(Gdiplus::GpBitmap* bitmap) noexcept {
    gp::GdipDisposeImage(bitmap);
}
using unique_gpbitmap = unique_any<Gdiplus::GpBitmap*, DisposeImage>;

int SaveThroughGdiplus(HBITMAP picture, const std::wstring& file, const CLSID& encoder,
                       const Gdiplus::EncoderParameters* parameters) {
    if (!picture) {
        return Gdiplus::UnknownImageFormat;
    }
    const GdiplusSession session;
    if (session.Status() != Gdiplus::Ok) {
        return session.Status();
    }
    unique_gpbitmap bitmap;
    const Gdiplus::Status made = gp::GdipCreateBitmapFromHBITMAP(picture, nullptr, bitmap.put());
    if (made != Gdiplus::Ok) {
        return made;
    }
    return gp::GdipSaveImageToFile(bitmap.get(), file.c_str(), &encoder, parameters);
}

bool FolderExists(const std::wstring& folder) {
    const DWORD attributes = ::GetFileAttributesW(folder.c_str());
    return !folder.empty() && attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

std::wstring CaptureBaseName(const SYSTEMTIME& t) {
    // yymmdd_hhmmss, each part as two digits.
    const unsigned parts[] = {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
    std::wstring name;
    for (std::size_t i = 0; i < std::size(parts); ++i) {
        if (i == 3) {
            name += L'_';
        }
        name += static_cast<wchar_t>(L'0' + parts[i] % 100 / 10);
        name += static_cast<wchar_t>(L'0' + parts[i] % 10);
    }
    return name;
}

std::wstring CaptureFilePath(const std::wstring& folder, bool folderExists,
                             const std::wstring& fallbackFolder, const SYSTEMTIME& localTime,
                             ImageType type) {
    const std::wstring extension = type == ImageType::Jpeg ? L".jpg" : L".bmp";
    return JoinPath(folderExists ? folder : fallbackFolder, CaptureBaseName(localTime) + extension);
}

ULONG ClampJpegQuality(BYTE quality) {
    return std::min<ULONG>(quality, 100);
}

int SaveJpeg(HBITMAP picture, const std::wstring& file, BYTE quality) {
    ULONG value = ClampJpegQuality(quality);
    Gdiplus::EncoderParameters parameters{};
    parameters.Count = 1;
    parameters.Parameter[0].Guid = kEncoderQuality;
    parameters.Parameter[0].NumberOfValues = 1;
    parameters.Parameter[0].Type = Gdiplus::EncoderParameterValueTypeLong; // 4: 32-bit unsigned
    parameters.Parameter[0].Value = &value;
    return SaveThroughGdiplus(picture, file, kJpegEncoder, &parameters);
}

int SaveBmp(HBITMAP picture, const std::wstring& file) {
    return SaveThroughGdiplus(picture, file, kBmpEncoder, nullptr);
}

bool CaptureScreen(const std::wstring& folder, CaptureArea area, ImageType type) {
    ClearClipboard();
    if (area == CaptureArea::ActiveWindow) {
        SendKeyChord(kAlt, kPrintScreen);
    } else {
        SendKeyChord(kPrintScreen);
    }
    // The system handles the key on its own time: let it, then take what the clipboard holds.
    RunPendingMessages();
    ::Sleep(100);
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    const std::wstring file = CaptureFilePath(folder, FolderExists(folder), ExeFolder(), now, type);
    if (!::IsClipboardFormatAvailable(CF_BITMAP) || !::OpenClipboard(nullptr)) {
        return false;
    }
    // The bitmap belongs to the clipboard: read, never deleted, and the clipboard closed on every path.
    scope_exit close([] { ::CloseClipboard(); });
    const HBITMAP picture = static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP));
    const int status = type == ImageType::Jpeg ? SaveJpeg(picture, file, 100) : SaveBmp(picture, file);
    return status == Gdiplus::Ok;
}

} // namespace tavimo
