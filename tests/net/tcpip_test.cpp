// The TCP base component against a scripted loopback peer: traces, lines, failures, time-outs.
#include <gtest/gtest.h>

// <chrono> itself cannot be compiled for CP932 literals (its "µs" suffix); <thread> brings
// the clocks and durations.
#include <thread>

#include "net/net_helpers.h"
#include "net/tcpip.h"
#include "tests/net/net_test_support.h"

namespace velmo::net {
namespace {

using testing::Id;
using testing::ScriptPeer;
using testing::ScriptServer;
using testing::TraceLog;
using Lines = std::vector<std::string>;

std::string Opened(const ScriptServer& server, SocketHandle s) {
    return "Opened output socket " + std::to_string(server.Port()) +
           " to host 127.0.0.1 successfully; ID " + Id(s);
}

TEST(TcpIp, WholeTraceOfConnectCommandReplyAndClose) {
    ScriptServer server([](ScriptPeer& peer) {
        peer.Send("ok\r\n");
        peer.ReadLine();
    });
    T_TcpIp tcp;
    TraceLog log;
    tcp.OnTrace = log.Proc();
    tcp.Hostname = server.Host();
    tcp.Login();
    SocketHandle s = tcp.Socket;
    EXPECT_TRUE(tcp.Connected);
    tcp.SendCommand("HELO");
    std::string line;
    EXPECT_TRUE(tcp.ReadLine(s, line));
    EXPECT_EQ(line, "ok");
    tcp.Logout();
    EXPECT_FALSE(tcp.Connected);
    EXPECT_EQ(tcp.Socket, platform::kNoSocket);

    const std::string received = "Received 1 bytes on socket ID " + Id(s);
    EXPECT_EQ(log.lines, (std::vector<std::pair<std::string, TTraceLevel>>{
                             {Opened(server, s), tl_socket},
                             {"Sent 6 bytes on socket ID " + Id(s), tl_socket},
                             {"HELO", tl_command},
                             {received, tl_socket},
                             {received, tl_socket},
                             {received, tl_socket},
                             {received, tl_socket},
                             {"Closed socket ID " + Id(s), tl_socket},
                         }));
}

TEST(TcpIp, ReadLineDropsCarriageReturnsAndLeavesTheRestInTheSocket) {
    ScriptServer server([](ScriptPeer& peer) {
        peer.Send("a\rb\r\nplain\nRAW");
        peer.ReadLine();
    });
    T_TcpIp tcp;
    tcp.Hostname = server.Host();
    tcp.Login();
    std::string line;
    ASSERT_TRUE(tcp.ReadLine(tcp.Socket, line));
    EXPECT_EQ(line, "ab");
    ASSERT_TRUE(tcp.ReadLine(tcp.Socket, line));
    EXPECT_EQ(line, "plain");
    // Nothing after the line feed was taken out of the socket.
    char raw[8] = {};
    long count = 0;
    tcp.ReceiveBuf(tcp.Socket, raw, count, sizeof raw);
    EXPECT_EQ(std::string(raw, count > 0 ? count : 0), "RAW");
    tcp.SendCommand("bye");
}

TEST(TcpIp, PeerClosingInTheMiddleOfALineLeavesTheLineUnchanged) {
    ScriptServer server([](ScriptPeer& peer) { peer.Send("cut off"); });
    T_TcpIp tcp;
    tcp.Hostname = server.Host();
    tcp.Login();
    std::string line = "before";
    EXPECT_FALSE(tcp.ReadLine(tcp.Socket, line));
    EXPECT_EQ(line, "before");
    EXPECT_TRUE(tcp.Closed);
    EXPECT_TRUE(tcp.Eof(tcp.Socket));
}

TEST(TcpIp, SilentPeerEndsTheReadAfterTheReceiveTimeout) {
    ScriptServer server([](ScriptPeer& peer) { peer.ReadLine(); });
    T_TcpIp tcp;
    tcp.ReceiveTimeout = 300;
    tcp.Hostname = server.Host();
    tcp.Login();
    auto start = std::chrono::steady_clock::now();
    std::string line = "kept";
    EXPECT_FALSE(tcp.ReadLine(tcp.Socket, line));
    auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(line, "kept");
    EXPECT_TRUE(tcp.Closed);
    EXPECT_GE(waited, std::chrono::milliseconds(250));
    EXPECT_LT(waited, std::chrono::seconds(5));
    tcp.SendCommand("wake");
}

TEST(TcpIp, ActionReadsTheWholeResponseUntilThePeerCloses) {
    std::string big(100000, 'x');
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>('a' + i % 26);
    ScriptServer server([&big](ScriptPeer& peer) { peer.Send(big); });
    T_TcpIp tcp;
    tcp.Hostname = server.Host();
    tcp.Action();
    EXPECT_TRUE(tcp.Stream.Bytes() == big);
    EXPECT_EQ(tcp.Stream.Position(), 0u);
    EXPECT_TRUE(tcp.Connected);  // Action leaves the log-out to the caller
}

TEST(TcpIp, UnresolvableHostRaisesWithoutOpeningASocket) {
    for (std::string host : {"no-such-host.invalid", ""}) {
        T_TcpIp tcp;
        TraceLog log;
        tcp.OnTrace = log.Proc();
        tcp.Hostname = host;
        tcp.RemotePort = 21;
        try {
            tcp.Login();
            ADD_FAILURE() << "no exception for " << host;
        } catch (const ESocketError&) {
            ADD_FAILURE() << "socket error for " << host;
        } catch (const ETcpIpError& e) {
            EXPECT_STREQ(e.what(), ("Couldn't resolve hostname " + host).c_str());
        }
        EXPECT_TRUE(log.lines.empty());
        EXPECT_EQ(tcp.Socket, platform::kNoSocket);
        EXPECT_FALSE(tcp.Connected);
    }
}

TEST(TcpIp, RefusedConnectionTracesCloseThenFailureAndRaisesSocketError) {
    // A port that nothing listens on: bound once, then released.
    UseSocketLibrary();
    SocketHandle probe = platform::OpenStreamSocket();
    ASSERT_TRUE(platform::BindSocketTo(probe, ResolveHost("127.0.0.1"), 0));
    std::uint16_t port = platform::SocketLocalPort(probe).value_or(0);
    platform::CloseSocketHandle(probe);
    T_TcpIp tcp;
    TraceLog log;
    tcp.OnTrace = log.Proc();
    tcp.Hostname = "127.0.0.1";
    tcp.RemotePort = port;
    try {
        tcp.Login();
        FAIL() << "connected to a closed port";
    } catch (const ESocketError& e) {
        EXPECT_STREQ(e.what(), "Error creating socket");
        EXPECT_EQ(e.ErrorCode, platform::socket_error::kConnectionRefused);
    }
    ASSERT_EQ(log.lines.size(), 2u);
    EXPECT_EQ(log.lines[0].first.rfind("Closed socket ID ", 0), 0u) << log.lines[0].first;
    EXPECT_EQ(log.lines[1].first,
              "Failed to open output socket " + std::to_string(port) + " to host 127.0.0.1");
    EXPECT_FALSE(tcp.Connected);
}

TEST(TcpIp, ConnectGivesUpAfterTheConnectTimeout) {
    // A listener whose queue is full lets further connection attempts hang.
    UseSocketLibrary();
    const std::uint32_t loopback = ResolveHost("127.0.0.1");
    SocketHandle listener = platform::OpenStreamSocket();
    ASSERT_TRUE(platform::BindSocketTo(listener, loopback, 0));
    ASSERT_TRUE(platform::ListenOnSocket(listener, 0));
    std::uint16_t port = platform::SocketLocalPort(listener).value_or(0);
    std::vector<SocketHandle> fillers;
    for (int i = 0; i < 3; ++i) {
        fillers.push_back(platform::OpenStreamSocket());
        platform::ConnectSocketTo(fillers.back(), loopback, port, 200);
    }
    T_TcpIp tcp;
    TraceLog log;
    tcp.OnTrace = log.Proc();
    tcp.ConnectTimeout = 300;
    tcp.Hostname = "127.0.0.1:" + std::to_string(port);
    auto start = std::chrono::steady_clock::now();
    try {
        tcp.Login();
        ADD_FAILURE() << "connected to a full queue";
    } catch (const ESocketError& e) {
        EXPECT_EQ(e.ErrorCode, platform::socket_error::kTimedOut);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    ASSERT_EQ(log.lines.size(), 2u);
    EXPECT_EQ(log.lines[1].first,
              "Failed to open output socket " + std::to_string(port) + " to host 127.0.0.1");
    for (SocketHandle s : fillers) platform::CloseSocketHandle(s);
    platform::CloseSocketHandle(listener);
}

TEST(TcpIp, SecondLoginClosesTheOldSocketBeforeOpeningTheNewOne) {
    ScriptServer first([](ScriptPeer& peer) { peer.ReadLine(); });
    ScriptServer second([](ScriptPeer& peer) { peer.ReadLine(); });
    T_TcpIp tcp;
    TraceLog log;
    tcp.OnTrace = log.Proc();
    tcp.Hostname = first.Host();
    tcp.Login();
    SocketHandle old = tcp.Socket;
    tcp.Hostname = second.Host();
    tcp.Login();
    EXPECT_EQ(log.Sockets(), (Lines{Opened(first, old), "Closed socket ID " + Id(old),
                                    Opened(second, tcp.Socket)}));
    tcp.SendCommand("x");
}

TEST(TcpIp, FailedSendIsTracedWithMinusOne) {
    T_TcpIp tcp;
    TraceLog log;
    tcp.OnTrace = log.Proc();
    SocketHandle s = tcp.CreateSocket();  // never connected
    long count = 5;
    tcp.SendBuf(s, "hello", count);
    EXPECT_EQ(count, -1);
    EXPECT_EQ(log.Sockets(), Lines{"Sent -1 bytes on socket ID " + Id(s)});
    EXPECT_EQ(tcp.SocketState(s), 1);
    EXPECT_EQ(tcp.SocketState(platform::kNoSocket), 0);
    tcp.CloseSocket(s);
}

TEST(TcpIp, DestroyingAConnectedComponentTracesNothing) {
    ScriptServer server([](ScriptPeer& peer) { peer.ReadLine(); });
    TraceLog log;
    {
        T_TcpIp tcp;
        tcp.Hostname = server.Host();
        tcp.Login();
        tcp.OnTrace = log.Proc();
    }
    EXPECT_TRUE(log.lines.empty());
}

TEST(TcpIp, ListeningAcceptingAndTheirFailures) {
    T_TcpIp tcp;
    TraceLog log;
    tcp.OnTrace = log.Proc();
    tcp.ConnectTimeout = 200;
    const std::uint32_t loopback = ResolveHost("127.0.0.1");
    SocketHandle listening = platform::kNoSocket;
    std::uint16_t port = 0;
    tcp.OpenInputSocket(listening, port, loopback);
    ASSERT_NE(listening, platform::kNoSocket);
    ASSERT_NE(port, 0);
    const std::string portText = std::to_string(port);

    unsigned char peer[16];
    EXPECT_EQ(tcp.AcceptConnection(listening, peer), platform::kNoSocket);

    T_TcpIp client;
    client.Hostname = "127.0.0.1:" + portText;
    client.Login();
    SocketHandle accepted = tcp.AcceptConnection(listening, peer);
    EXPECT_NE(accepted, platform::kNoSocket);
    EXPECT_EQ(tcp.SocketState(accepted), 2);

    // The same port again cannot be bound.
    SocketHandle second = platform::kNoSocket;
    std::uint16_t samePort = port;
    tcp.OpenInputSocket(second, samePort, loopback);
    EXPECT_EQ(second, platform::kNoSocket);

    Lines expected{
        "Bound to socket 0 for local ip 127.0.0.1",
        "Set input socket " + portText + " to listening mode sucessfully; ID " + Id(listening),
        "No incoming connection found on socket ID " + Id(listening),
        "Incoming connection found on socket ID " + Id(listening) + "; generated socket ID " +
            Id(accepted),
        "Failed to bind socket " + portText + " for local ip 127.0.0.1",
    };
    Lines got = log.Sockets();
    ASSERT_EQ(got.size(), 6u);
    EXPECT_EQ(Lines(got.begin(), got.begin() + 5), expected);
    EXPECT_EQ(got[5].rfind("Closed socket ID ", 0), 0u);
    tcp.CloseSocket(accepted);
    tcp.CloseSocket(listening);
}

TEST(TcpIp, WindowProcedureMarksControlDataAndAllowsEndOfSession) {
    T_TcpIp tcp;
    EXPECT_FALSE(tcp.DataArrived);
    EXPECT_EQ(tcp.WndProc(kControlSocketMessage, 0, FD_WRITE_EVENT), 0);
    EXPECT_FALSE(tcp.DataArrived);
    EXPECT_EQ(tcp.WndProc(kControlSocketMessage, 0, FD_READ_EVENT), 0);
    EXPECT_TRUE(tcp.DataArrived);
    EXPECT_EQ(tcp.WndProc(0x0011 /* WM_QUERYENDSESSION */, 0, 0), 1);
    EXPECT_FALSE(tcp.WndProc(0x0400, 0, 0).has_value());
}

}  // namespace
}  // namespace velmo::net
