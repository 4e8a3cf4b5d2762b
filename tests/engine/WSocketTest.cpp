// SPDX-License-Identifier: GPL-3.0-or-later
// The socket's event rules: events arrive after the call that caused them, once per connection,
// and all received data comes before the close.

#include "engine/WSocket.h"
#include "engine/SocketErrors.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

using namespace qx;
using namespace std::chrono_literals;

namespace {

void pumpUntil(MessageQueue& queue, const std::function<bool()>& done,
               std::chrono::milliseconds timeout = 5s) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done() && std::chrono::steady_clock::now() < deadline) {
        queue.runOneFor(10ms);
    }
}

// A listening socket on loopback whose port the tests connect to.
struct Listener {
    explicit Listener(MessageQueue& queue) : socket(queue) {
        socket.SetAddr("127.0.0.1");
        socket.SetPort("0");
        socket.Listen();
        port = socket.LocalAddress().Port();
    }
    TWSocket socket;
    std::uint16_t port = 0;
};

int blockingConnect(std::uint16_t port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    EXPECT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    return fd;
}

} // namespace

TEST(WSocket, LookupOfADottedAddressCompletesInsideTheCall) {
    MessageQueue queue;
    TWSocket socket(queue);
    int calls = 0;
    socket.OnDnsLookupDone = [&](TWSocket& s, std::uint16_t error) {
        ++calls;
        EXPECT_EQ(error, 0);
        EXPECT_EQ(s.DnsResult(), "10.1.2.3");
    };
    socket.DnsLookup("10.1.2.3");
    EXPECT_EQ(calls, 1);
    EXPECT_THROW(socket.DnsLookup(""), ESocketException);
}

TEST(WSocket, ListenOnPortZeroGetsAPortAndAcceptsConnections) {
    MessageQueue queue;
    Listener listener(queue);
    EXPECT_GT(listener.port, 0);
    EXPECT_EQ(listener.socket.State(), TSocketState::wsListening);
    TWSocket server(queue);
    bool available = false;
    listener.socket.OnSessionAvailable = [&](TWSocket& s, std::uint16_t) {
        available = true;
        server.Dup(s.Accept());
    };
    const int client = blockingConnect(listener.port);
    pumpUntil(queue, [&] { return available; });
    EXPECT_TRUE(available);
    EXPECT_EQ(server.State(), TSocketState::wsConnected);
    ::close(client);
}

TEST(WSocket, AllDataArrivesBeforeTheOneSessionClosed) {
    MessageQueue queue;
    Listener listener(queue);
    TWSocket server(queue);
    std::string received;
    int closed = 0;
    bool dataAfterClose = false;
    server.OnDataAvailable = [&](TWSocket& s, std::uint16_t) {
        if (closed > 0) {
            dataAfterClose = true;
        }
        char buffer[100]; // smaller than what is waiting: the event repeats
        const auto count = s.ReceiveData(buffer, sizeof buffer);
        if (count > 0) {
            received.append(buffer, static_cast<std::size_t>(count));
        }
    };
    server.OnSessionClosed = [&](TWSocket&, std::uint16_t error) {
        ++closed;
        EXPECT_EQ(error, 0);
    };
    listener.socket.OnSessionAvailable = [&](TWSocket& s, std::uint16_t) {
        server.Dup(s.Accept());
    };
    const int client = blockingConnect(listener.port);
    const std::string payload(100000, 'z');
    std::thread writer([&] {
        std::size_t sent = 0;
        while (sent < payload.size()) {
            const auto n = ::send(client, payload.data() + sent, payload.size() - sent, 0);
            ASSERT_GT(n, 0);
            sent += static_cast<std::size_t>(n);
        }
        ::close(client);
    });
    pumpUntil(queue, [&] { return closed > 0; });
    writer.join();
    queue.processMessages();
    EXPECT_EQ(received.size(), payload.size());
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(dataAfterClose);
    EXPECT_EQ(server.State(), TSocketState::wsClosed);
    server.Close(); // already ended: no second event
    EXPECT_EQ(closed, 1);
}

TEST(WSocket, DataSentComesLaterEvenWhenTheNetworkTookEverythingAtOnce) {
    MessageQueue queue;
    Listener listener(queue);
    TWSocket server(queue);
    int sentEvents = 0;
    bool insideSend = false;
    server.OnDataSent = [&](TWSocket&, std::uint16_t) {
        EXPECT_FALSE(insideSend);
        ++sentEvents;
    };
    listener.socket.OnSessionAvailable = [&](TWSocket& s, std::uint16_t) {
        server.Dup(s.Accept());
    };
    const int client = blockingConnect(listener.port);
    pumpUntil(queue, [&] { return server.State() == TSocketState::wsConnected; });
    insideSend = true;
    EXPECT_EQ(server.SendText("hello"), 5);
    insideSend = false;
    EXPECT_EQ(sentEvents, 0);
    pumpUntil(queue, [&] { return sentEvents > 0; });
    EXPECT_EQ(sentEvents, 1);
    char buffer[8] = {};
    EXPECT_EQ(::recv(client, buffer, sizeof buffer, 0), 5);
    ::close(client);
}

TEST(WSocket, ConnectionRefusedIsReportedAsAnEvent) {
    MessageQueue queue;
    std::uint16_t port = 0;
    {
        Listener probe(queue);
        port = probe.port;
    }
    TWSocket socket(queue);
    socket.SetAddr("127.0.0.1");
    socket.SetPort(std::to_string(port));
    int result = -1;
    int closed = 0;
    socket.OnSessionConnected = [&](TWSocket&, std::uint16_t error) { result = error; };
    socket.OnSessionClosed = [&](TWSocket&, std::uint16_t) { ++closed; };
    socket.Connect();
    EXPECT_EQ(result, -1) << "the event must not come from inside Connect";
    pumpUntil(queue, [&] { return result != -1; });
    EXPECT_EQ(result, 10061);
    EXPECT_EQ(socket.State(), TSocketState::wsClosed);
    queue.processMessages();
    EXPECT_EQ(closed, 1);
}

TEST(WSocket, AddressCanOnlyChangeWhileClosed) {
    MessageQueue queue;
    Listener listener(queue);
    try {
        listener.socket.SetAddr("127.0.0.2");
        ADD_FAILURE() << "changed the address of a listening socket";
    } catch (const ESocketException& e) {
        EXPECT_STREQ(e.what(), "Cannot change Addr if not closed");
    }
    TWSocket unconnected(queue);
    try {
        unconnected.SendText("x");
        ADD_FAILURE() << "sent on an unconnected socket";
    } catch (const ESocketException& e) {
        EXPECT_EQ(std::string(e.what()), "Error 10057 in function Send\r\nSocket is not connected");
    }
}

TEST(SocketErrors, TextsAndNumbers) {
    EXPECT_EQ(WSocketErrorDesc(10061), "Connection refused");
    EXPECT_EQ(WSocketErrorDesc(11001), "Host not found");
    EXPECT_EQ(WSocketErrorDesc(0), "No Error");
    EXPECT_EQ(WSocketErrorDesc(12345), "Not a WinSock error");
    EXPECT_EQ(WinsockErrorFromErrno(ECONNREFUSED), 10061);
    EXPECT_EQ(WinsockErrorFromErrno(ECONNRESET), 10054);
    EXPECT_EQ(WinsockErrorFromErrno(EAGAIN), 10035);
    EXPECT_EQ(WinsockErrorFromErrno(ETIMEDOUT), 10060);
    EXPECT_EQ(WinsockErrorFromAsio(asio::error::host_not_found), 11001);
    EXPECT_EQ(WinsockErrorFromAsio(asio::error::host_not_found_try_again), 11002);
}
