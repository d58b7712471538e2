#pragma once
// Holding a local UDP port for one scope, to see how a program that needs it fails.

#include "platform/winsock.h"

namespace tavimo::test_support {

class HeldUdpPort {
  public:
    explicit HeldUdpPort(unsigned short port) : socket_(::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP)) {
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = htonl(INADDR_ANY);
        local.sin_port = htons(port);
        held_ =
            socket_ && ::bind(socket_.get(), reinterpret_cast<const sockaddr*>(&local), sizeof(local)) == 0;
    }

    bool Held() const { return held_; }

  private:
    WinsockScope winsock_; // before the socket, so it is up when the socket is made and down after it goes
    unique_socket socket_;
    bool held_ = false;
};

} // namespace tavimo::test_support
