// The archiver through its entry points: command lines, round trips, refusals, damaged archives.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/files.h"
#include "tests/unlha32/test_encoders.h"
#include "tests/unlha32/test_support.h"
#include "unlha32/errors.h"

namespace unlha32::test {
namespace {

std::string Q(const std::string& s) { return "\"" + s + "\""; }

// The command lines the program's pack and unpack steps build.
std::string PackLine(const std::string& archive, const std::string& folder,
                     const std::string& method = "") {
    return "A -+" + method + " -x1 -r2 -gm1 " + Q(archive) + " " + Q(folder + "\\") + " \"\"";
}
std::string UnpackLine(const std::string& archive, const std::string& folder) {
    return "E -+ -x1 -jyco -l2 -r2 -jf0 -gm1 " + Q(archive) + " " + Q(folder + "\\") + " \"\"";
}

constexpr velmo::platform::FileTime kSecond = 10000000;

class RoundTrip : public ::testing::TestWithParam<const char*> {};

TEST_P(RoundTrip, MixedCorpusComesBackByteForByte) {
    TempFolder t;
    MakeMixedCorpus(t / "src");
    Outcome add = RunUnlha(PackLine(t / "a.lzh", t / "src", GetParam()));
    ASSERT_EQ(add.result, 0) << add.output;
    EXPECT_NE(add.output.find("圧縮  表.txt\n"), std::string::npos)
        << "-l0 reports names without folders";
    EXPECT_NE(add.output.find("個のファイルを圧縮しました。"), std::string::npos);
    Outcome extract = RunUnlha(UnpackLine(t / "a.lzh", t / "dst"));
    ASSERT_EQ(extract.result, 0) << extract.output;
    EXPECT_NE(extract.output.find("展開  ソフト\\表.txt"), std::string::npos)
        << "-l2 reports paths";
    EXPECT_EQ(ReadTree(t / "dst"), ReadTree(t / "src"));
    EXPECT_EQ(Library().GetFileCount((t / "a.lzh").c_str()), 15);
    EXPECT_TRUE(Library().CheckArchive((t / "a.lzh").c_str(), 2));
}

INSTANTIATE_TEST_SUITE_P(Methods, RoundTrip,
                         ::testing::Values("", " -jm0", " -jm2", " -jm3", " -jm4"),
                         [](const auto& info) {
                             return std::string(*info.param ? info.param + 2 : "default");
                         });

TEST(Commands, TimeStampsAndFlatExtraction) {
    TempFolder t;
    MakeFolders(t / "src\\sub");
    WriteFile(t / "src\\sub\\a.txt", "a");
    WriteFile(t / "src\\b.TXT", "b");
    velmo::platform::FileTime stamp =
        *velmo::platform::LastWriteTime(t / "src\\b.TXT") - 3600 * kSecond;
    ASSERT_TRUE(velmo::platform::SetLastWriteTime(t / "src\\b.TXT", stamp));
    ASSERT_EQ(RunUnlha(PackLine(t / "a.lzh", t / "src")).result, 0);

    // Without -x1 names lose their folders; the pattern picks by name without regard to case.
    Outcome e = RunUnlha("E -+ " + Q(t / "a.lzh") + " " + Q(t / "flat\\") + " \"*.txt\"");
    ASSERT_EQ(e.result, 0) << e.output;
    EXPECT_EQ(ReadTree(t / "flat"),
              (std::map<std::string, std::string>{{"a.txt", "a"}, {"b.TXT", "b"}}));
    EXPECT_EQ(*velmo::platform::LastWriteTime(t / "flat\\b.TXT") / kSecond, stamp / kSecond);

    // An existing file as new as the entry stays unless -c1 says not to compare; without "o" in
    // -jy nothing is overwritten.
    WriteFile(t / "flat\\b.TXT", "newer");
    Outcome keep = RunUnlha("E -+ -jyo " + Q(t / "a.lzh") + " " + Q(t / "flat\\") + " b.txt");
    EXPECT_EQ(keep.result, 0) << keep.output;
    EXPECT_EQ(ReadFile(t / "flat\\b.TXT"), "newer");
    EXPECT_NE(keep.output.find("スキップ"), std::string::npos);
    EXPECT_EQ(RunUnlha("E -+ -c1 " + Q(t / "a.lzh") + " " + Q(t / "flat\\") + " b.txt").result, 0);
    EXPECT_EQ(ReadFile(t / "flat\\b.TXT"), "newer");
    EXPECT_EQ(RunUnlha("E -+ -c1 -jyo " + Q(t / "a.lzh") + " " + Q(t / "flat\\") + " b.txt").result,
              0);
    EXPECT_EQ(ReadFile(t / "flat\\b.TXT"), "b");
}

TEST(Commands, ListTestDeleteUpdateMove) {
    TempFolder t;
    MakeFolders(t / "src");
    WriteFile(t / "src\\one.txt", SampleText(5000));
    WriteFile(t / "src\\two.bin", Pseudorandom(3000, 1));
    std::string a = Q(t / "a.lzh");
    ASSERT_EQ(RunUnlha("A " + a + " " + Q(t / "src\\") + " *.txt").result, 0);

    Outcome u = RunUnlha("U " + a + " " + Q(t / "src\\"));  // adds two.bin, one.txt is not newer
    ASSERT_EQ(u.result, 0) << u.output;
    EXPECT_EQ(u.output.find("one.txt"), std::string::npos) << u.output;
    Outcome list = RunUnlha("L " + a);
    EXPECT_EQ(list.result, 0);
    EXPECT_NE(list.output.find("-lh5- one.txt"), std::string::npos) << list.output;
    EXPECT_NE(list.output.find("-lh0- two.bin"), std::string::npos) << "random data is stored";
    EXPECT_NE(list.output.find("2 個のファイル"), std::string::npos);
    EXPECT_EQ(RunUnlha("T " + a).result, 0);

    Outcome d = RunUnlha("D " + a + " one.txt");
    EXPECT_EQ(d.result, 0) << d.output;
    EXPECT_EQ(Library().GetFileCount((t / "a.lzh").c_str()), 1);
    EXPECT_EQ(RunUnlha("D " + a + " nothing.txt").result, kNoMatch);

    Outcome m = RunUnlha("M " + a + " " + Q(t / "src\\") + " one.txt");
    EXPECT_EQ(m.result, 0) << m.output;
    EXPECT_FALSE(Exists(t / "src\\one.txt")) << "M removes what it packed";
    EXPECT_EQ(Library().GetFileCount((t / "a.lzh").c_str()), 2);

    EXPECT_EQ(RunUnlha("D " + a + " *.*").result, 0);
    EXPECT_FALSE(Exists(t / "a.lzh")) << "an archive left without entries is removed";
}

TEST(Commands, RefusalsHaveTheirOwnCodes) {
    TempFolder t;
    WriteFile(t / "junk.lzh", "this is no archive at all, just text");
    MakeFolders(t / "src");
    WriteFile(t / "src\\x.txt", "x");
    struct Case {
        std::string line;
        int result;
    } cases[] = {
        {"", kBadCommandLine},
        {"Q " + Q(t / "a.lzh"), kBadCommandLine},
        {"E -z9 " + Q(t / "a.lzh"), kBadCommandLine},
        {"E \"" + t / "a.lzh", kBadCommandLine},
        {"E -+", kBadCommandLine},
        {"S " + Q(t / "a.lzh"), kUnsupportedCommand},
        {"E " + Q(t / "missing.lzh") + " " + Q(t / "out\\"), kArchiveNotFound},
        {"E " + Q(t / "junk.lzh") + " " + Q(t / "out\\"), kNotArchive},
        {"A -jm1 " + Q(t / "a.lzh") + " " + Q(t / "src\\"), kUnsupportedMethod},
        {"A " + Q(t / "a.lzh") + " " + Q(t / "src\\") + " *.none", kNoMatch},
    };
    for (const Case& c : cases) {
        Outcome o = RunUnlha(c.line);
        EXPECT_EQ(o.result, c.result) << c.line << "\n" << o.output;
        EXPECT_FALSE(o.output.empty()) << c.line;
    }
    EXPECT_FALSE(Library().CheckArchive((t / "junk.lzh").c_str(), 0));
    EXPECT_EQ(Library().GetFileCount((t / "junk.lzh").c_str()), -1);
    EXPECT_FALSE(Exists(t / "a.lzh"));
}

TEST(Safety, HostileNamesAreRefusedOneByOne) {
    TempFolder t;
    std::string good = "good data";
    std::string archive;
    // Level 2 names go through the folder extension (0xFF between parts); level 0 names are stored
    // as they are, so a leading separator survives there.
    const char* hostile[] = {
        "..\\evil1.txt",       "a\\..\\..\\evil2.txt", "C:evil4.txt", "..",
        "sub\\...\\evil5.txt", "x\\y:stream",          "/evil6.txt",  "\\evil7.txt"};
    for (const char* name : hostile) {
        std::string entry = name[0] == '/' || name[0] == '\\'
                                ? Level0Entry("-lh0-", name, "evil", "evil")
                                : ArchiveOf("-lh0-", name, "evil", "evil");
        archive += name[0] == '/' || name[0] == '\\' ? entry : entry.substr(0, entry.size() - 1);
    }
    // A symbolic link as LHa for UNIX stores one: a folder entry "name|target" with a link's mode.
    archive += Level0Entry("-lhd-", "link|/etc", "", "", 0xA1FF);
    archive += Level0Entry("-lh0-", "ok\\good.txt", good, good);
    std::string whole = archive + std::string(1, '\0');
    WriteFile(t / "h.lzh", whole);
    MakeFolders(t / "base\\in");
    Outcome x = RunUnlha("X -+ -jyco " + Q(t / "h.lzh") + " " + Q(t / "base\\in\\"));
    EXPECT_EQ(x.result, kUnsafeName) << x.output;
    EXPECT_EQ(ReadTree(t / "base"),
              (std::map<std::string, std::string>{
                  {"in\\", ""}, {"in\\ok\\", ""}, {"in\\ok\\good.txt", good}}));
    std::size_t refusals = 0;
    for (std::size_t at = 0; (at = x.output.find("拒否", at)) != std::string::npos; ++at)
        ++refusals;
    EXPECT_EQ(refusals, std::size(hostile) + 1) << x.output;
    // Without -x1 the folder parts would be dropped anyway; the names are still refused.
    EXPECT_EQ(RunUnlha("E -+ -jyco " + Q(t / "h.lzh") + " " + Q(t / "flat\\")).result, kUnsafeName);
    EXPECT_EQ(ReadTree(t / "flat"), (std::map<std::string, std::string>{{"good.txt", good}}));
}

#ifndef _WIN32
TEST(Safety, LinksAlreadyInTheBaseFolderAreNotFollowed) {
    TempFolder t;
    MakeFolders(t / "base");
    MakeFolders(t / "outside");
    std::filesystem::create_directory_symlink(velmo::platform::ToNativePath(t / "outside"),
                                              velmo::platform::ToNativePath(t / "base\\link"));
    std::filesystem::create_symlink(velmo::platform::ToNativePath(t / "outside\\target.txt"),
                                    velmo::platform::ToNativePath(t / "base\\file.txt"));
    std::string a = ArchiveOf("-lh0-", "link\\evil.txt", "evil", "evil");
    std::string b = ArchiveOf("-lh0-", "file.txt", "evil", "evil");
    WriteFile(t / "l.lzh", a.substr(0, a.size() - 1) + b);
    Outcome x = RunUnlha("X -+ -jyco -c1 " + Q(t / "l.lzh") + " " + Q(t / "base\\"));
    EXPECT_EQ(x.result, kUnsafeName) << x.output;
    EXPECT_TRUE(ReadTree(t / "outside").empty()) << x.output;
}
#endif

TEST(Safety, DamagedArchivesFailWithoutHarm) {
    TempFolder t;
    std::string text = SampleText(20000);
    std::string first = EncodeLh4(text);  // any valid stream: it is stored as lh4
    std::string a = ArchiveOf("-lh4-", "first.txt", text, first);
    std::string b = ArchiveOf("-lh0-", "second.txt", "second", "second");
    std::string two = a.substr(0, a.size() - 1) + b;
    std::string corrupt = two;
    corrupt[a.size() / 2] ^= 0x55;  // inside the first entry's data
    std::string headerCrc = two;
    headerCrc[a.size() - 1 + 9] ^= 1;  // the second header's original size
    struct Case {
        const char* name;
        std::string bytes;
        int result;
        bool firstExtracted, secondExtracted;
    } cases[] = {
        {"data", corrupt, kDataBroken, false, true},
        {"header", headerCrc, kHeaderCrc, true, false},
        {"cut in data", two.substr(0, a.size() / 2), kHeaderBroken, false, false},
        {"cut in header", two.substr(0, 20), kHeaderBroken, false, false},
        {"cut in second header", two.substr(0, a.size() + 10), kHeaderBroken, true, false},
    };
    for (const Case& c : cases) {
        WriteFile(t / "d.lzh", c.bytes);
        std::string out = t / (std::string("out-") + c.name);
        Outcome x = RunUnlha("E -+ -jyo " + Q(t / "d.lzh") + " " + Q(out + "\\"));
        EXPECT_NE(x.result, 0) << c.name << "\n" << x.output;
        if (c.result == kDataBroken) {
            EXPECT_TRUE(x.result == kDataBroken || x.result == kCrcError)
                << c.name << " " << x.result;
        } else {
            EXPECT_EQ(x.result, c.result) << c.name;
        }
        EXPECT_EQ(Exists(out + "\\first.txt"), c.firstExtracted)
            << c.name << ": a broken entry leaves no file";
        EXPECT_EQ(Exists(out + "\\second.txt"), c.secondExtracted) << c.name;
        EXPECT_NE(RunUnlha("T " + Q(t / "d.lzh")).result, 0) << c.name;
    }
}

TEST(Commands, ReadsHeaderLevelsZeroToThree) {
    TempFolder t;
    std::string text = SampleText(4000);
    WriteFile(t / "levels.lzh", Level0Entry("-lh0-", "DIR\\ZERO.TXT", "zero", "zero") +
                                    Level1Entry("-lh4-", "one.txt", "sub", text, EncodeLh4(text)) +
                                    Level3Entry("-lh0-", "three.txt", "three", "three") +
                                    std::string(1, '\0'));
    Outcome x = RunUnlha("X -+ " + Q(t / "levels.lzh") + " " + Q(t / "out\\"));
    EXPECT_EQ(x.result, 0) << x.output;
    EXPECT_EQ(ReadTree(t / "out"), (std::map<std::string, std::string>{{"DIR\\", ""},
                                                                       {"DIR\\ZERO.TXT", "zero"},
                                                                       {"sub\\", ""},
                                                                       {"sub\\one.txt", text},
                                                                       {"three.txt", "three"}}));
}

TEST(Output, IsCutAtTheBufferWithoutSplittingACharacter) {
    TempFolder t;
    MakeFolders(t / "src");
    WriteFile(t / "src\\表.txt", "x");
    ASSERT_EQ(RunUnlha("A " + Q(t / "a.lzh") + " " + Q(t / "src\\")).result, 0);
    Outcome full = RunUnlha("L " + Q(t / "a.lzh"));
    std::size_t at = full.output.find("表");
    ASSERT_NE(at, std::string::npos);
    // Room for everything before 表 and its first byte only: the lead byte must not be kept.
    Outcome cut = RunUnlha("L " + Q(t / "a.lzh"), static_cast<std::uint32_t>(at + 2));
    EXPECT_EQ(cut.output, full.output.substr(0, at));
    EXPECT_EQ(RunUnlha("L " + Q(t / "a.lzh"), 0).result, 0) << "no buffer at all is fine";
}

TEST(Api, VersionCursorAndRunning) {
    EXPECT_GT(Library().GetVersion(), 69);
    EXPECT_TRUE(Library().SetCursorMode(1));
    EXPECT_FALSE(Library().GetRunning());
}

}  // namespace
}  // namespace unlha32::test
