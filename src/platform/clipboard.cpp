#include "platform/clipboard.h"

#include <windows.h>

namespace tavimo {

void ClearClipboard() {
    if (::OpenClipboard(nullptr)) {
        ::EmptyClipboard();
        ::CloseClipboard();
    }
}

} // namespace tavimo
