// Whole runs from the window against the real servers of tools/servers: a send by FTP after
// POP before FTP, and a receive of that file by HTTP.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "platform/files.h"
#include "platform/text.h"
#include "tests/net/net_test_support.h"
#include "window_test_support.h"

namespace velmo::testing {
namespace {

using net::testing::Env;
using net::testing::ServerPath;

// The lines from `first` to `last` (both included) appear in this order.
bool InOrder(const std::vector<std::string>& lines, const std::vector<std::string>& wanted) {
    auto at = lines.begin();
    for (const std::string& w : wanted) {
        at = std::find(at, lines.end(), w);
        if (at == lines.end()) return false;
        ++at;
    }
    return true;
}

TEST(NetworkRuns, SendByFtpAfterPopBeforeFtpThenReceiveByHttp) {
    Alerts alerts;
    TestFolder root;
    // A user ID of this run's own: the servers are shared with other suites.
    const std::string user = "win" + std::to_string(GetCurrentProcessId());
    const std::string send = root.Path("send");
    const std::vector<std::pair<std::string, std::string>> files = {
        {"a.txt", "hello\r\n"}, {"表\\能.txt", std::string(5000, 'x')}};
    platform::MakeFolders(platform::JoinPath(send, "表"));
    for (const auto& [name, bytes] : files)
        platform::WriteWholeFile(platform::JoinPath(send, name), bytes);
    const std::string ftpHome = ServerPath(Env("VELMO_FTP_HOME"));
    const std::string uploaded = platform::JoinPath(ftpHome, user);
    platform::RemoveFile(uploaded);

    {
        TestProgram sender("データ送信", {},
                           "[データ送信]\r\nUser=" + user + "\r\nPass=secret\r\nReadDIR=" + send +
                               "\r\nFTPServer=127.0.0.1:" + Env("VELMO_FTP_PORT") +
                               "\r\nFTPDir=/\r\nFTPUser=" + Env("VELMO_FTP_USER") +
                               "\r\nFTPPass=" + Env("VELMO_FTP_PASSWORD") +
                               "\r\nPOPCheck=1\r\nPOPServer=127.0.0.1:" + Env("VELMO_POP3_PORT") +
                               "\r\nPOPUser=" + Env("VELMO_POP3_USER_ONE") +
                               "\r\nPOPPass=" + Env("VELMO_POP3_PASSWORD") + "\r\n");
        sender.Show();
        Click(sender.Form().LibBtBtn1);
        const std::vector<std::string> memo = sender.Form().Memo1.Lines();
        EXPECT_EQ(alerts.Texts(), std::vector<std::string>{"処理は完了しました。"}) << Utf8(memo);
        // The POP log-in, then the FTP dialogue, each command and reply as it came.
        EXPECT_TRUE(
            InOrder(memo, {"暗号化完了", "アップロード中", "127.0.0.1:" + Env("VELMO_FTP_PORT"),
                           "USER " + Env("VELMO_POP3_USER_ONE"), "PASS *****",
                           "USER " + Env("VELMO_FTP_USER"), "PASS ******", "CWD /", "STOR " + user,
                           "アップロード完了", "", "ワーク消去中", "処理完了", ""}))
            << Utf8(memo);
        EXPECT_FALSE(Contains(memo, "PASS " + Env("VELMO_FTP_PASSWORD")));
        EXPECT_EQ(FileText(sender.Form().LogPath), LogText(memo));
        EXPECT_TRUE(platform::FileExists(uploaded));
    }

    // The web server serves the FTP folders under /ftp.
    const std::string address = "http://127.0.0.1:" + Env("VELMO_HTTP_PORT") + "/ftp/pyftpdlib";
    const std::string save = root.Path("save");
    TestProgram receiver("データ受信", {},
                         "[データ受信]\r\nUser=" + user + "\r\nPass=secret\r\nCopyURL=" + address +
                             "\r\nWriteDIR=" + save + "\r\n");
    receiver.Show();
    Click(receiver.Form().LibBtBtn2);
    const std::vector<std::string> memo = receiver.Form().Memo1.Lines();
    EXPECT_EQ(alerts.Texts(),
              (std::vector<std::string>{"処理は完了しました。", "処理は完了しました。"}))
        << Utf8(memo);
    const std::string size = std::to_string(FileText(uploaded).size());
    EXPECT_TRUE(InOrder(memo, {"ダウンロード中", address, size + " Byte 完了しました。",
                               "ダウンロード完了", "", "暗号解析中", "暗号解析完了", "", "解凍中",
                               "解凍完了", "", "ワーク消去中", "処理完了", ""}))
        << Utf8(memo);
    EXPECT_EQ(FileText(receiver.Form().LogPath), LogText(memo));
    for (const auto& [name, bytes] : files)
        EXPECT_EQ(FileText(platform::JoinPath(save, name)), bytes) << platform::Cp932ToUtf8(name);
    platform::RemoveFile(uploaded);
}

}  // namespace
}  // namespace velmo::testing
