#pragma once
// The hourglass over the whole program while long work runs; the arrow comes back on every way out.

#include <windows.h>

namespace tavimo {

// True while some WaitCursorScope is alive; the window answers WM_SETCURSOR with the hourglass then.
bool IsWaitCursorShown();

class WaitCursorScope {
  public:
    WaitCursorScope();
    ~WaitCursorScope();
    WaitCursorScope(const WaitCursorScope&) = delete;
    WaitCursorScope& operator=(const WaitCursorScope&) = delete;

  private:
    HCURSOR previous_;
};

} // namespace tavimo
