#pragma once
// Winsock for one scope, and an owner for a socket. Include it before anything that brings in
// <windows.h>, whose older socket header would collide with Winsock 2's.

#include <winsock2.h>

#include "platform/unique_handle.h"

namespace tavimo {

// WSAStartup for version 2.2, balanced by WSACleanup when it succeeded.
class WinsockScope {
  public:
    WinsockScope() {
        WSADATA data{};
        started_ = ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }
    ~WinsockScope() {
        if (started_) {
            ::WSACleanup();
        }
    }
    WinsockScope(const WinsockScope&) = delete;
    WinsockScope& operator=(const WinsockScope&) = delete;
    bool Started() const { return started_; }

  private:
    bool started_ = false;
};

namespace detail {
inline void CloseSocketFn(SOCKET socket) noexcept {
    ::closesocket(socket);
}
struct invalid_socket {
    static SOCKET value() noexcept { return INVALID_SOCKET; }
};
} // namespace detail

using unique_socket = unique_any<SOCKET, detail::CloseSocketFn, detail::invalid_socket>;

} // namespace tavimo
