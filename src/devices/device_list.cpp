#include "devices/device_list.h"

#include "devices/usb_library.h"
#include "platform/text.h"

#include <commctrl.h>

namespace tavimo {

namespace {

template <typename Call> std::wstring ReadLibraryText(Call call, int number) {
    char buffer[kLibraryTextBufferSize] = {};
    call(number, buffer, kLibraryTextBufferSize);
    return std::wstring(TrimNull(AnsiToWide(LibraryText(buffer, sizeof buffer))));
}

} // namespace

std::wstring CdRowText(const CdDrive& drive) {
    if (!drive.ready) {
        return L"CD-ROM ドライブ (" + drive.path + L")";
    }
    if (drive.volumeName.empty()) {
        return L"CD-ROM ドライブ (" + drive.path + L") is ready";
    }
    return drive.volumeName + L" (" + drive.path + L") is ready";
}

std::vector<CdDrive> EnumerateCdDrives() {
    std::vector<CdDrive> drives;
    const DWORD mask = ::GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if ((mask & (1u << i)) == 0) {
            continue;
        }
        const wchar_t letter = static_cast<wchar_t>(L'A' + i);
        const wchar_t root[] = {letter, L':', L'\\', L'\0'};
        if (::GetDriveTypeW(root) != DRIVE_CDROM) {
            continue;
        }
        CdDrive drive;
        drive.path = std::wstring{letter, L':'};
        wchar_t volumeName[MAX_PATH + 1] = {};
        drive.ready = ::GetVolumeInformationW(root, volumeName, MAX_PATH + 1, nullptr, nullptr, nullptr,
                                              nullptr, 0) != FALSE;
        if (drive.ready) {
            drive.volumeName = volumeName;
        }
        drives.push_back(std::move(drive));
    }
    return drives;
}

int AddListRow(HWND list, const std::wstring& text, int image, LPARAM tag) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
    item.iItem = ListView_GetItemCount(list);
    item.pszText = const_cast<wchar_t*>(text.c_str());
    item.iImage = image;
    item.lParam = tag;
    return ListView_InsertItem(list, &item);
}

LPARAM ListRowTag(HWND list, int index) {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    return ListView_GetItem(list, &item) ? item.lParam : 0;
}

std::wstring ListRowText(HWND list, int index) {
    wchar_t text[512] = {};
    ListView_GetItemText(list, index, 0, text, 512);
    return text;
}

std::wstring CdRowPath(HWND list, int index) {
    const auto letter = static_cast<wchar_t>(ListRowTag(list, index));
    return letter ? std::wstring{letter, L':'} : std::wstring();
}

void sRefreshUsbList(HWND list) {
    ListView_DeleteAllItems(list);
    const UsbLibraryApi* library = UsbLibrary();
    if (!library) {
        return; // no library, no devices; the CD list works on its own
    }
    const int last = DeviceNumbersToAsk(library->GetDeviceData(0));
    ListView_SetImageList(list, library->GetImageListHandle(), LVSIL_SMALL);
    for (int number = 0; number < last; ++number) {
        if (!IsRemovableAnswer(library->CheckRemovableNo(number))) {
            continue;
        }
        const std::wstring letter = ReadLibraryText(library->GetDriveLetterA, number);
        if (!letter.empty()) {
            const std::wstring description = ReadLibraryText(library->GetDescriptionA, number);
            const std::wstring friendlyName = ReadLibraryText(library->GetFriendlyNameA, number);
            const int row = AddListRow(list, DeviceRowText(friendlyName, description, letter), 0,
                                       static_cast<LPARAM>(library->GetDeviceHandle(number)));
            LVITEMW image{};
            image.mask = LVIF_IMAGE;
            image.iItem = row;
            image.iImage = library->GetImageListIndex(number);
            ListView_SetItem(list, &image);
        }
    }
    library->ReleaseDeviceData();
}

void sRefreshCdList(HWND list) {
    ListView_DeleteAllItems(list);
    for (const CdDrive& drive : EnumerateCdDrives()) {
        AddListRow(list, CdRowText(drive), 0, static_cast<LPARAM>(drive.path[0]));
    }
}

} // namespace tavimo
