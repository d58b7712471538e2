#pragma once
// The program's one window: the device list and the CD tray list side by side, a row of buttons under
// them, the menu bar above. Handlers keep the names of the events they answer (Form_Load, ...).

#include <windows.h>

#include "app/control_ids.h"
#include "app/menu_bar.h"
#include "devices/removal.h"
#include "platform/unique_handle.h"

#include <bitset>
#include <string>

namespace tavimo {

inline constexpr wchar_t kMainWindowClass[] = L"TavimoFrmDevice";


class frmDevice {
public:
    explicit frmDevice(std::wstring commandTail);
    ~frmDevice();
    frmDevice(const frmDevice&) = delete;
    frmDevice& operator=(const frmDevice&) = delete;

    // Creates and loads the window; false when another instance runs or creation failed.
    bool Load();
    HWND Window() const { return hwnd_; }
    // 0, or 1 when the "/eject" run left a device behind.
    int ExitCode() const { return exitCode_; }
    // Shows the loaded window normal or maximised, as the settings say.
    void Show();

    // Key preview and the F5 accelerator: the window sees keys before the focused control does.
    bool PreTranslate(MSG& msg);

    void Form_Resize();
    void Form_KeyUp(WORD keyCode, int shift);
    // Unloads once, whoever asks: saves the options and placement and destroys the window.
    void Unload();
    void UnloadLater();

    void sRefreshUsbList();
    void sRefreshCdList();
    void sMoveToCursor();

    bool IsOptionChecked(int index) const;

    // Buttons, menus and list events, by control-array index.
    void cmdMenu_Click(int index);
    void mnuFileItem_Click(int index);
    void mnuOptItem_Click(int index);
    void mnuHelpItem_Click(int index);
    void ListView1_ColumnClick(int index);
    void ListView1_KeyDown(int index, WORD keyCode);
    void ListView1_MouseMove(int index, POINT at);
    void ListView1_MouseUp(int index, int button, POINT at);
    void sUpdateVol();
    void mnuVol_Click(int index);

    HWND ListView1[2] = {};
    HWND cmdMenu[kCmdMenuCount] = {};

private:
    static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);

    void Form_Load();
    void Form_Unload();
    void OnMenuOpen(HMENU popup);
    void ClearHighlights();
    void sEjectSelected();
    void EjectCdRow(int row);
    bool RemoveAll();
    RemovalOptions CurrentRemovalOptions() const;
    void ShowDriveMenu(const std::wstring& drivePath);
    void ShowVolumeMenu(int index);
    static LRESULT CALLBACK ListSubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                             UINT_PTR id, DWORD_PTR refData);
    void CreateControls();
    void ApplyFont();
    void RescaleControls();
    int Scale(double designPixels) const;
    double TwipsPerPixel() const;
    void MoveTwips(int left, int top);
    void MoveToScreenCenter();

    std::wstring commandTail_;
    HWND hwnd_ = nullptr;
    unique_hwnd tooltip_; // not owned by the window, so destroyed by hand
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    MenuBar menus_;
    unique_hmenu volumeMenuOwner_; // the volume menu is not on the bar, so the bar doesn't free it
    unique_hmenu popupMenu_;       // the shared right-click menu, emptied and refilled at each use
    unique_haccel accelerators_;
    std::bitset<256> keysDown_; // keys whose press this window's loop saw, for the key-up handler
    POINT lastClick_{0, 0}; // the last mouse-up acted on, in list coordinates
    unique_hfont font_;
    unique_imagelist imageList1_;
    unique_handle instanceLock_;
    int startState_ = 0;
    int exitCode_ = 0;
    bool subclassed_ = false;
    bool masterOnly_ = false; // newer Windows: one master volume button, as wide as the CD list
    std::wstring volumeTarget_; // the volume button whose menu is open, as text ("2" .. "5")
    bool unloaded_ = false;
};

// Shows the window and runs its message loop until it is unloaded; the process's exit code.
int RunMainWindow(const std::wstring& commandTail);

} // namespace tavimo
