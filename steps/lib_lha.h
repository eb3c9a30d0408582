// TLibLha: the LHA component that turns its properties into one archiver command line.
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "steps/lib_lha32.h"

namespace velmo::steps {

enum TCommand {
    cmdAdd,
    cmdComment,
    cmdDelete,
    cmdExtract,
    cmdFreshen,
    cmdList,
    cmdMove,
    cmdRename,
    cmdPrint,
    cmdSfx,
    cmdTest,
    cmdUpdate,
    cmdView,
    cmdDirExtract
};
enum TExecMode { exForeGround, exBackGround };

enum TOpCompType { ctLH0, ctLH1, ctLH5, ctLH6, ctLH7 };
enum TOpDlgYes { dyDirectory, dyFileDelete, dyDiskSpace, dyNewFileName, dyReplaceFile };
using SOpDlgYes = std::set<TOpDlgYes>;
enum TOpLogDisp { ldFileOnly, ldPathName, ldDetail };
enum TOpNameCheck { ncNormal, ncFullCompare, ncSubTree };
enum TOpReSearch { rsCurrent, rsFileSearch, rsAllSearch };
enum TOpUpdFile { ufNoUpdate, ufToLatest, ufToOld };
enum TOpUpperCase { ucNoTrans, ucToUpper, ucToLower };
enum TOpWinSfx { wsNone, wsDialog, wsNoDialog, wsDialog32, wsNoDialog32 };

// The archive switches, in the order they appear on the command line.
struct TOptions {
    bool OpAllAttr = false;
    TOpCompType OpCompType = ctLH5;
    bool OpDictHalf = false;
    bool OpDirEffect = false;
    SOpDlgYes OpDlgYes;
    bool OpDskChk = true;
    TOpLogDisp OpLogDisp = ldFileOnly;
    TOpNameCheck OpNameCheck = ncNormal;
    TOpReSearch OpReSearch = rsCurrent;
    bool OpROot = true;
    bool OpShortFile = false;
    bool OpTmCheck = true;
    TOpUpdFile OpUpdFile = ufToLatest;
    TOpUpperCase OpUpperCase = ucNoTrans;
    TOpWinSfx OpWinSfx = wsNone;
};

// The dialog switches; each one is written when it is off.
struct TDlgOptions {
    bool OpExtDlg = true;
    bool OpSkipDlg = true;
    bool OpErrorDlg = true;
    bool OpProcessDlg = true;
};

// "2.66" for 266, "0.70" for 70, "0.05" for 5.
std::string FormatVersionText(std::uint16_t number);

class TLibLha {
  public:
    // Reads the library's version; throws the binding's EUnlha32Error when it lacks
    // UnlhaGetVersion.
    explicit TLibLha(LibLha32& library);

    std::string ARCFileName;
    std::string ARCPattern = "*.*";
    std::string BaseDirName;
    TCommand Command = cmdList;
    bool Debug = false;
    bool DisplayCSR = true;
    TDlgOptions DlgOptions;
    TExecMode ExecMode = exForeGround;
    TOptions Options;
    std::string WorkDirName;

    std::vector<std::string>* OutputLines = nullptr;  // owned elsewhere; none by default
    std::string ExtraSwitches;
    std::uint16_t VersionNumber = 0;
    std::string VersionText;

    // "Version " + the version text; setting it changes nothing.
    std::string Version() const { return "Version " + VersionText; }
    void SetVersion(const std::string&) {}

    // The application's window, which owns the library's windows in exForeGround mode.
    void* ApplicationWindow = nullptr;
    // Shows the command line in the "Execute Wait" box (OK and Cancel, question icon) when Debug
    // is on; true for OK. Without one nobody can say OK, so the run is refused.
    std::function<bool(const std::string& commandLine, const std::string& caption)>
        ConfirmCommandLine;

    // Every option and dialog option back to its default; the other properties stay.
    void SetDefaults();
    // The command line as Execute passes it.
    std::string CommandLine() const;
    std::string SwitchText() const;
    // The library's result, -1 without an archive name, -999 when Debug's box is not confirmed.
    int Execute();

  private:
    LibLha32& library_;
};

// The output buffer split into lines: up to the first zero byte, at each LF (a CR before it stays).
std::vector<std::string> SplitOutputLines(const char* buffer, std::size_t size);

}  // namespace velmo::steps
