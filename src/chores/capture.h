#pragma once
// Screen capture: the system puts the screen (PrintScreen) or the active window (Alt+PrintScreen) on
// the clipboard, and that bitmap is saved as a JPEG or BMP file named after the local time.

#include <windows.h>

#include <string>

namespace tavimo {

enum class CaptureArea { Screen, ActiveWindow };
enum class ImageType { Jpeg, Bmp };

// "yymmdd_hhmmss": two digits each, hours 00-23.
std::wstring CaptureBaseName(const SYSTEMTIME& localTime);

// Where a capture taken at `localTime` goes: `folder` when it exists, else `fallbackFolder`, joined by one
// backslash with the base name and ".jpg" or ".bmp".
std::wstring CaptureFilePath(const std::wstring& folder, bool folderExists,
                             const std::wstring& fallbackFolder, const SYSTEMTIME& localTime, ImageType type);

// JPEG quality as saved: at most 100.
ULONG ClampJpegQuality(BYTE quality);

// Save the bitmap through GDI+ (started and shut down within each call; the bitmap stays the caller's).
// Both answer a GDI+ status: 0 when the file was written, 13 (unknown image format) without a bitmap.
int SaveJpeg(HBITMAP picture, const std::wstring& file, BYTE quality);
int SaveBmp(HBITMAP picture, const std::wstring& file);

// One capture into `folder` (the program's folder when that is empty or missing). Every step is tried
// even after an earlier one failed; true when a file was written. The clipboard keeps the bitmap.
bool CaptureScreen(const std::wstring& folder, CaptureArea area, ImageType type);

} // namespace tavimo
