#pragma once
// Holding a local UDP port for one scope, to see how a program that needs it fails.

#include <winsock2.h>

namespace tavimo::test_support {

class HeldUdpPort {
  public:
    explicit HeldUdpPort(unsigned short port) {
        WSADATA data{};
        started_ = ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
        socket_ = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = htonl(INADDR_ANY);
        local.sin_port = htons(port);
        held_ = socket_ != INVALID_SOCKET &&
                ::bind(socket_, reinterpret_cast<const sockaddr*>(&local), sizeof(local)) == 0;
    }
    ~HeldUdpPort() {
        if (socket_ != INVALID_SOCKET) {
            ::closesocket(socket_);
        }
        if (started_) {
            ::WSACleanup();
        }
    }
    HeldUdpPort(const HeldUdpPort&) = delete;
    HeldUdpPort& operator=(const HeldUdpPort&) = delete;

    bool Held() const { return held_; }

  private:
    bool started_ = false;
    bool held_ = false;
    SOCKET socket_ = INVALID_SOCKET;
};

} // namespace tavimo::test_support
