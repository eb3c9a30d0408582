// The program's switches: /S, /R, /U:value, /F:value, /I:value and /N.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace velmo::app {

struct CommandLine {
    int runMode = 0;            // 0 full, 1 send (/S), 2 receive (/R)
    std::string defaultUser;    // /U: (DefaultUser); non-empty selects the presets
    std::string defaultFolder;  // /F: (DefaultFolder)
    std::string iniName;        // /I: (IniName)
    std::string noDialogArg;    // the argument that held /N (NoDialogArg)

    bool UserGiven() const { return !defaultUser.empty(); }
    bool NoDialog() const { return !noDialogArg.empty(); }
    bool FolderGiven() const { return !defaultFolder.empty(); }
};

// Every argument in order; each switch is found by a case-sensitive search anywhere in it,
// its value is the rest of the argument, and a later argument overrides an earlier one.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// The settings file: ProgramFolder + "\Velmo.ini", or ProgramFolder + "\" + the /I: value.
std::string SettingsPath(const std::string& programFolder, const CommandLine& commandLine);

}  // namespace velmo::app
