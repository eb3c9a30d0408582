// Password scrambling and the settings file's keys, defaults and order.
#include "app/settings.h"

namespace velmo::app {
namespace {

// Two fixed scrambled defaults, kept whole: the plain default password (12 characters) and
// the preset FTP and POP password (22 characters).
constexpr std::string_view kDefaultPass = "$$1818018180";
constexpr std::string_view kPresetServicePass = "$$393A0373083339839328";

constexpr std::string_view kPresetReceiveAddress = "http://data.velmo.example/Data";
constexpr std::string_view kPresetFtpServer = "ftp.velmo.example";
constexpr std::string_view kPresetFtpUser = "velmo";
constexpr std::string_view kPresetPopServer = "mail.velmo.example";
constexpr std::string_view kPresetPopUser = "velmo@velmo.example";

std::string ReadPassword(const platform::ProfileFile& file, std::string_view section,
                         std::string_view key, std::string_view fallback) {
    return PasswordField(UnscramblePassword(file.ReadString(section, key, fallback)));
}

}  // namespace

SettingsValues PlainDefaults() {
    SettingsValues v;
    v.user = "DATA";
    v.pass = PasswordField(UnscramblePassword(kDefaultPass));
    v.writeDir = "UserData";
    v.copyUrl = "http://";
    v.ftpDir = "/";
    return v;
}

SettingsValues PresetDefaults(std::string_view defaultUser, std::string_view defaultFolder) {
    SettingsValues v;
    v.user = defaultUser;
    v.writeDir = defaultFolder;
    v.copyUrl = kPresetReceiveAddress;
    v.readDir = defaultFolder;
    v.ftpServer = kPresetFtpServer;
    v.ftpDir = "/";
    v.ftpUser = kPresetFtpUser;
    v.ftpPass = PasswordField(UnscramblePassword(kPresetServicePass));
    v.popCheck = true;
    v.popServer = kPresetPopServer;
    v.popUser = kPresetPopUser;
    v.popPass = v.ftpPass;
    return v;
}

SettingsValues ReadSettings(const platform::ProfileFile& file, std::string_view section,
                            std::string_view defaultUser, std::string_view defaultFolder) {
    const bool preset = !defaultUser.empty();
    const SettingsValues d = preset ? PresetDefaults(defaultUser, defaultFolder) : PlainDefaults();
    const std::string_view defaultPass = preset ? "" : kDefaultPass;
    const std::string_view defaultServicePass = preset ? kPresetServicePass : "";
    SettingsValues v;
    v.user = file.ReadString(section, "User", d.user);
    v.pass = ReadPassword(file, section, "Pass", defaultPass);
    v.writeDir = file.ReadString(section, "WriteDir", d.writeDir);
    v.copyUrl = file.ReadString(section, "CopyURL", d.copyUrl);
    v.readDir = file.ReadString(section, "ReadDir", d.readDir);
    v.ftpServer = file.ReadString(section, "FTPServer", d.ftpServer);
    v.ftpDir = file.ReadString(section, "FTPDir", d.ftpDir);
    v.ftpUser = file.ReadString(section, "FTPUser", d.ftpUser);
    v.ftpPass = ReadPassword(file, section, "FTPPass", defaultServicePass);
    v.popCheck = file.ReadBool(section, "POPCheck", d.popCheck);
    v.popServer = file.ReadString(section, "POPServer", d.popServer);
    v.popUser = file.ReadString(section, "POPUser", d.popUser);
    v.popPass = ReadPassword(file, section, "POPPass", defaultServicePass);
    v.netCheck = file.ReadBool(section, "NETCheck", false);
    v.netServer = file.ReadString(section, "NETServer", "");
    v.netUser = file.ReadString(section, "NETUser", "");
    v.netPass = ReadPassword(file, section, "NETPass", "");
    return v;
}

void WriteSettings(platform::ProfileFile& file, std::string_view section, const SettingsValues& v) {
    // && stops at the first failing write: the rest is skipped, nothing is reported.
    (void)(file.WriteString(section, "User", v.user) &&
           file.WriteString(section, "Pass", ScramblePassword(v.pass)) &&
           file.WriteString(section, "WriteDIR", v.writeDir) &&
           file.WriteString(section, "CopyURL", v.copyUrl) &&
           file.WriteString(section, "ReadDIR", v.readDir) &&
           file.WriteString(section, "FTPServer", v.ftpServer) &&
           file.WriteString(section, "FTPDir", v.ftpDir) &&
           file.WriteString(section, "FTPUser", v.ftpUser) &&
           file.WriteString(section, "FTPPass", ScramblePassword(v.ftpPass)) &&
           file.WriteBool(section, "POPCheck", v.popCheck) &&
           file.WriteString(section, "POPServer", v.popServer) &&
           file.WriteString(section, "POPUser", v.popUser) &&
           file.WriteString(section, "POPPass", ScramblePassword(v.popPass)) &&
           file.WriteBool(section, "NETCheck", v.netCheck) &&
           file.WriteString(section, "NETServer", v.netServer) &&
           file.WriteString(section, "NETUser", v.netUser) &&
           file.WriteString(section, "NETPass", ScramblePassword(v.netPass)));
}

SettingsRecord CollectSettings(const SettingsValues& v) {
    SettingsRecord r;
    r.UserID = v.user;
    r.Password = v.pass;
    r.SendFolder = v.readDir;
    r.ReceiveAddress = v.copyUrl;
    r.SaveFolder = v.writeDir;
    r.FtpServer = v.ftpServer;
    r.FtpFolder = v.ftpDir;
    r.FtpUser = v.ftpUser;
    r.FtpPassword = v.ftpPass;
    r.PopBeforeFtp = v.popCheck;
    r.PopServer = v.popServer;
    r.PopUser = v.popUser;
    r.PopPassword = v.popPass;
    r.UseDialUp = v.netCheck;
    r.DialEntry = v.netServer == kLanEntry ? "" : v.netServer;
    r.DialUser = v.netUser;
    r.DialPassword = v.netPass;
    r.DownloadWord = "ダウンロード";
    r.UploadWord = "アップロード";
    return r;
}

FormPlacement ReadFormPosition(const platform::ProfileFile& file, std::string_view section) {
    FormPlacement p;
    p.stored = file.ReadInteger(section, "FormPosition", 0) == 1;
    if (p.stored) {
        p.top = file.ReadInteger(section, "FormTop", 0);
        p.left = file.ReadInteger(section, "FormLeft", 0);
    }
    return p;
}

void WriteFormPosition(platform::ProfileFile& file, std::string_view section, long top, long left) {
    (void)(file.WriteInteger(section, "FormPosition", 1) &&
           file.WriteInteger(section, "FormTop", top) &&
           file.WriteInteger(section, "FormLeft", left));
}

}  // namespace velmo::app
