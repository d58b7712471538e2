// The clock request over real loopback UDP against a server of the test's own; the clock is a recorder.
// Winsock's headers come before windows.h.
#include <winsock2.h>
#include <ws2tcpip.h>

#include "chores/time_sync.h"

#include "seam.h"
#include "udp_port.h"
#include "worker_thread.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <vector>

namespace tavimo {
namespace {

using Bytes = std::vector<unsigned char>;

Bytes Reply(std::uint32_t seconds, unsigned char first = 0x24, unsigned char stratum = 2,
            std::size_t size = 48) {
    Bytes bytes(48, 0);
    bytes[0] = first;
    bytes[1] = stratum;
    for (int i = 0; i < 4; ++i) {
        bytes[40 + i] = static_cast<unsigned char>(seconds >> (24 - 8 * i));
    }
    bytes.resize(size);
    return bytes;
}

enum class Sender { Server, OtherPort };

struct Datagram {
    Bytes bytes;
    Sender from = Sender::Server;
};

SOCKET BoundSocket(const char* address, unsigned short port) {
    SOCKET s = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    ::inet_pton(AF_INET, address, &local.sin_addr);
    local.sin_port = htons(port);
    EXPECT_EQ(::bind(s, reinterpret_cast<const sockaddr*>(&local), sizeof(local)), 0) << address;
    return s;
}

unsigned short PortOf(SOCKET s) {
    sockaddr_in bound{};
    int length = sizeof(bound);
    ::getsockname(s, reinterpret_cast<sockaddr*>(&bound), &length);
    return ntohs(bound.sin_port);
}

// A time server on 127.0.0.1: it takes the first request and answers it with the scripted datagrams,
// some sent from another port.
class FakeTimeServer {
  public:
    explicit FakeTimeServer(std::vector<Datagram> replies, long waitSeconds = 5)
        : replies_(std::move(replies)), waitSeconds_(waitSeconds) {
        WSADATA data{};
        ::WSAStartup(MAKEWORD(2, 2), &data);
        server_ = BoundSocket("127.0.0.1", 0);
        port_ = PortOf(server_);
        otherPort_ = BoundSocket("127.0.0.1", 0);
        thread_ = std::make_unique<test_support::WorkerThread>([this] { Serve(); });
    }
    ~FakeTimeServer() {
        Finish();
        for (SOCKET s : {server_, otherPort_}) {
            ::closesocket(s);
        }
        ::WSACleanup();
    }

    unsigned short Port() const { return port_; }
    // What came in, once the server has finished.
    void Finish() {
        if (thread_) {
            thread_->Join();
        }
    }
    const Bytes& Request() const { return request_; }
    unsigned short RequestPort() const { return requestPort_; }

  private:
    void Serve() {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(server_, &readable);
        timeval wait{waitSeconds_, 0};
        if (::select(0, &readable, nullptr, nullptr, &wait) != 1) {
            return;
        }
        unsigned char buffer[512];
        sockaddr_in client{};
        int length = sizeof(client);
        const int received = ::recvfrom(server_, reinterpret_cast<char*>(buffer), sizeof(buffer), 0,
                                        reinterpret_cast<sockaddr*>(&client), &length);
        if (received < 0) {
            return;
        }
        request_.assign(buffer, buffer + received);
        requestPort_ = ntohs(client.sin_port);
        for (const Datagram& reply : replies_) {
            const SOCKET from = reply.from == Sender::Server ? server_ : otherPort_;
            ::sendto(from, reinterpret_cast<const char*>(reply.bytes.data()),
                     static_cast<int>(reply.bytes.size()), 0, reinterpret_cast<const sockaddr*>(&client),
                     sizeof(client));
        }
    }

    std::vector<Datagram> replies_;
    long waitSeconds_;
    SOCKET server_ = INVALID_SOCKET;
    SOCKET otherPort_ = INVALID_SOCKET;
    unsigned short port_ = 0;
    std::unique_ptr<test_support::WorkerThread> thread_;
    Bytes request_;
    unsigned short requestPort_ = 0;
};

std::vector<SYSTEMTIME> g_clockSets;
BOOL g_clockAnswer = TRUE;

BOOL WINAPI RecordClockSet(const SYSTEMTIME* time) {
    g_clockSets.push_back(*time);
    return g_clockAnswer;
}

class TimeSync : public ::testing::Test {
  protected:
    void SetUp() override {
        g_clockSets.clear();
        g_clockAnswer = TRUE;
    }
    // The seam points at the loopback server: nothing here reaches a public server or the real clock.
    test_support::ScopedOverride<TimeSyncApi> Seam(unsigned short port) {
        return {g_timeSync, TimeSyncApi{"127.0.0.1", port, &RecordClockSet}};
    }
};

constexpr std::uint32_t kGoodSeconds = 3960275696u; // 2025-06-30 12:34:56 UTC

TEST_F(TimeSync, OneRequestFromPort1024AndOnlyAValidReplyFromTheServerSetsTheClock) {
    // Each flawed reply carries a time of its own, so taking any of them would show.
    const std::vector<Datagram> flawed = {
        {Reply(kGoodSeconds + 1, 0x24, 2, 47)},
        {Reply(kGoodSeconds + 2), Sender::OtherPort},
        {Reply(kGoodSeconds + 3, 0x23)},    // client mode
        {Reply(kGoodSeconds + 4, 0x24, 0)}, // Kiss-o'-Death
    };
    std::vector<Datagram> flawedThenGood = flawed;
    flawedThenGood.push_back({Reply(kGoodSeconds, 0x24, 2, 52)}); // with a fraction's worth of extra bytes
    const SYSTEMTIME expected{2025, 6, 0, 30, 12, 34, 56, 0};

    struct Case {
        const char* name;
        std::vector<Datagram> replies;
        BOOL clockAnswer;
        bool result;
        bool clockAsked;
    };
    const Case cases[] = {
        {"silence", {}, TRUE, false, false},
        {"only flawed replies", flawed, TRUE, false, false},
        {"flawed replies, then a good one", flawedThenGood, TRUE, true, true},
        {"the clock refuses", {{Reply(kGoodSeconds)}}, FALSE, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        g_clockSets.clear();
        g_clockAnswer = c.clockAnswer;
        FakeTimeServer server(c.replies);
        const auto seam = Seam(server.Port());
        const DWORD limit = c.clockAsked ? 10000 : 600;

        const auto started = std::chrono::steady_clock::now();
        EXPECT_EQ(SyncTimeNtp(limit), c.result);
        const auto waited = std::chrono::steady_clock::now() - started;

        server.Finish();
        Bytes request(48, 0);
        request[0] = 0x0B;
        EXPECT_EQ(server.Request(), request);
        EXPECT_EQ(server.RequestPort(), 1024);
        if (c.clockAsked) {
            ASSERT_EQ(g_clockSets.size(), 1u);
            EXPECT_EQ(std::memcmp(&g_clockSets[0], &expected, sizeof(expected)), 0);
        } else {
            EXPECT_TRUE(g_clockSets.empty());
            EXPECT_GE(waited, std::chrono::milliseconds(limit)); // nothing ended the wait early
        }
    }
}

TEST_F(TimeSync, PortInUseEndsAtOnceWithNothingSent) {
    test_support::HeldUdpPort held(1024);
    ASSERT_TRUE(held.Held());
    FakeTimeServer server({{Reply(kGoodSeconds)}}, 1);
    const auto seam = Seam(server.Port());

    const auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(SyncTimeNtp(3000));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(1000));
    EXPECT_TRUE(g_clockSets.empty());
    server.Finish();
    EXPECT_TRUE(server.Request().empty());
}

} // namespace
} // namespace tavimo
