#pragma once
// The two lists of the main window: removable devices (from the device library) and CD-ROM drives.

#include "devices/library_answers.h"

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace tavimo {

struct CdDrive {
    std::wstring path; // "D:"
    bool ready = false;
    std::wstring volumeName;
};

std::wstring CdRowText(const CdDrive& drive);

// CD-ROM drives in drive-letter order; a drive whose state can't be read counts as not ready.
std::vector<CdDrive> EnumerateCdDrives();

// Rebuild each list from scratch. A device row's lParam is its device instance handle; a CD row's
// lParam is its drive letter (the path is that letter and a colon).
void sRefreshUsbList(HWND list);
void sRefreshCdList(HWND list);

// Row access shared by the list handlers.
int AddListRow(HWND list, const std::wstring& text, int image, LPARAM tag);
LPARAM ListRowTag(HWND list, int index);
std::wstring ListRowText(HWND list, int index);
std::wstring CdRowPath(HWND list, int index);

} // namespace tavimo
