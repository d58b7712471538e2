#pragma once
// The program's one window: the device list and the CD tray list side by side, a row of buttons under
// them, the menu bar above. Handlers keep the names of the events they answer (Form_Load, ...).
//   frm_device.cpp        lifecycle and the window procedure
//   form_controls.cpp     the child controls and their geometry
//   form_handlers.cpp     buttons and menus
//   form_list_events.cpp  keys and clicks on the lists

#include <windows.h>

#include "app/control_ids.h"
#include "app/form_controls.h"
#include "app/list_rules.h"
#include "app/menu_bar.h"
#include "app/settings.h"
#include "platform/unique_handle.h"
#include "volume/endpoint_warm_up.h"

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

    enum class LoadResult { Loaded, SecondInstance, Failed };
    // Creates and loads the window, still hidden. With `warmUpSound`, the sound system is started on a
    // worker while the window is built (for the process's own window; tests leave it off).
    LoadResult Load(bool warmUpSound = false);
    // The command line asked for the remove-all run ("/eject") instead of the window.
    bool IsEjectRun() const { return ejectRun_; }
    // The "/eject" run on the loaded, never shown window: removes every device, then unloads. The exit
    // code: 0 when every device listed at the start went (or there was none), 1 otherwise.
    int RunEject();
    // Shows the loaded window normal or maximised, as the settings say.
    void Show();
    HWND Window() const { return hwnd_; }

    // Key preview and the F5 accelerator: the window sees keys before the focused control does.
    bool PreTranslate(MSG& msg);

    // Unloads once, whoever asks: saves the options and placement and destroys the window.
    void Unload();
    // The same, after the message being handled now: for requests made from inside a control's own
    // notification, whose control the unload would destroy under it.
    void UnloadLater();

    void sRefreshUsbList();
    void sRefreshCdList();
    void sMoveToCursor() { controls_.MoveToCursor(); }
    void sUpdateVol();

    bool IsOptionChecked(int index) const;

    // Buttons, menus and list events, by control-array index.
    void cmdMenu_Click(int index);
    void mnuFileItem_Click(int index);
    void mnuOptItem_Click(int index);
    void mnuHelpItem_Click(int index);
    void mnuExtra_Click(int index);
    void mnuWinOff_Click(int index);
    void mnuVol_Click(int index);
    void ListView1_ColumnClick(int index);
    void ListView1_KeyDown(int index, WORD keyCode);
    void ListView1_MouseMove(int index, POINT at);
    void ListView1_MouseUp(int index, int button, POINT at);
    void Form_KeyUp(WORD keyCode);

    // The controls, by the names the handlers use.
    HWND (&ListView1)[2];
    HWND (&cmdMenu)[kCmdMenuCount];

  private:
    static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ListSubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                             UINT_PTR id, DWORD_PTR refData);

    void Form_Load();
    void Form_Unload();
    void Form_Activate(WPARAM wParam);
    void Form_MouseWheel(WPARAM wParam);
    void RestoreFocus();
    void OnCommand(WPARAM wParam);
    void OnNotify(const NMHDR& header);
    void OnMenuOpen(HMENU popup);
    void ClearHighlights();

    void Act(int list, const ListAction& action);
    void AfterRemoval(RemovalOutcome outcome, bool removeAll);
    RemovalOutcome RemoveAll();
    void ShowVolumeMenu(int index);

    std::wstring commandTail_;
    bool ejectRun_ = false;
    HWND hwnd_ = nullptr;
    FormControls controls_;
    MenuBar menus_;
    unique_hmenu volumeMenuOwner_; // the volume menu is not on the bar, so the bar doesn't free it
    unique_hmenu popupMenu_;       // the shared right-click menu, emptied and refilled at each use
    unique_haccel accelerators_;
    unique_handle instanceLock_;
    EndpointWarmUp soundWarmUp_;
    StoredPlacement loadedPlacement_;
    std::bitset<256> keysDown_; // keys whose press this window's loop saw, for the key-up handler
    POINT lastClick_{0, 0};     // the last mouse-up acted on, in list coordinates
    HWND focusBeforeDeactivation_ = nullptr;
    int volumeTarget_ = 0;        // the volume button whose menu is open
    bool running_ = false;        // from the end of the load to the unload: activation and wheel rules apply
    bool closeRequested_ = false; // a close that came while a handler was busy, done once it is over
    bool shown_ = false;
    bool unloaded_ = false;
};

// Shows the window and runs its message loop until it is unloaded; the process's exit code.
int RunMainWindow(const std::wstring& commandTail);

} // namespace tavimo
