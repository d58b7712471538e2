#pragma once
// COM for the calling thread, for as long as the object lives: apartment-threaded unless asked for the
// multithreaded apartment. Where the thread has COM already this only balances its own call.

#include <objbase.h>

namespace tavimo {

class ComApartment {
  public:
    explicit ComApartment(DWORD model = COINIT_APARTMENTTHREADED) noexcept
        : result_(::CoInitializeEx(nullptr, model | COINIT_DISABLE_OLE1DDE)) {}
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
