#include "volume/endpoint_warm_up.h"

#include "platform/com_apartment.h"
#include "volume/endpoint.h"

namespace tavimo {

namespace {

DWORD WINAPI WarmUp(void*) {
    // Its own apartment: the worker shares no COM object with the window's thread. Without COM the
    // read fails harmlessly, and the window's own reading pays in full.
    const ComApartment com(COINIT_MULTITHREADED);
    BOOL muted = FALSE;
    EndpointMute(false, muted); // reads only; the result is the window's to get
    return 0;
}

} // namespace

void EndpointWarmUp::Start() {
    if (!thread_) {
        thread_.reset(::CreateThread(nullptr, 0, &WarmUp, nullptr, 0, nullptr));
    }
}

void EndpointWarmUp::Wait() {
    if (thread_) {
        ::WaitForSingleObject(thread_.get(), INFINITE);
        thread_.reset();
    }
}

} // namespace tavimo
