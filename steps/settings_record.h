// The settings record that every step reads: the operator's values as the controls hold them.
#pragma once

#include <string>

namespace velmo::steps {

// Copied from the controls at the start of every run and single step; passwords in plain.
struct SettingsRecord {
    std::string UserID;
    std::string Password;
    std::string SendFolder;
    std::string ReceiveAddress;
    std::string SaveFolder;
    std::string FtpServer;
    std::string FtpFolder;
    std::string FtpUser;
    std::string FtpPassword;
    bool PopBeforeFtp = false;
    std::string PopServer;
    std::string PopUser;
    std::string PopPassword;
    bool UseDialUp = false;
    std::string DialEntry;
    std::string DialUser;
    std::string DialPassword;
    std::string DownloadWord;
    std::string UploadWord;
};

}  // namespace velmo::steps
