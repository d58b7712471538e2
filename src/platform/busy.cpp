#include "platform/busy.h"

namespace tavimo {

namespace {
bool g_busy = false;
}

bool IsBusy() {
    return g_busy;
}
void SetBusy(bool busy) {
    g_busy = busy;
}

} // namespace tavimo
