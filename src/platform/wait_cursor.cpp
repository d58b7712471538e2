#include "platform/wait_cursor.h"

namespace tavimo {

namespace {
int g_waitDepth = 0;
}

bool IsWaitCursorShown() {
    return g_waitDepth > 0;
}

WaitCursorScope::WaitCursorScope() : previous_(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {
    ++g_waitDepth;
}

WaitCursorScope::~WaitCursorScope() {
    if (--g_waitDepth == 0) {
        ::SetCursor(previous_ ? previous_ : ::LoadCursorW(nullptr, IDC_ARROW));
    }
}

} // namespace tavimo
