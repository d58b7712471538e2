// Winsock's headers come before windows.h, whose older socket header would collide with them.
#include <winsock2.h>
#include <ws2tcpip.h>

#include "chores/time_sync.h"

#include "platform/message_pump.h"
#include "platform/winsock.h"

#include <array>
#include <optional>

namespace tavimo {

TimeSyncApi g_timeSync{kNtpServerHost, kNtpServerPort, &::SetSystemTime};

namespace {

std::optional<sockaddr_in> ResolveServer(const char* host, unsigned short port) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    hints.ai_protocol = IPPROTO_UDP;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host, nullptr, &hints, &found) != 0 || !found) {
        return std::nullopt;
    }
    sockaddr_in address{};
    if (found->ai_addrlen >= sizeof(address)) {
        address = *reinterpret_cast<const sockaddr_in*>(found->ai_addr);
    }
    ::freeaddrinfo(found);
    if (address.sin_family != AF_INET) {
        return std::nullopt;
    }
    address.sin_port = ::htons(port);
    return address;
}

bool BindLocalPort(SOCKET socket) {
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = ::htonl(INADDR_ANY);
    local.sin_port = ::htons(kNtpLocalPort);
    return ::bind(socket, reinterpret_cast<const sockaddr*>(&local), sizeof(local)) != SOCKET_ERROR;
}

// One waiting datagram, when it is the server's answer to set the clock by.
std::optional<UtcTime> ReceiveReply(SOCKET socket, const sockaddr_in& server) {
    // Room for extension fields and a MAC after the 48 bytes; a larger datagram fails and is dropped.
    std::array<unsigned char, 1024> buffer{};
    sockaddr_in from{};
    int fromLength = sizeof(from);
    const int received =
        ::recvfrom(socket, reinterpret_cast<char*>(buffer.data()), static_cast<int>(buffer.size()), 0,
                   reinterpret_cast<sockaddr*>(&from), &fromLength);
    // Nothing waiting, or an error such as the ICMP "port unreachable" Windows reports on the next receive:
    // neither is an answer, and the wait goes on.
    if (received <= 0 || fromLength < static_cast<int>(sizeof(from)) || from.sin_family != AF_INET ||
        from.sin_addr.s_addr != server.sin_addr.s_addr || from.sin_port != server.sin_port) {
        return std::nullopt;
    }
    return DecodeNtpReply(std::span<const unsigned char>(buffer.data(), static_cast<std::size_t>(received)));
}

} // namespace

SYSTEMTIME SystemTimeFromUtc(const UtcTime& time) {
    SYSTEMTIME system{};
    system.wYear = static_cast<WORD>(time.year);
    system.wMonth = static_cast<WORD>(time.month);
    system.wDay = static_cast<WORD>(time.day);
    system.wHour = static_cast<WORD>(time.hour);
    system.wMinute = static_cast<WORD>(time.minute);
    system.wSecond = static_cast<WORD>(time.second);
    return system;
}

bool ApplyNtpReply(const UtcTime& time) {
    const SYSTEMTIME system = SystemTimeFromUtc(time);
    return g_timeSync.setSystemTime(&system) != FALSE;
}

bool SyncTimeNtp(DWORD limitMs) {
    WinsockScope winsock;
    if (!winsock.Started()) {
        return false;
    }
    unique_socket socket(::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP));
    // The port first: when it is taken, nothing is looked up or sent.
    if (!socket || !BindLocalPort(socket.get())) {
        return false;
    }
    u_long nonBlocking = 1;
    if (::ioctlsocket(socket.get(), FIONBIO, &nonBlocking) == SOCKET_ERROR) {
        return false;
    }
    const std::optional<sockaddr_in> server = ResolveServer(g_timeSync.host, g_timeSync.port);
    if (!server) {
        return false;
    }
    const auto request = NtpRequest();
    if (::sendto(socket.get(), reinterpret_cast<const char*>(request.data()),
                 static_cast<int>(request.size()), 0, reinterpret_cast<const sockaddr*>(&*server),
                 sizeof(*server)) != static_cast<int>(request.size())) {
        return false;
    }
    const DWORD start = ::timeGetTime();
    for (;;) {
        if (const std::optional<UtcTime> reply = ReceiveReply(socket.get(), *server)) {
            return ApplyNtpReply(*reply);
        }
        if (!RunPendingMessages()) {
            return false;
        }
        ::Sleep(1);
        // Unsigned difference: right across the counter's wrap after 49.7 days.
        if (::timeGetTime() - start > limitMs) {
            return false;
        }
    }
}

} // namespace tavimo
