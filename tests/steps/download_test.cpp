// The download step against the real HTTP servers: counts, bodies, redirects, errors, abort.
#include <gtest/gtest.h>

#include "../net/net_test_support.h"
#include "../unit/test_folder.h"
#include "platform/files.h"
#include "recording_view.h"
#include "steps/steps.h"

namespace velmo::steps {
namespace {

using net::testing::Env;
using net::testing::ServerPath;

class DownloadTest : public ::testing::Test {
  protected:
    velmo::testing::TestFolder folder_;
    velmo::testing::RecordingView view_;
    SettingsRecord settings_;
    RunContext run_{view_, [this] { return settings_; }};
    std::string user_;

    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        user_ = std::string("dl-") + info->name();  // a file of its own on the shared server
        settings_.UserID = user_;
        settings_.DownloadWord = "ダウンロード";
        run_.ProgramFolder = folder_.Path();
    }
    void TearDown() override { platform::RemoveFile(Served()); }

    std::string Served() const { return ServerPath(Env("VELMO_HTTP_ROOT")) + "\\" + user_; }
    void Serve(const std::string& bytes) { ASSERT_TRUE(platform::WriteWholeFile(Served(), bytes)); }
    std::string Address(const char* port, const std::string& path = "") const {
        return "http://127.0.0.1:" + Env(port) + path;
    }
    std::optional<std::string> Fetched() const {
        return platform::ReadWholeFile(run_.TransferWorkFile());
    }
};

TEST_F(DownloadTest, BodiesFromBothServers) {
    struct Case {
        const char* port;
        std::string path;
        std::size_t size;
    } cases[] = {
        {"VELMO_HTTP_PORT", "", 2500},
        {"VELMO_NGINX_PORT", "", 2500},
        {"VELMO_NGINX_PORT", "/redirect", 3000},
        {"VELMO_NGINX_PORT", "/chunked", 70000},
        {"VELMO_HTTP_PORT", "", 0},
        {"VELMO_NGINX_PORT", "", 0},
    };
    for (const Case& c : cases) {
        std::string body(c.size, '\0');
        for (std::size_t i = 0; i < c.size; ++i) body[i] = static_cast<char>(i % 253);
        Serve(body);
        settings_.ReceiveAddress = Address(c.port, c.path);
        view_.memo.clear();
        Download(run_);
        const std::string what = settings_.ReceiveAddress;
        EXPECT_FALSE(run_.AbortFlag) << what;
        EXPECT_EQ(Fetched(), body) << what;
        EXPECT_EQ(view_.memo,
                  (std::vector<std::string>{"ダウンロード中", settings_.ReceiveAddress,
                                            std::to_string(c.size) + " Byte 完了しました。",
                                            "ダウンロード完了", ""}))
            << what;
    }
}

TEST_F(DownloadTest, AnErrorPageIsStoredAsItComes) {
    settings_.ReceiveAddress = Address("VELMO_NGINX_PORT");  // nothing served under user_
    Download(run_);
    EXPECT_FALSE(run_.AbortFlag);
    ASSERT_TRUE(Fetched().has_value());
    EXPECT_NE(Fetched()->find("404"), std::string::npos);
    // The page holds no check text of the password: the decipher step refuses it.
    settings_.Password = "pw";
    view_.memo.clear();
    DecryptAndUnpack(run_);
    EXPECT_TRUE(run_.AbortFlag);
    EXPECT_EQ(std::vector<std::string>(view_.memo.end() - 2, view_.memo.end()),
              (std::vector<std::string>{"パスワードが違います。", ""}));
}

TEST_F(DownloadTest, AddressThatCannotBeOpenedFailsAtOnce) {
    for (std::string address :
         {std::string("http://127.0.0.1:1"), std::string("http://no-such-host.invalid")}) {
        run_.AbortFlag = false;
        settings_.ReceiveAddress = address;
        view_.memo.clear();
        Download(run_);
        EXPECT_TRUE(run_.AbortFlag) << address;
        EXPECT_EQ(view_.memo,
                  (std::vector<std::string>{"ダウンロード中", address, "ダウンロードエラー", ""}));
        EXPECT_EQ(view_.colour, PanelColour::Red);
        EXPECT_FALSE(Fetched().has_value());
    }
}

TEST_F(DownloadTest, AbortEndsTheLoopAfterTheCurrentRead) {
    Serve(std::string(200000, 'x'));
    settings_.ReceiveAddress = Address("VELMO_HTTP_PORT");
    int blocks = 0;
    view_.onProcessMessages = [&] {
        if (!view_.detailLine.empty() && isdigit(view_.detailLine[0]) && ++blocks == 5)
            run_.AbortFlag = true;
    };
    Download(run_);
    EXPECT_TRUE(run_.AbortFlag);
    EXPECT_EQ(view_.stepLine, "ダウンロード中止");
    EXPECT_EQ(view_.colour, PanelColour::Red);
    ASSERT_TRUE(Fetched().has_value());
    EXPECT_LE(Fetched()->size(), 5u * 1024);
    EXPECT_EQ(view_.memo[2], std::to_string(Fetched()->size()) + " Byte 完了しました。");
}

}  // namespace
}  // namespace velmo::steps
