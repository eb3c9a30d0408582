// TLibLha: command lines from properties, the run through the binding, output lines.
#include "steps/lib_lha.h"

#include "platform/text.h"

namespace velmo::steps {
namespace {

constexpr std::size_t kOutputSize = 65535;

std::string WithBackslash(const std::string& folder) {
    return platform::EndsWithBackslash(folder) ? folder : folder + "\\";
}

}  // namespace

std::string FormatVersionText(std::uint16_t number) {
    std::string digits = std::to_string(number);
    if (digits.size() >= 3)
        return digits.substr(0, digits.size() - 2) + "." + digits.substr(digits.size() - 2);
    if (digits.size() < 2) digits = "0" + digits;
    return "0." + digits;
}

TLibLha::TLibLha(LibLha32& library) : library_(library) {
    VersionNumber = static_cast<std::uint16_t>(library_.UnlhaGetVersion() & 0xFFFF);
    VersionText = FormatVersionText(VersionNumber);
    SetDefaults();
}

void TLibLha::SetDefaults() {
    Options = TOptions();
    DlgOptions = TDlgOptions();
}

std::string TLibLha::SwitchText() const {
    const TOptions& o = Options;
    std::string s;
    if (o.OpAllAttr) s += " -a1";
    static const char* const kCompType[] = {" -jm0", " -jm1", "", " -jm3", " -jm4"};
    if (o.OpCompType != ctLH7 || VersionNumber > 69) s += kCompType[o.OpCompType];
    if (o.OpDictHalf) s += " -e1";
    if (o.OpDirEffect) s += " -x1";
    if (!o.OpDlgYes.empty()) {
        s += " -jy";
        static const char kLetters[] = {'c', 'd', 'k', 'n', 'o'};
        for (TOpDlgYes y : {dyDirectory, dyFileDelete, dyDiskSpace, dyNewFileName, dyReplaceFile})
            if (o.OpDlgYes.count(y)) s += kLetters[y];
    }
    if (!o.OpDskChk) s += " -f1";
    static const char* const kLogDisp[] = {"", " -l1", " -l2"};
    s += kLogDisp[o.OpLogDisp];
    static const char* const kNameCheck[] = {"", " -p1", " -p2"};
    s += kNameCheck[o.OpNameCheck];
    static const char* const kReSearch[] = {"", " -r1", " -r2"};
    s += kReSearch[o.OpReSearch];
    if (!o.OpROot) s += " -jf0";
    if (o.OpShortFile) s += " -ji1";
    if (!o.OpTmCheck) s += " -c1";
    static const char* const kUpdFile[] = {" -u0", "", " -u2"};
    s += kUpdFile[o.OpUpdFile];
    static const char* const kUpperCase[] = {"", " -i1", " -i2"};
    s += kUpperCase[o.OpUpperCase];
    static const char* const kWinSfx[] = {"", " -jw1", " -jw2", " -gw1", " -gw2"};
    s += kWinSfx[o.OpWinSfx];

    if (!DlgOptions.OpExtDlg) s += " -n1";
    if (!DlgOptions.OpSkipDlg) s += " -s1";
    if (!DlgOptions.OpErrorDlg) s += " -gm1";
    if (!DlgOptions.OpProcessDlg) s += " -gn2";
    return s;
}

std::string TLibLha::CommandLine() const {
    static const char kLetters[] = "ACDEFLMNPSTUVX";
    std::string line(1, kLetters[Command]);
    line += " -+" + SwitchText();
    if (!WorkDirName.empty()) line += " \"-w" + WithBackslash(WorkDirName) + "\" ";
    if (!ExtraSwitches.empty()) line += " " + ExtraSwitches;
    line += " \"" + ARCFileName + "\"";
    if (!BaseDirName.empty()) line += " \"" + WithBackslash(BaseDirName) + "\"";
    line += " \"" + ARCPattern + "\"";
    return line;
}

int TLibLha::Execute() {
    if (ARCFileName.empty()) return -1;
    library_.UnlhaSetCursorMode(DisplayCSR ? 1 : 0);
    void* owner = ExecMode == exForeGround ? ApplicationWindow : nullptr;
    std::string line = CommandLine();
    std::vector<char> buffer(kOutputSize, '\0');
    if (Debug && !(ConfirmCommandLine && ConfirmCommandLine(line, "Execute Wait"))) return -999;
    int result = library_.Unlha(owner, line.c_str(), buffer.data(),
                                static_cast<std::uint32_t>(buffer.size()));
    if (OutputLines) {
        for (std::string& text : SplitOutputLines(buffer.data(), buffer.size()))
            OutputLines->push_back(std::move(text));
    }
    return result;
}

std::vector<std::string> SplitOutputLines(const char* buffer, std::size_t size) {
    std::vector<std::string> lines;
    std::size_t end = 0;
    while (end < size && buffer[end] != '\0') ++end;
    std::size_t start = 0;
    for (std::size_t i = 0; i < end; ++i) {
        if (buffer[i] == '\n') {
            lines.emplace_back(buffer + start, i - start);
            start = i + 1;
        }
    }
    if (start < end) lines.emplace_back(buffer + start, end - start);
    return lines;
}

}  // namespace velmo::steps
