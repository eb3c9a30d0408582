// The FTP client against a scripted peer: replies no real server sends, time-outs and ABOR.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <thread>

#include "net/ftp.h"
#include "tests/net/net_test_support.h"

namespace velmo::net {
namespace {

using testing::ScriptPeer;
using testing::ScriptServer;
using testing::TraceLog;
using Lines = std::vector<std::string>;

// The server's half of a log-in; every command the client sent is kept in `got`.
void LogIn(ScriptPeer& peer, Lines& got) {
    peer.Send("220 ready\r\n");
    for (const char* reply : {"331 password\r\n", "230 in\r\n", "200 binary\r\n"}) {
        got.push_back(peer.ReadLine());
        peer.Send(reply);
    }
}

// Reads one reply after connecting, with nothing else said, so that a table can feed the
// reply parser directly.
struct ReplyCase {
    const char* name;
    std::string bytes;  // the server sends this, then closes
    int code;
    std::string text;
    Lines traced;
    int nextCode;  // the reply read after it
};

TEST(FtpScript, ReplyParsing) {
    const ReplyCase cases[] = {
        {"no code", "hello\r\n", 999, "o", {"hello"}, 999},
        {"too short", "22\r\n", 999, "", {"22"}, 999},
        {"line feed alone", "220 ok\n250 next\n", 220, "ok", {"220 ok"}, 250},
        {"continuation lines of any form",
         "220-first\r\nplain middle\r\n 220 indented\r\n220-still going\r\n220 last\r\n"
         "250 next\r\n",
         220,
         "first",
         {"220-first", "plain middle", " 220 indented", "220-still going", "220 last"},
         250},
        {"continuation cut off by the end of the connection",
         "220-first\r\n220-second\r\n",
         220,
         "first",
         {"220-first", "220-second"},
         999},
        {"refusal leaves its further lines for the next reply",
         "530-no\r\n530 really\r\n",
         530,
         "no",
         {"530-no"},
         530},
        {"line cut off", "220 partial", 999, "", {}, 999},
        {"nothing at all", "", 999, "", {}, 999},
    };
    for (const ReplyCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptServer server([&c](ScriptPeer& peer) { peer.Send(c.bytes); });
        T_FTP ftp;
        TraceLog log;
        ftp.Hostname = server.Host();
        ftp.T_TcpIp::Login();  // the connection alone
        ftp.ControlSocket = ftp.Socket;
        ftp.OnTrace = log.Proc();
        ftp.ReadReply();
        EXPECT_EQ(ftp.ReplyCode, c.code);
        EXPECT_EQ(ftp.ReplyText, c.text);
        EXPECT_EQ(log.At({tl_reply}), c.traced);
        ftp.ReadReply();
        EXPECT_EQ(ftp.ReplyCode, c.nextCode);
        ftp.OnTrace = nullptr;
    }
}

TEST(FtpScript, PassiveReplyWithoutAUsableAddressOpensNoDataConnection) {
    for (const char* pasv : {"227 Entering Passive Mode 127,0,0,1,4,1\r\n",
                             "227 Entering Passive Mode (127,0,0,1,x,1)\r\n",
                             "227 Entering Passive Mode (127,0,0,1)\r\n"}) {
        SCOPED_TRACE(pasv);
        Lines got;
        ScriptServer server([&got, pasv](ScriptPeer& peer) {
            LogIn(peer, got);
            got.push_back(peer.ReadLine());  // PASV
            peer.Send(pasv);
            got.push_back(peer.ReadLine());  // STOR
            peer.Send("425 Use PORT or PASV first.\r\n");
            got.push_back(peer.ReadLine());  // QUIT
            peer.Send("221 bye\r\n");
        });
        T_FTP ftp;
        TraceLog log;
        ftp.OnTrace = log.Proc();
        ftp.Hostname = server.Host();
        ftp.URI = "file";
        ftp.Stream.Write("data", 4);
        ftp.Upload();
        EXPECT_EQ(ftp.ReplyCode, 425);
        EXPECT_FALSE(ftp.Busy);
        ftp.Logout();
        server.Join();
        EXPECT_EQ(
            got, (Lines{"USER ftp", "PASS user@localhost", "TYPE I", "PASV", "STOR file", "QUIT"}));
        // Only the control connection was ever opened.
        int opened = 0;
        for (const std::string& line : log.Sockets())
            if (line.rfind("Opened output socket ", 0) == 0) ++opened;
        EXPECT_EQ(opened, 1);
    }
}

TEST(FtpScript, RefusedPassiveModeRaisesBeforeTheTransferCommand) {
    Lines got;
    ScriptServer server([&got](ScriptPeer& peer) {
        LogIn(peer, got);
        got.push_back(peer.ReadLine());
        peer.Send("502 No passive mode here.\r\n");
        got.push_back(peer.ReadLine());
        peer.Send("221 bye\r\n");
    });
    T_FTP ftp;
    ftp.Hostname = server.Host();
    ftp.URI = "file";
    try {
        ftp.Upload();
        ADD_FAILURE() << "no exception";
    } catch (const EProtocolError& e) {
        EXPECT_EQ(e.Protocol, "FTP");
        EXPECT_EQ(e.ErrorCode, 502);
        EXPECT_STREQ(e.what(), "No passive mode here.");
    }
    EXPECT_FALSE(ftp.Busy);
    ftp.Logout();
    server.Join();
    EXPECT_EQ(got.back(), "QUIT");
    EXPECT_EQ(got[3], "PASV");
}

TEST(FtpScript, UploadWithoutANameOnlyLogsIn) {
    Lines got;
    ScriptServer server([&got](ScriptPeer& peer) {
        LogIn(peer, got);
        got.push_back(peer.ReadLine());
        peer.Send("221 bye\r\n");
    });
    T_FTP ftp;
    ftp.Hostname = server.Host();
    ftp.Upload();
    EXPECT_TRUE(ftp.Connected);
    ftp.Logout();
    server.Join();
    EXPECT_EQ(got, (Lines{"USER ftp", "PASS user@localhost", "TYPE I", "QUIT"}));
}

TEST(FtpScript, ServerThatNeverConfirmsEndsTheUploadAfterTheTimeout) {
    std::string stored;
    ScriptServer server([&stored](ScriptPeer& peer) {
        Lines got;
        LogIn(peer, got);
        peer.ReadLine();
        peer.Send("227 Entering Passive Mode (" + peer.OpenDataListener() + ")\r\n");
        peer.ReadLine();
        ScriptPeer data = peer.AcceptData();
        peer.Send("150 go\r\n");
        stored = data.ReadAll();
        data.Close();
        peer.ReadLine();  // silent until the client has given up and quits
    });
    T_FTP ftp;
    ftp.ReceiveTimeout = 300;
    ftp.Hostname = server.Host();
    ftp.URI = "file";
    ftp.Stream.Write("payload", 7);
    auto start = std::chrono::steady_clock::now();
    ftp.Upload();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(ftp.ReplyCode, 999);
    EXPECT_FALSE(ftp.Busy);
    ftp.Logout();
    server.Join();
    EXPECT_EQ(stored, "payload");
}

// PORT announced the host name's first address, which under Wine (and on any machine with a
// second interface or a dial-up link) is not the one the server talks to; servers refuse a
// data address other than the client's. The address of the control connection is announced.
TEST(FtpScript, ActiveModeAnnouncesTheListenerAndAcceptsAfterTheReply) {
    std::string port;
    std::string stored;
    ScriptServer server([&](ScriptPeer& peer) {
        Lines got;
        LogIn(peer, got);
        port = peer.ReadLine();
        peer.Send("200 ok\r\n");
        peer.ReadLine();
        // Like a server that answers first and connects afterwards.
        peer.Send("150 connecting\r\n");
        peer.Pause(100);
        ScriptPeer data = ScriptPeer::ConnectTo(port.substr(5));
        stored = data.ReadAll();
        data.Close();
        peer.Send("226 done\r\n");
        peer.ReadLine();
        peer.Send("221 bye\r\n");
    });
    T_FTP ftp;
    TraceLog log;
    ftp.OnTrace = log.Proc();
    ftp.Passive = false;
    ftp.Hostname = server.Host();
    ftp.URI = "file";
    ftp.Stream.Write("active bytes", 12);
    ftp.Upload();
    EXPECT_EQ(ftp.ReplyCode, 226);
    ftp.Logout();
    server.Join();
    EXPECT_EQ(stored, "active bytes");
    EXPECT_EQ(port.rfind("PORT 127,0,0,1,", 0), 0u) << port;
    Lines sockets = log.Sockets();
    auto incoming = std::find_if(sockets.begin(), sockets.end(), [](const std::string& s) {
        return s.rfind("Incoming connection found on socket ID ", 0) == 0;
    });
    ASSERT_NE(incoming, sockets.end());
    EXPECT_EQ((incoming + 1)->rfind("Closed socket ID ", 0), 0u);  // the listener goes
}

TEST(FtpScript, ActiveModeWithoutAConnectionGivesUpAfterTheConnectTimeout) {
    ScriptServer server([](ScriptPeer& peer) {
        Lines got;
        LogIn(peer, got);
        peer.ReadLine();
        peer.Send("200 ok\r\n");
        peer.ReadLine();
        peer.Send("150 but never connects\r\n");
        peer.Pause(600);
        peer.Send("425 no data connection\r\n");
        peer.ReadLine();
        peer.Send("221 bye\r\n");
    });
    T_FTP ftp;
    TraceLog log;
    ftp.OnTrace = log.Proc();
    ftp.Passive = false;
    ftp.ConnectTimeout = 300;
    ftp.ReceiveTimeout = 2000;
    ftp.Hostname = server.Host();
    ftp.URI = "file";
    ftp.Stream.Write("x", 1);
    ftp.Upload();
    EXPECT_EQ(ftp.ReplyCode, 425);
    EXPECT_FALSE(ftp.Busy);
    bool none = false;
    for (const std::string& line : log.Sockets())
        if (line.rfind("No incoming connection found on socket ID ", 0) == 0) none = true;
    EXPECT_TRUE(none);
    ftp.Logout();
}

struct AbortCase {
    const char* name;
    std::string reply;
    bool raises;
    Lines traced;
};

TEST(FtpScript, AbortReadsTheRepliesTheServerGives) {
    const AbortCase cases[] = {
        {"aborted, then confirmed",
         "426 Transfer aborted.\r\n226 ABOR done.\r\n",
         false,
         {"ABOR", "426 Transfer aborted.", "226 ABOR done."}},
        {"confirmed at once", "226 Closing.\r\n", false, {"ABOR", "226 Closing."}},
        {"not understood", "500 What?\r\n", true, {"ABOR", "500 What?"}},
    };
    for (const AbortCase& c : cases) {
        SCOPED_TRACE(c.name);
        Lines got;
        ScriptServer server([&got, &c](ScriptPeer& peer) {
            LogIn(peer, got);
            got.push_back(peer.ReadLine());  // SIZE
            peer.Send("213 100\r\n");
            got.push_back(peer.ReadLine());  // PASV
            peer.Send("227 Entering Passive Mode (" + peer.OpenDataListener() + ")\r\n");
            got.push_back(peer.ReadLine());  // RETR
            ScriptPeer data = peer.AcceptData();
            peer.Send("150 sending\r\n");
            data.Send("first part");
            got.push_back(peer.ReadLine());  // ABOR
            data.Close();
            peer.Send(c.reply);
            got.push_back(peer.ReadLine());  // QUIT
            peer.Send("221 bye\r\n");
        });
        T_FTP ftp;
        TraceLog log;
        ftp.Hostname = server.Host();
        ftp.URI = "file";
        ftp.OnDataReceived = [](T_FTP&, t_ftp_mode, std::int32_t bytes) {
            if (bytes > 0) throw std::runtime_error("stop");
        };
        EXPECT_THROW(ftp.Download(), std::runtime_error);
        EXPECT_TRUE(ftp.Busy);
        ftp.OnTrace = log.Proc();
        if (c.raises) {
            try {
                ftp.Abort();
                ADD_FAILURE() << "no exception";
            } catch (const EProtocolError& e) {
                EXPECT_EQ(e.ErrorCode, 500);
                EXPECT_STREQ(e.what(), "What?");
            }
        } else {
            EXPECT_NO_THROW(ftp.Abort());
        }
        EXPECT_FALSE(ftp.Busy);
        EXPECT_EQ(log.Dialogue(), c.traced);
        ftp.Logout();  // the next reply is the one to QUIT
        EXPECT_EQ(ftp.ReplyCode, 221);
        server.Join();
        EXPECT_EQ(got.back(), "QUIT");
    }
}

}  // namespace
}  // namespace velmo::net
