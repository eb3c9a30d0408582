// The FTP client against real servers (pyftpdlib, proftpd), passive and active.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "net/ftp.h"
#include "platform/files.h"
#include "platform/socket.h"
#include "platform/text.h"
#include "tests/net/net_test_support.h"

namespace velmo::net {
namespace {

using testing::Env;
using testing::ServerPath;
using testing::TraceLog;
using Lines = std::vector<std::string>;

struct Server {
    const char* name;
    const char* portKey;
    const char* homeKey;
    bool passive;
};

std::string PrintServer(const ::testing::TestParamInfo<Server>& info) {
    return std::string(info.param.name) + (info.param.passive ? "Passive" : "Active");
}

// Data addresses change from run to run, and pyftpdlib answers a transfer command with 125 or
// 150 depending on whether it has taken the data connection yet.
Lines Normalised(Lines lines) {
    for (std::string& line : lines) {
        if (line == "125 Data connection already open. Transfer starting." ||
            line == "150 File status okay. About to open data connection.")
            line = "125 or 150";
        if (line.rfind("PORT ", 0) == 0) line = "PORT *";
        std::size_t open = line.find('(');
        if (line.rfind("227 ", 0) == 0 && open != std::string::npos)
            line = line.substr(0, open) + "(*)" + line.substr(line.find(')') + 1);
    }
    return lines;
}

std::string Pattern(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7919) >> 3);
    return bytes;
}

class FtpReal : public ::testing::TestWithParam<Server> {
  protected:
    void SetUp() override {
        ftp.Hostname = "127.0.0.1:" + Env(GetParam().portKey);
        ftp.Username = Env("VELMO_FTP_USER");
        ftp.Password = Env("VELMO_FTP_PASSWORD");
        ftp.Passive = GetParam().passive;
        ftp.ReceiveTimeout = 10000;
        ftp.OnTrace = log.Proc();
        ftp.OnDataReceived = [this](T_FTP&, t_ftp_mode mode, std::int32_t bytes) {
            data.emplace_back(mode, bytes);
        };
        ftp.OnActionComplete = [this](T_FTP&, t_ftp_mode mode) { completed.push_back(mode); };
        home = ServerPath(Env(GetParam().homeKey));
        // Each server, mode and test writes its own file: the suites may run side by side.
        uploadName = std::string("up-") + (GetParam().passive ? "p-" : "a-") +
                     ::testing::UnitTest::GetInstance()->current_test_info()->name();
        for (char& c : uploadName)
            if (c == '/') c = '-';
    }

    bool IsProftpd() const { return std::string(GetParam().name) == "Proftpd"; }

    // What the servers say to our log-in, up to the reply to TYPE I.
    Lines LoginDialogue() const {
        if (IsProftpd())
            return {"220 ProFTPD Server (Velmo test server (proftpd)) [127.0.0.1]",
                    "USER velmo",
                    "331 Password required for velmo",
                    "PASS ******",
                    "230-Welcome to the Velmo test server.",
                    " This line has no code in front of it.",
                    "230 User velmo logged in",
                    "TYPE I",
                    "200 Type set to I"};
        return {
            "220-Velmo test server (pyftpdlib) on the loopback interface, for the network "
            "suites only.",
            "220 ",
            "USER velmo",
            "331 Username ok, send password.",
            "PASS ******",
            "230 Login successful.",
            "TYPE I",
            "200 Type set to: Binary."};
    }

    Lines DataOpening() const {
        if (GetParam().passive) return {"PASV", "227 Entering " + PassiveWord() + " (*)."};
        return {"PORT *", IsProftpd() ? "200 PORT command successful"
                                      : "200 Active data connection established."};
    }
    std::string PassiveWord() const { return IsProftpd() ? "Passive Mode" : "passive mode"; }

    Lines Concat(std::initializer_list<Lines> parts) const {
        Lines all;
        for (const Lines& p : parts) all.insert(all.end(), p.begin(), p.end());
        return all;
    }

    T_FTP ftp;
    TraceLog log;
    std::vector<std::pair<t_ftp_mode, std::int32_t>> data;
    std::vector<t_ftp_mode> completed;
    std::string home;
    std::string uploadName;
};

TEST_P(FtpReal, UploadStoresTheStreamAndTracesTheWholeDialogue) {
    const std::string content = Pattern(100000);  // four blocks of at most 32512 bytes
    ftp.Login();
    ftp.ChangeDir("/");
    EXPECT_EQ(ftp.ReplyCode, 250);
    ftp.URI = uploadName;
    ftp.Stream.Write(content.data(), content.size());
    ftp.Upload();
    EXPECT_EQ(ftp.ReplyCode, 226);
    EXPECT_FALSE(ftp.Busy);
    EXPECT_EQ(ftp.FileSize, 100000);
    ftp.Logout();
    EXPECT_FALSE(ftp.Connected);

    std::int64_t sent = 0;
    for (auto [mode, bytes] : data) {
        EXPECT_EQ(mode, tftp_upload);
        EXPECT_GT(bytes, 0);
        sent += bytes;
    }
    EXPECT_EQ(sent, 100000);
    EXPECT_EQ(completed, std::vector<t_ftp_mode>{tftp_upload});
    // Compared whole, without printing 100 KB of binary on a mismatch.
    EXPECT_TRUE(platform::ReadWholeFile(platform::JoinPath(home, uploadName)) == content);

    Lines cwd = IsProftpd() ? Lines{"CWD /", "250 CWD command successful"}
                            : Lines{"CWD /", "250 \"/\" is the current directory."};
    Lines stor;
    if (IsProftpd())
        stor = {"STOR " + uploadName, "150 Opening BINARY mode data connection for " + uploadName,
                "226 Transfer complete"};
    else
        stor = {"STOR " + uploadName, "125 or 150", "226 Transfer complete."};
    Lines quit = {"QUIT", "221 Goodbye."};
    EXPECT_EQ(Normalised(log.Dialogue()),
              Concat({LoginDialogue(), cwd, DataOpening(), stor, quit}));
}

TEST_P(FtpReal, EmptyFileOpensAndClosesTheDataConnectionOnly) {
    ftp.URI = uploadName;
    ftp.Upload();  // logs in by itself
    EXPECT_EQ(ftp.ReplyCode, 226);
    EXPECT_TRUE(data.empty());
    EXPECT_EQ(completed, std::vector<t_ftp_mode>{tftp_upload});
    EXPECT_EQ(platform::ReadWholeFile(platform::JoinPath(home, uploadName)), "");
    ftp.Logout();
}

TEST_P(FtpReal, RefusedDirectoryAndRefusedStoreEndWithoutWaiting) {
    ftp.ChangeDir("no-such-folder");
    EXPECT_EQ(ftp.ReplyCode, 550);
    ftp.ChangeDir("locked");
    EXPECT_EQ(ftp.ReplyCode, 250);
    ftp.URI = "refused.bin";
    ftp.Stream.Write("abc", 3);
    log.lines.clear();
    ftp.Upload();
    EXPECT_EQ(ftp.ReplyCode, 550);
    EXPECT_FALSE(ftp.Busy);
    EXPECT_EQ(ftp.Socket, platform::kNoSocket);
    EXPECT_TRUE(completed.empty());
    Lines dialogue = Normalised(log.Dialogue());
    ASSERT_EQ(dialogue.size(), 4u);
    EXPECT_EQ(dialogue[2], "STOR refused.bin");
    EXPECT_EQ(dialogue[3].substr(0, 4), "550 ");
    // The control connection is still in step: the next reply is the one to QUIT.
    ftp.Logout();
    EXPECT_EQ(ftp.ReplyCode, 221);
    EXPECT_FALSE(platform::FileExists(platform::JoinPath(home, "locked\\refused.bin")));
}

TEST_P(FtpReal, ReadOnlyAccountIsRefusedTheStore) {
    ftp.Username = Env("VELMO_FTP_READER");
    ftp.Password = Env("VELMO_FTP_READER_PASSWORD");
    ftp.URI = uploadName;
    ftp.Stream.Write("abc", 3);
    ftp.Upload();
    EXPECT_EQ(ftp.ReplyCode, 550);
    ftp.Logout();
    EXPECT_EQ(ftp.ReplyCode, 221);
}

TEST_P(FtpReal, DownloadAsksForTheSizeAndFillsTheStream) {
    const std::optional<std::string> sample =
        platform::ReadWholeFile(platform::JoinPath(home, "sample.bin"));
    ASSERT_TRUE(sample);
    ftp.URI = "sample.bin";
    ftp.Download();
    EXPECT_EQ(ftp.ReplyCode, 226);
    EXPECT_EQ(ftp.FileSize, 100000);
    EXPECT_TRUE(ftp.Stream.Bytes() == *sample);
    EXPECT_EQ(ftp.Stream.Position(), 0u);
    std::int64_t received = 0;
    for (auto [mode, bytes] : data) {
        EXPECT_EQ(mode, tftp_download);
        received += bytes > 0 ? bytes : 0;
    }
    EXPECT_EQ(received, 100000);
    ASSERT_FALSE(data.empty());
    EXPECT_LE(data.back().second, 0);  // the end of the data is reported too
    EXPECT_EQ(completed, std::vector<t_ftp_mode>{tftp_download});
    Lines dialogue = log.Dialogue();
    auto size = std::find(dialogue.begin(), dialogue.end(), "SIZE sample.bin");
    ASSERT_NE(size, dialogue.end());
    EXPECT_EQ(*(size + 1), "213 100000");
    ftp.Logout();
}

TEST_P(FtpReal, ListingSwitchesToAsciiAndBack) {
    ftp.GetDir(".");
    EXPECT_FALSE(ftp.Busy);
    bool found = false;
    for (const std::string& line : ftp.DirList)
        if (line.find("sample.bin") != std::string::npos) found = true;
    EXPECT_TRUE(found) << ::testing::PrintToString(ftp.DirList);
    EXPECT_EQ(completed, std::vector<t_ftp_mode>{tftp_getdir});
    Lines commands = log.At({tl_command});
    Lines tail(commands.end() - 4, commands.end());
    EXPECT_EQ(Normalised(tail),
              (Lines{GetParam().passive ? "PASV" : "PORT *", "TYPE A", "LIST .", "TYPE I"}));
    EXPECT_EQ(ftp.ReplyCode, 200);

    // A refused listing still returns to the image type. pyftpdlib refuses LIST itself (the
    // refusal stays in ReplyCode); proftpd answers 150 and then refuses as the final reply.
    ftp.GetDir("no-such-folder");
    EXPECT_EQ(log.At({tl_command}).back(), "TYPE I");
    Lines dialogue = log.Dialogue();
    EXPECT_EQ(dialogue[dialogue.size() - 3].substr(0, 4), IsProftpd() ? "450 " : "550 ");
    EXPECT_EQ(ftp.ReplyCode, IsProftpd() ? 200 : 550);
    ftp.Logout();
}

TEST_P(FtpReal, WrongPasswordShowsInTheNextReplies) {
    ftp.Password = "wrong";
    ftp.Login();  // raises nothing: the caller judges the codes
    EXPECT_EQ(log.Dialogue()[IsProftpd() ? 4 : 5].substr(0, 4), "530 ");
    ftp.ChangeDir("/");
    EXPECT_NE(ftp.ReplyCode, 250);
    ftp.Logout();
}

TEST_P(FtpReal, SecondLoginQuitsTheFirstConnection) {
    ftp.Login();
    log.lines.clear();
    ftp.Login();
    Lines dialogue = log.Dialogue();
    ASSERT_GE(dialogue.size(), 3u);
    EXPECT_EQ(dialogue[0], "QUIT");
    EXPECT_EQ(dialogue[1], "221 Goodbye.");
    EXPECT_EQ(dialogue[2], LoginDialogue()[0]);
    ftp.Logout();
}

TEST_P(FtpReal, ExceptionDuringTheTransferIsCleanedUpByAbort) {
    const std::string content = Pattern(3000000);
    ftp.OnDataReceived = [](T_FTP&, t_ftp_mode, std::int32_t) {
        throw std::runtime_error("operator gave up");
    };
    ftp.URI = uploadName;
    ftp.Stream.Write(content.data(), content.size());
    EXPECT_THROW(ftp.Upload(), std::runtime_error);
    EXPECT_TRUE(ftp.Busy);
    EXPECT_THROW(ftp.ChangeDir("/"), EProtocolBusy);
    log.lines.clear();
    ftp.Abort();
    EXPECT_FALSE(ftp.Busy);
    // 426 and then 226; or, when the server saw the end of the data (or no transfer yet)
    // first, 226 or 225 at once.
    Lines dialogue = log.Dialogue();
    ASSERT_GE(dialogue.size(), 2u);
    EXPECT_EQ(dialogue[0], "ABOR");
    const std::string code = dialogue[1].substr(0, 4);
    EXPECT_TRUE(code == "426 " || code == "226 " || code == "225 ") << dialogue[1];
    EXPECT_LT(ftp.ReplyCode, 400);
    ftp.Logout();
    EXPECT_FALSE(ftp.Connected);
}

TEST_P(FtpReal, ActionRunsTheWholeCycle) {
    ftp.Mode = tftp_getdir;
    ftp.Action();
    EXPECT_FALSE(ftp.Connected);
    EXPECT_FALSE(ftp.DirList.empty());
    EXPECT_EQ(log.At({tl_command}).back(), "QUIT");
}

// Socket notifications to the hidden window drive the data connection; Windows only.
TEST_P(FtpReal, AsynchronousUploadDownloadAndListing) {
    if (!ftp.Window->Available()) GTEST_SKIP() << "no socket notifications on this system";
    ftp.Async = true;
    bool done = false;
    ftp.OnActionComplete = [&done](T_FTP&, t_ftp_mode) { done = true; };

    const std::string content = Pattern(300000);
    ftp.URI = uploadName;
    ftp.Stream.Write(content.data(), content.size());
    ftp.Upload();  // returns while the data still goes out
    EXPECT_TRUE(platform::PumpMessagesUntil(done, 20000));
    EXPECT_EQ(ftp.ReplyCode, 226);
    EXPECT_FALSE(ftp.Busy);
    EXPECT_TRUE(platform::ReadWholeFile(platform::JoinPath(home, uploadName)) == content);

    done = false;
    ftp.URI = "sample.bin";
    ftp.Download();  // waits for the final reply while the notifications bring the data
    EXPECT_TRUE(done);
    EXPECT_EQ(ftp.ReplyCode, 226);
    EXPECT_TRUE(ftp.Stream.Bytes() ==
                platform::ReadWholeFile(platform::JoinPath(home, "sample.bin")).value_or(""));

    done = false;
    ftp.GetDir(".");
    EXPECT_TRUE(done);
    EXPECT_FALSE(ftp.DirList.empty());
    ftp.Logout();
}

INSTANTIATE_TEST_SUITE_P(
    Servers, FtpReal,
    ::testing::Values(Server{"Pyftpdlib", "VELMO_FTP_PORT", "VELMO_FTP_HOME", true},
                      Server{"Pyftpdlib", "VELMO_FTP_PORT", "VELMO_FTP_HOME", false},
                      Server{"Proftpd", "VELMO_PROFTPD_PORT", "VELMO_PROFTPD_HOME", true},
                      Server{"Proftpd", "VELMO_PROFTPD_PORT", "VELMO_PROFTPD_HOME", false}),
    PrintServer);

}  // namespace
}  // namespace velmo::net
