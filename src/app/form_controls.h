#pragma once
// The main window's child controls and their geometry: the two lists, the button row, the tooltip,
// the font and the CD list's picture, created at the window's DPI and laid out from the designed
// pixels of form_layout.h on every size or DPI change. Also where the window itself is placed.

#include <windows.h>

#include "app/control_ids.h"
#include "platform/unique_handle.h"

namespace tavimo {

class FormControls {
  public:
    FormControls() = default;
    FormControls(const FormControls&) = delete;
    FormControls& operator=(const FormControls&) = delete;

    // Creates every child of `window` at `dpi`. `masterOnly` (newer Windows): one master volume button,
    // as wide as the CD tray list, under it; the WAVE, MIDI and CD buttons are hidden.
    void Create(HWND window, UINT dpi, bool masterOnly);
    // The buttons' tooltips, made when the pointer first comes over a button: most runs never need
    // them, and the tooltip window was a tenth of the window's start. Once made, they stay.
    void EnsureTooltip();
    bool IsButton(HWND control) const;
    // The tooltip is not a child of the window, so it goes by hand.
    void DestroyTooltip() { tooltip_.reset(); }

    // Form_Resize: the CD list flush right, both lists down to the buttons, the buttons along the bottom.
    void Layout();
    // The load's column widths: each list's single column a margin narrower than the list.
    void FitColumns();
    // WM_DPICHANGED, before the window takes its new size: the font and the designed sizes at `dpi`.
    void Rescale(UINT dpi);

    UINT Dpi() const { return dpi_; }
    int Scale(double designPixels) const;

    // The window's own placement, in twips at the window's DPI.
    void MoveTwips(int left, int top);
    void MoveToScreenCenter();
    void MoveToCursor();

    HWND ListView1[2] = {};
    HWND cmdMenu[kCmdMenuCount] = {};

  private:
    void ApplyFont();

    HWND window_ = nullptr;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    bool masterOnly_ = false;
    unique_hwnd tooltip_; // not owned by the window, so destroyed by hand
    unique_hfont font_;
    unique_imagelist imageList1_;
};

} // namespace tavimo
