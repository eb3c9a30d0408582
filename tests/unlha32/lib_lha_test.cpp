// The binding and the LHA component: command lines, version text, output lines, missing entry
// points, and runs against our own library loaded by name.
#include "steps/lib_lha.h"

#include <gtest/gtest.h>

#include <map>

#include "platform/files.h"
#include "tests/unlha32/test_support.h"

namespace velmo::steps {
namespace {

using unlha32::test::TempFolder;

// Stand-in entry points that record what the component passes.
struct Recorder {
    static inline std::uint16_t version = 266;
    static inline std::vector<std::string> lines;
    static inline std::vector<int> cursorModes;
    static inline std::string output;
    static inline void* owner = nullptr;
    static inline int result = 0;

    static std::uint16_t VELMO_UNLHA_CALL GetVersion() { return version; }
    static int VELMO_UNLHA_CALL SetCursorMode(int mode) {
        cursorModes.push_back(mode);
        return 1;
    }
    static int VELMO_UNLHA_CALL Unlha(void* window, const char* line, char* buffer,
                                      std::uint32_t size) {
        owner = window;
        lines.push_back(line);
        EXPECT_EQ(size, 65535u);
        EXPECT_EQ(buffer[0], '\0');
        std::copy(output.begin(), output.end(), buffer);
        return result;
    }
    static void Reset() {
        version = 266;
        lines.clear();
        cursorModes.clear();
        output.clear();
        owner = nullptr;
        result = 0;
    }
};

LibLha32 FakeLibrary(std::map<std::string, void*> entries) {
    return LibLha32([entries](const char* name) {
        auto it = entries.find(name);
        return it == entries.end() ? nullptr : it->second;
    });
}

LibLha32 Recording() {
    Recorder::Reset();
    return FakeLibrary({{"UnlhaGetVersion", reinterpret_cast<void*>(&Recorder::GetVersion)},
                        {"UnlhaSetCursorMode", reinterpret_cast<void*>(&Recorder::SetCursorMode)},
                        {"Unlha", reinterpret_cast<void*>(&Recorder::Unlha)}});
}

TEST(LibLha32, LooksUpAllFortyNamesAndStandsInForMissingOnes) {
    std::vector<std::string> asked;
    LibLha32 none([&](const char* name) {
        asked.push_back(name);
        return nullptr;
    });
    EXPECT_EQ(asked.size(), 40u);
    EXPECT_EQ(std::set<std::string>(asked.begin(), asked.end()).size(), 40u);
    auto message = [](auto call) {
        try {
            call();
        } catch (const EUnlha32Error& e) {
            return std::string(e.what());
        }
        return std::string("no exception");
    };
    EXPECT_EQ(message([&] { none.UnlhaGetVersion(); }), "Unlha32 Not Found function(GetVersion)");
    EXPECT_EQ(message([&] { none.UnlhaSetCursorMode(1); }),
              "Unlha32 Not Found function(SetCursorMode)");
    EXPECT_EQ(message([&] { none.Unlha(nullptr, "", nullptr, 0); }),
              "Unlha32 Not Found function(Unlha)");
    EXPECT_EQ(message([&] { none.Require("UnlhaGetArcOSType"); }),
              "Unlha32 Not Found function(GetArcOSType)");
    EXPECT_EQ(message([&] { TLibLha component(none); }), "Unlha32 Not Found function(GetVersion)");
    EXPECT_EQ(message([] { LibLha32::Load("no-such-library-here.dll"); }),
              "Unlha32 Module Not Loaded.(UNLHA32.DLL)");
}

TEST(TLibLha, CommandLinesFromProperties) {
    LibLha32 lib = Recording();
    TLibLha lha(lib);
    EXPECT_EQ(lha.Version(), "Version 2.66");
    EXPECT_EQ(lha.Command, cmdList);
    EXPECT_EQ(lha.SwitchText(), "");
    struct Case {
        std::function<void(TLibLha&)> configure;
        std::string line;
    } cases[] = {
        {[](TLibLha& l) { l.Command = cmdExtract; }, R"(E -+ "a.lzh" "*.*")"},
        {[](TLibLha& l) { l.Command = cmdExtract, l.WorkDirName = "C:\\tmp"; },
         R"(E -+ "-wC:\tmp\"  "a.lzh" "*.*")"},
        {[](TLibLha& l) { l.Command = cmdExtract, l.WorkDirName = "C:\\tmp\\"; },
         R"(E -+ "-wC:\tmp\"  "a.lzh" "*.*")"},
        {[](TLibLha& l) { l.BaseDirName = "C:\\data"; }, R"(L -+ "a.lzh" "C:\data\" "*.*")"},
        {[](TLibLha& l) { l.BaseDirName = "C:\\data\\"; }, R"(L -+ "a.lzh" "C:\data\" "*.*")"},
        {[](TLibLha& l) { l.BaseDirName = "C:\\ソ"; }, "L -+ \"a.lzh\" \"C:\\ソ\\\" \"*.*\""},
        {[](TLibLha& l) { l.ARCPattern = ""; }, R"(L -+ "a.lzh" "")"},
        {[](TLibLha& l) { l.ExtraSwitches = "-q"; }, R"(L -+ -q "a.lzh" "*.*")"},
        {[](TLibLha& l) { l.Options.OpCompType = ctLH7; }, R"(L -+ -jm4 "a.lzh" "*.*")"},
        {[](TLibLha& l) {
             l.Options.OpDlgYes = {dyReplaceFile, dyDirectory};
         },
         R"(L -+ -jyco "a.lzh" "*.*")"},
        {[](TLibLha& l) {  // every switch off its default, in table order
             TOptions& o = l.Options;
             o.OpAllAttr = o.OpDictHalf = o.OpDirEffect = o.OpShortFile = true;
             o.OpCompType = ctLH0;
             o.OpDlgYes = {dyDirectory, dyFileDelete, dyDiskSpace, dyNewFileName, dyReplaceFile};
             o.OpDskChk = o.OpROot = o.OpTmCheck = false;
             o.OpLogDisp = ldPathName;
             o.OpNameCheck = ncSubTree;
             o.OpReSearch = rsFileSearch;
             o.OpUpdFile = ufNoUpdate;
             o.OpUpperCase = ucToLower;
             o.OpWinSfx = wsNoDialog32;
             l.DlgOptions = {false, false, false, false};
         },
         R"(L -+ -a1 -jm0 -e1 -x1 -jycdkno -f1 -l1 -p2 -r1 -jf0 -ji1 -c1 -u0 -i2 -gw2 -n1 -s1 -gm1 -gn2 "a.lzh" "*.*")"},
        {[](TLibLha& l) {  // the pack step
             l.Command = cmdAdd, l.ARCPattern = "", l.BaseDirName = "C:\\send";
             l.Options.OpReSearch = rsAllSearch, l.Options.OpDirEffect = true,
             l.Options.OpLogDisp = ldFileOnly;
             l.DlgOptions.OpErrorDlg = false;
         },
         R"(A -+ -x1 -r2 -gm1 "a.lzh" "C:\send\" "")"},
        {[](TLibLha& l) {  // the unpack step
             l.Command = cmdExtract, l.ARCPattern = "", l.BaseDirName = "C:\\save";
             l.Options.OpReSearch = rsAllSearch, l.Options.OpDirEffect = true,
             l.Options.OpLogDisp = ldDetail;
             l.Options.OpDlgYes = {dyDirectory, dyReplaceFile}, l.Options.OpROot = false;
             l.DlgOptions.OpErrorDlg = false;
         },
         R"(E -+ -x1 -jyco -l2 -r2 -jf0 -gm1 "a.lzh" "C:\save\" "")"},
    };
    for (const Case& c : cases) {
        TLibLha l(lib);
        l.ARCFileName = "a.lzh";
        c.configure(l);
        EXPECT_EQ(l.CommandLine(), c.line);
        EXPECT_EQ(l.Execute(), 0);
        EXPECT_EQ(Recorder::lines.back(), c.line);
    }
    // SetDefaults puts the options back and leaves the component's own properties.
    TLibLha l(lib);
    l.ARCFileName = "a.lzh";
    l.Command = cmdTest;
    l.Options.OpCompType = ctLH6;
    l.DlgOptions.OpExtDlg = false;
    l.SetDefaults();
    EXPECT_EQ(l.CommandLine(), R"(T -+ "a.lzh" "*.*")");
}

TEST(TLibLha, VersionDecidesLh7AndItsText) {
    LibLha32 lib = Recording();
    struct Case {
        std::uint16_t number;
        const char* text;
        const char* lh7;
    } cases[] = {{266, "2.66", " -jm4"},
                 {70, "0.70", " -jm4"},
                 {69, "0.69", ""},
                 {5, "0.05", ""},
                 {100, "1.00", " -jm4"}};
    for (const Case& c : cases) {
        Recorder::version = c.number;
        TLibLha l(lib);
        EXPECT_EQ(l.VersionText, c.text);
        l.Options.OpCompType = ctLH7;
        EXPECT_EQ(l.SwitchText(), c.lh7) << c.number;
    }
}

TEST(TLibLha, ExecuteRefusalsOwnerCursorAndOutputLines) {
    LibLha32 lib = Recording();
    TLibLha l(lib);
    EXPECT_EQ(l.Execute(), -1) << "no archive name";
    EXPECT_TRUE(Recorder::cursorModes.empty()) << "the library is not called at all";

    l.ARCFileName = "a.lzh";
    l.Debug = true;
    EXPECT_EQ(l.Execute(), -999) << "nobody to confirm";
    std::string asked;
    l.ConfirmCommandLine = [&](const std::string& line, const std::string& caption) {
        asked = caption + ": " + line;
        return false;
    };
    EXPECT_EQ(l.Execute(), -999);
    EXPECT_EQ(asked, R"(Execute Wait: L -+ "a.lzh" "*.*")");
    EXPECT_TRUE(Recorder::lines.empty());
    l.ConfirmCommandLine = [](const std::string&, const std::string&) { return true; };

    int window = 0;
    l.ApplicationWindow = &window;
    l.DisplayCSR = false;
    std::vector<std::string> lines{"kept"};
    l.OutputLines = &lines;
    Recorder::output = std::string("a\r\nb\0c\n", 7);
    Recorder::result = 0x8107;
    EXPECT_EQ(l.Execute(), 0x8107) << "the library's result passes through";
    EXPECT_EQ(lines, (std::vector<std::string>{"kept", "a\r", "b"}));
    EXPECT_EQ(Recorder::owner, &window);
    EXPECT_EQ(Recorder::cursorModes.back(), 0);
    l.ExecMode = exBackGround;
    l.Execute();
    EXPECT_EQ(Recorder::owner, nullptr);
}

TEST(TLibLha, PackAndUnpackThroughTheLoadedLibrary) {
    // The binding opens our own library beside this program: UNLHA32.DLL or libunlha32.so.
    std::unique_ptr<LibLha32> lib = LibLha32::Load();
    TLibLha lha(*lib);
    EXPECT_GT(lha.VersionNumber, 69);
    EXPECT_TRUE(lib->Has("UnlhaGetRunning"));
    EXPECT_FALSE(lib->Has("UnlhaOpenArchive"));

    TempFolder t;
    unlha32::test::MakeMixedCorpus(t / "send");
    std::vector<std::string> lines;
    lha.SetDefaults();
    lha.ARCFileName = t / "USER.$$$";
    lha.ARCPattern = "";
    lha.BaseDirName = t / "send";
    lha.Command = cmdAdd;
    lha.Options.OpReSearch = rsAllSearch;
    lha.Options.OpDirEffect = true;
    lha.DlgOptions.OpErrorDlg = false;
    lha.OutputLines = &lines;
    ASSERT_EQ(lha.Execute(), 0);
    EXPECT_EQ(lines.back(), "8 個のファイルを圧縮しました。");
    EXPECT_EQ(lib->UnlhaGetFileCount((t / "USER.$$$").c_str()), 15);

    lha.SetDefaults();
    lha.BaseDirName = t / "save";
    lha.Command = cmdExtract;
    lha.Options.OpReSearch = rsAllSearch;
    lha.Options.OpDirEffect = true;
    lha.Options.OpLogDisp = ldDetail;
    lha.Options.OpDlgYes = {dyDirectory, dyReplaceFile};
    lha.Options.OpROot = false;
    lha.DlgOptions.OpErrorDlg = false;
    ASSERT_EQ(lha.Execute(), 0);
    EXPECT_EQ(unlha32::test::ReadTree(t / "save"), unlha32::test::ReadTree(t / "send"));

    lha.ARCFileName = t / "missing.$$$";
    EXPECT_NE(lha.Execute(), 0);
}

}  // namespace
}  // namespace velmo::steps
