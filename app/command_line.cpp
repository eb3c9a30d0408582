// Parsing of the program's switches.
#include "app/command_line.h"

#include "platform/text.h"

namespace velmo::app {
namespace {

std::optional<std::string> ValueOf(const std::string& arg, std::string_view sw) {
    std::size_t at = arg.find(sw);
    if (at == std::string::npos) return std::nullopt;
    return arg.substr(at + sw.size());
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine c;
    for (const std::string& arg : args) {
        if (arg.find("/S") != std::string::npos) c.runMode = 1;
        if (arg.find("/R") != std::string::npos) c.runMode = 2;
        if (auto v = ValueOf(arg, "/U:")) c.defaultUser = *v;
        if (auto v = ValueOf(arg, "/F:")) c.defaultFolder = *v;
        if (auto v = ValueOf(arg, "/I:")) c.iniName = *v;
        if (arg.find("/N") != std::string::npos) c.noDialogArg = arg;
    }
    return c;
}

std::string SettingsPath(const std::string& programFolder, const CommandLine& commandLine) {
    return platform::JoinPath(programFolder,
                              commandLine.iniName.empty() ? "Velmo.ini" : commandLine.iniName);
}

}  // namespace velmo::app
