// The upload step against the real FTP and POP3 servers: traces, refusals and errors.
#include <gtest/gtest.h>

#include <regex>

#include "../net/net_test_support.h"
#include "../unit/test_folder.h"
#include "controls/lib_file.h"
#include "platform/files.h"
#include "recording_view.h"
#include "steps/ftp_events.h"
#include "steps/steps.h"

namespace velmo::steps {
namespace {

using net::testing::Env;
using net::testing::ServerPath;

struct Server {
    const char* name;
    const char* port;
    const char* home;
};
const Server kServers[] = {{"pyftpdlib", "VELMO_FTP_PORT", "VELMO_FTP_HOME"},
                           {"proftpd", "VELMO_PROFTPD_PORT", "VELMO_PROFTPD_HOME"}};

class UploadTest : public ::testing::Test {
  protected:
    velmo::testing::TestFolder folder_;
    velmo::testing::RecordingView view_;
    SettingsRecord settings_;
    RunContext run_{view_, [this] { return settings_; }};
    net::T_FTP ftp_;
    net::T_Pop3 pop_;
    std::string content_ = std::string(70000, 'u') + "終";

    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        settings_.UserID = std::string("up-") + info->name();
        settings_.UploadWord = "アップロード";
        settings_.FtpFolder = "/";
        settings_.FtpUser = Env("VELMO_FTP_USER");
        settings_.FtpPassword = Env("VELMO_FTP_PASSWORD");
        run_.ProgramFolder = folder_.Path();
        run_.CopyIntoFolder = [](const std::string& source, const std::string& folder) {
            return controls::CopyFileWithProgress(source, folder);
        };
        AttachComponents(run_, ftp_, pop_);
        run_.CollectSettings();
        ASSERT_TRUE(platform::WriteWholeFile(run_.TransferWorkFile(), content_));
    }
    void TearDown() override {
        for (const Server& s : kServers) platform::RemoveFile(Stored(s));
    }

    std::string Stored(const Server& s) const {
        return ServerPath(Env(s.home)) + "\\" + settings_.UserID;
    }
    void Use(const Server& s) { settings_.FtpServer = "127.0.0.1:" + Env(s.port); }

    // The commands of the trace in order, with the PORT and PASV details left out.
    std::vector<std::string> Commands() const {
        static const std::regex command("^(USER|PASS|TYPE|CWD|PASV|PORT|STOR|QUIT|LIST|RETR)\\b.*");
        std::vector<std::string> out;
        for (const std::string& line : view_.memo)
            if (std::regex_match(line, command))
                out.push_back(line.starts_with("PORT ") ? "PORT" : line);
        return out;
    }
};

TEST_F(UploadTest, WholeUploadsToBothServersPassiveAndActive) {
    for (const Server& s : kServers) {
        for (bool passive : {true, false}) {
            const std::string what = std::string(s.name) + (passive ? " passive" : " active");
            Use(s);
            ftp_.Passive = passive;
            view_.memo.clear();
            run_.AbortFlag = false;
            Upload(run_);
            EXPECT_FALSE(run_.AbortFlag) << what;
            EXPECT_EQ(platform::ReadWholeFile(Stored(s)), content_) << what;
            ASSERT_GE(view_.memo.size(), 4u);
            EXPECT_EQ(view_.memo[0], "アップロード中");
            EXPECT_EQ(view_.memo[1], settings_.FtpServer);
            EXPECT_EQ(std::vector<std::string>(view_.memo.end() - 2, view_.memo.end()),
                      (std::vector<std::string>{"アップロード完了", ""}));
            EXPECT_EQ(Commands(),
                      (std::vector<std::string>{"USER " + settings_.FtpUser, "PASS ******",
                                                "TYPE I", "CWD /", passive ? "PASV" : "PORT",
                                                "STOR " + settings_.UserID, "QUIT"}))
                << what;
            auto stor = std::find(view_.memo.begin(), view_.memo.end(), "STOR " + settings_.UserID);
            EXPECT_TRUE(std::any_of(stor, view_.memo.end(), [](const std::string& l) {
                return l.starts_with("226");
            })) << what;
            EXPECT_EQ(run_.ByteCounter, static_cast<std::int64_t>(content_.size())) << what;
            EXPECT_EQ(view_.memo.end()[-3].substr(0, 3), "221") << what;
        }
    }
}

TEST_F(UploadTest, RefusalsFailTheStep) {
    struct Case {
        const char* what;
        std::function<void(SettingsRecord&)> change;
        bool storTried;
    } cases[] = {
        {"folder refused", [](SettingsRecord& s) { s.FtpFolder = "/no-such-folder"; }, false},
        {"wrong password", [](SettingsRecord& s) { s.FtpPassword = "wrong"; }, false},
        {"store refused", [](SettingsRecord& s) { s.FtpFolder = "/locked"; }, true},
    };
    for (const Server& s : kServers) {
        for (const Case& c : cases) {
            settings_.FtpFolder = "/";
            settings_.FtpPassword = Env("VELMO_FTP_PASSWORD");
            c.change(settings_);
            Use(s);
            view_.memo.clear();
            run_.AbortFlag = false;
            Upload(run_);
            std::string what = std::string(s.name) + " " + c.what;
            EXPECT_TRUE(run_.AbortFlag) << what;
            EXPECT_EQ(view_.stepLine, "アップロード失敗") << what;
            EXPECT_EQ(view_.colour, PanelColour::Red) << what;
            auto commands = Commands();
            bool stor = std::find(commands.begin(), commands.end(), "STOR " + settings_.UserID) !=
                        commands.end();
            EXPECT_EQ(stor, c.storTried) << what;
            EXPECT_EQ(commands.back(), "QUIT") << what;
        }
    }
}

TEST_F(UploadTest, PopBeforeFtp) {
    Use(kServers[0]);
    settings_.PopBeforeFtp = true;
    settings_.PopServer = "127.0.0.1:" + Env("VELMO_POP3_PORT");
    settings_.PopUser = Env("VELMO_POP3_USER_THREE");
    settings_.PopPassword = Env("VELMO_POP3_PASSWORD");
    Upload(run_);
    EXPECT_FALSE(run_.AbortFlag);
    auto commands = Commands();
    ASSERT_GE(commands.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(commands.begin(), commands.begin() + 5),
              (std::vector<std::string>{"USER " + settings_.PopUser, "PASS *****", "LIST", "RETR 1",
                                        "QUIT"}));
    EXPECT_EQ(view_.stepLine, "アップロード完了");

    // A wrong POP password stops the step before any FTP command.
    settings_.PopPassword = "wrong";
    view_.memo.clear();
    run_.AbortFlag = false;
    Upload(run_);
    EXPECT_TRUE(run_.AbortFlag);
    EXPECT_EQ(view_.stepLine, "アップロードエラー");
    EXPECT_EQ(Commands(), (std::vector<std::string>{"USER " + settings_.PopUser, "PASS *****"}));
}

TEST_F(UploadTest, UnreachableServersAndFolders) {
    for (std::string server : {std::string("no-such-host.invalid"), std::string("127.0.0.1:1")}) {
        settings_.FtpServer = server;
        view_.memo.clear();
        run_.AbortFlag = false;
        Upload(run_);
        EXPECT_TRUE(run_.AbortFlag) << server;
        EXPECT_EQ(view_.memo,
                  (std::vector<std::string>{"アップロード中", server, "アップロードエラー", ""}));
    }
    // A folder destination: copied, no FTP at all.
    ASSERT_TRUE(platform::MakeFolder(folder_.Path("share")));
    settings_.FtpServer = folder_.Path("share");
    settings_.FtpFolder = "";
    view_.memo.clear();
    run_.AbortFlag = false;
    Upload(run_);
    EXPECT_FALSE(run_.AbortFlag);
    EXPECT_EQ(view_.memo, (std::vector<std::string>{"アップロード中", settings_.FtpServer,
                                                    "アップロード完了", ""}));
    EXPECT_EQ(platform::ReadWholeFile(folder_.Path("share\\" + settings_.UserID)), content_);
    // A folder that already holds a "check.$$$" counts as an FTP server name.
    ASSERT_TRUE(platform::WriteWholeFile(folder_.Path("share\\check.$$$"), "x"));
    EXPECT_FALSE(ProbeFolder(run_, folder_.Path("share")));
    // Without a transfer work file the step does nothing visible.
    platform::RemoveFile(run_.TransferWorkFile());
    view_.calls.clear();
    run_.AbortFlag = false;
    Upload(run_);
    EXPECT_TRUE(view_.calls.empty());
    EXPECT_FALSE(run_.AbortFlag);
}

}  // namespace
}  // namespace velmo::steps
