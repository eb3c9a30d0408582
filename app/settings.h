// The operator's settings: password scrambling, the settings file's keys and defaults, the record.
#pragma once

#include <string>
#include <string_view>

#include "platform/profile.h"
#include "steps/password.h"
#include "steps/settings_record.h"

namespace velmo::app {

using steps::PasswordField;
using steps::ScramblePassword;
using steps::UnscramblePassword;

// The values of the settings controls, passwords in plain: what LoadSettings puts into the
// controls and SaveSettings takes from them.
struct SettingsValues {
    std::string user;       // UserEdit
    std::string pass;       // PassEdit
    std::string writeDir;   // Edit2: save folder
    std::string copyUrl;    // Edit7: receive address
    std::string readDir;    // Edit1: send folder
    std::string ftpServer;  // Edit3
    std::string ftpDir;     // Edit4
    std::string ftpUser;    // Edit5
    std::string ftpPass;    // Edit6
    bool popCheck = false;  // LibCChk1
    std::string popServer;  // POPForm.Edit11
    std::string popUser;    // POPForm.Edit12
    std::string popPass;    // POPForm.Edit13
    bool netCheck = false;  // LibCChk2
    std::string netServer;  // NETForm.LibCBox1 text
    std::string netUser;    // NETForm.Edit12
    std::string netPass;    // NETForm.Edit13

    bool operator==(const SettingsValues&) const = default;
};

// The combo item that stands for the local network rather than a phone-book entry.
inline constexpr std::string_view kLanEntry = "ＬＡＮ接続";

// The defaults that apply without /U: and, with it, the preset defaults of the service's own
// servers, where the /U: value is the user and the /F: value both folders.
SettingsValues PlainDefaults();
SettingsValues PresetDefaults(std::string_view defaultUser, std::string_view defaultFolder);

// Reads a section (the window caption) as LoadSettings does; an empty defaultUser means no /U:.
SettingsValues ReadSettings(const platform::ProfileFile& file, std::string_view section,
                            std::string_view defaultUser, std::string_view defaultFolder);
// Writes the keys in SaveSettings order, passwords scrambled; the first failing write ends it
// silently (a run must not fail on its settings file).
void WriteSettings(platform::ProfileFile& file, std::string_view section,
                   const SettingsValues& values);

// The settings record of a run, copied from the controls (CollectSettings), passwords plain.
using steps::SettingsRecord;
SettingsRecord CollectSettings(const SettingsValues& values);

// The stored window position (FormPosition, FormTop, FormLeft).
struct FormPlacement {
    bool stored = false;  // FormPosition reads 1: place the window here instead of centring it
    long top = 0;
    long left = 0;
};
FormPlacement ReadFormPosition(const platform::ProfileFile& file, std::string_view section);
void WriteFormPosition(platform::ProfileFile& file, std::string_view section, long top, long left);

}  // namespace velmo::app
