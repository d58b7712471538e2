#pragma once
// COM for the calling thread, apartment-threaded, for as long as the object lives. Where the thread has
// COM already this only balances its own call.

#include <objbase.h>

namespace tavimo {

class ComApartment {
  public:
    ComApartment() noexcept
        : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ~ComApartment() {
        if (SUCCEEDED(result_)) {
            ::CoUninitialize();
        }
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    HRESULT result_;
};

} // namespace tavimo
