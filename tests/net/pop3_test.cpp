// The POP3 client against dovecot (maildirs with 0, 1 and 3 messages) and a scripted peer.
#include "net/pop3.h"

#include <gtest/gtest.h>

#include <functional>

#include "tests/net/net_test_support.h"

namespace velmo::net {
namespace {

using testing::Env;
using testing::ScriptPeer;
using testing::ScriptServer;
using testing::TraceLog;
using Lines = std::vector<std::string>;

class Pop3Real : public ::testing::Test {
  protected:
    void SetUp() override {
        pop.Hostname = "127.0.0.1:" + Env("VELMO_POP3_PORT");
        pop.Password = Env("VELMO_POP3_PASSWORD");
        pop.ReceiveTimeout = 10000;
        pop.OnTrace = log.Proc();
    }
    T_Pop3 pop;
    TraceLog log;
};

TEST_F(Pop3Real, EmptyMailboxLogsInAndOutWithoutRetrieving) {
    pop.UserName = Env("VELMO_POP3_USER_EMPTY");
    pop.Action();
    EXPECT_EQ(pop.NumberOfMails(), 0);
    EXPECT_TRUE(pop.MailList.empty());
    EXPECT_FALSE(pop.Connected);
    EXPECT_EQ(log.Dialogue(),
              (Lines{"+OK Dovecot (Debian) ready.", "USER empty", "+OK", "PASS *****",
                     "+OK Logged in.", "LIST", "+OK 0 messages:", "QUIT", "+OK Logging out."}));
}

TEST_F(Pop3Real, ThreeMessagesAreListedAndOnlyTheFirstIsRetrieved) {
    pop.UserName = Env("VELMO_POP3_USER_THREE");
    pop.Login();
    ASSERT_EQ(pop.NumberOfMails(), 3);
    ASSERT_EQ(pop.MailList.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(pop.MailList[i].Number, i + 1);
        EXPECT_GT(pop.MailList[i].Size, 0);
    }
    pop.Logout();
    EXPECT_TRUE(pop.MailList.empty());  // only a log-out empties the list

    log.lines.clear();
    pop.Action();
    Lines commands = log.At({tl_command});
    EXPECT_EQ(commands, (Lines{"USER three", "PASS *****", "LIST", "RETR 1", "QUIT"}));
    // Message lines are not traced, and are kept as received: dot-stuffing stays.
    EXPECT_EQ(pop.MailText,
              (Lines{"From: sender1@example.jp", "To: three@example.jp", "Subject: message 1", "",
                     "Body of message 1.", "..", "..leading dot", "end"}));
    for (const std::string& line : log.Dialogue()) EXPECT_NE(line, "Subject: message 1");
}

TEST_F(Pop3Real, RetrieveLogsInWhenNeeded) {
    pop.UserName = Env("VELMO_POP3_USER_ONE");
    pop.Retrieve(1);
    EXPECT_EQ(pop.NumberOfMails(), 1);
    ASSERT_FALSE(pop.MailText.empty());
    EXPECT_EQ(pop.MailText[0], "From: sender1@example.jp");
    pop.Logout();
}

// Last of the suite: dovecot slows down log-ins from an address after a failed one.
TEST_F(Pop3Real, WrongPasswordRaisesAndTheNextLoginStillWorks) {
    pop.UserName = Env("VELMO_POP3_USER_ONE");
    pop.Password = "wrong";
    try {
        pop.Action();
        ADD_FAILURE() << "no exception";
    } catch (const EProtocolError& e) {
        EXPECT_EQ(e.Protocol, "POP3");
        EXPECT_EQ(e.ErrorCode, 500);
        EXPECT_EQ(std::string(e.what()).rfind("-ERR ", 0), 0u) << e.what();
    }
    EXPECT_TRUE(pop.Connected);  // left open; the next log-in closes it
    pop.Password = Env("VELMO_POP3_PASSWORD");
    pop.Action();
    EXPECT_EQ(pop.MailText.size(), 8u);
}

TEST(Pop3, UnknownHostRaisesTheResolverError) {
    T_Pop3 pop;
    pop.Hostname = "no-such-host.invalid";
    EXPECT_THROW(pop.Action(), ETcpIpError);
    EXPECT_EQ(pop.RemotePort, 110);
}

struct ScriptCase {
    const char* name;
    std::function<void(ScriptPeer&)> script;
    int code;
    std::string message;
    Lines sentBeforeFailure;  // commands the client sent
};

TEST(Pop3Script, Failures) {
    auto logIn = [](ScriptPeer& peer) {
        peer.Send("+OK hi\r\n");
        peer.ReadLine();
        peer.Send("+OK\r\n");
        peer.ReadLine();
        peer.Send("+OK\r\n");
        peer.ReadLine();
    };
    const ScriptCase cases[] = {
        {"greeting refused",
         [](ScriptPeer& peer) {
             peer.Send("-ERR go away\r\n");
             peer.ReadLine();
         },
         500,
         "-ERR go away",
         {}},
        {"status line without a sign",
         [](ScriptPeer& peer) {
             peer.Send("OK\r\n");
             peer.ReadLine();
         },
         999,
         "OK",
         {}},
        {"listing cut off",
         [&logIn](ScriptPeer& peer) {
             logIn(peer);
             peer.Send("+OK 2 messages\r\n1 100\r\n");
         },
         999,
         "Connection closed by the server",
         {"USER u", "PASS *****", "LIST"}},
        {"listing line that is no number",
         [&logIn](ScriptPeer& peer) {
             logIn(peer);
             peer.Send("+OK\r\n1 many\r\n.\r\n");
             peer.ReadLine();
         },
         999,
         "'many' is not a valid integer value",
         {"USER u", "PASS *****", "LIST"}},
        {"message cut off",
         [&logIn](ScriptPeer& peer) {
             logIn(peer);
             peer.Send("+OK\r\n1 10\r\n.\r\n");
             peer.ReadLine();
             peer.Send("+OK\r\nline one\r\n");
         },
         999,
         "Connection closed by the server",
         {"USER u", "PASS *****", "LIST", "RETR 1"}},
    };
    for (const ScriptCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptServer server(c.script);
        T_Pop3 pop;
        TraceLog log;
        pop.OnTrace = log.Proc();
        pop.ReceiveTimeout = 5000;
        pop.Hostname = server.Host();
        pop.UserName = "u";
        try {
            pop.Action();
            ADD_FAILURE() << "no exception";
        } catch (const EProtocolError& e) {
            EXPECT_EQ(e.ErrorCode, c.code);
            EXPECT_EQ(e.what(), c.message);
        }
        EXPECT_EQ(log.At({tl_command}), c.sentBeforeFailure);
    }
}

TEST(Pop3Script, RefusedQuitStillClosesTheConnection) {
    ScriptServer server([](ScriptPeer& peer) {
        peer.Send("+OK hi\r\n");
        for (const char* reply : {"+OK\r\n", "+OK\r\n", "+OK\r\n.\r\n", "-ERR not now\r\n"}) {
            peer.ReadLine();
            peer.Send(reply);
        }
    });
    T_Pop3 pop;
    pop.Hostname = server.Host();
    pop.Login();
    try {
        pop.Logout();
        ADD_FAILURE() << "no exception";
    } catch (const EProtocolError& e) {
        EXPECT_EQ(e.ErrorCode, 500);
    }
    EXPECT_FALSE(pop.Connected);
    EXPECT_EQ(pop.Socket, platform::kNoSocket);
}

}  // namespace
}  // namespace velmo::net
