// Interoperability with independent LHA tools: lhasa, bsdtar and 7z read what we write; we read
// what jlha writes; lhasa agrees with our decoders on the methods we only read.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/files.h"
#include "platform/text.h"
#include "tests/unlha32/test_encoders.h"
#include "tests/unlha32/test_support.h"

namespace unlha32::test {
namespace {

namespace fs = std::filesystem;

std::string Native(const std::string& cp932) { return velmo::platform::ToNativePath(cp932); }

// Runs a shell command; returns its exit status and leaves its output in `output`.
int Shell(const std::string& command, std::string* output = nullptr) {
    std::string full = command + " 2>&1";
    FILE* pipe = popen(full.c_str(), "r");
    if (!pipe) return -1;
    std::string text;
    char buffer[4096];
    while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) text.append(buffer, n);
    int status = pclose(pipe);
    if (output) *output = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Quoted(const std::string& native) { return "'" + native + "'"; }

// How a tool spelled the archive's CP932 name bytes on disk.
enum class Names {
    kRaw,         // the bytes as they are
    kUtf8,        // converted from CP932 to UTF-8 (bsdtar with hdrcharset=CP932, ourselves)
    kLatin1Utf8,  // each byte taken for a Latin-1 character and written in UTF-8: lhasa 0.3 in a
                  // UTF-8 locale, so the stored bytes can still be compared exactly
};

std::string Latin1FromUtf8(const std::string& utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        if ((c & 0xE0) == 0xC0 && i + 1 < utf8.size()) {
            out += static_cast<char>(((c & 0x1F) << 6) |
                                     (static_cast<unsigned char>(utf8[++i]) & 0x3F));
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

// A tree on disk read back with CP932 names: relative name with "\" separators, folders ending
// in "\", to contents.
std::map<std::string, std::string> NativeTree(const std::string& folder, Names names) {
    std::map<std::string, std::string> tree;
    fs::path root(Native(folder));
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
         ++it) {
        std::string rel = fs::relative(it->path(), root).string();
        std::string name = names == Names::kUtf8         ? velmo::platform::Utf8ToCp932(rel)
                           : names == Names::kLatin1Utf8 ? Latin1FromUtf8(rel)
                                                         : rel;
        for (char& c : name)
            if (c == '/') c = '\\';
        if (it->is_directory()) {
            tree[name + "\\"] = "";
        } else {
            std::ifstream in(it->path(), std::ios::binary);
            tree[name] = std::string(std::istreambuf_iterator<char>(in), {});
        }
    }
    return tree;
}

// The names that differ between two trees, and those whose contents differ; empty when equal.
std::string Differences(const std::map<std::string, std::string>& got,
                        const std::map<std::string, std::string>& want) {
    std::string text;
    for (const auto& [name, data] : want) {
        auto it = got.find(name);
        if (it == got.end())
            text += "missing: " + velmo::platform::Cp932ToUtf8(name) + "\n";
        else if (it->second != data)
            text += "different: " + velmo::platform::Cp932ToUtf8(name) + "\n";
    }
    for (const auto& [name, data] : got)
        if (!want.count(name)) text += "unexpected: " + velmo::platform::Cp932ToUtf8(name) + "\n";
    return text;
}

std::multiset<std::string> Contents(const std::map<std::string, std::string>& tree) {
    std::multiset<std::string> contents;
    for (const auto& [name, data] : tree)
        if (!name.empty() && name.back() != '\\') contents.insert(data);
    return contents;
}

class Interop : public ::testing::TestWithParam<const char*> {};

TEST_P(Interop, IndependentReadersTestAndExtractWhatWeWrite) {
    TempFolder t;
    std::string src = t / "src", archive = t / "out.lzh";
    MakeMixedCorpus(src);
    auto expected = ReadTree(src);
    Outcome add = RunUnlha(std::string("A -+ ") + GetParam() + " -x1 -r2 -gm1 \"" + archive +
                           "\" \"" + src + "\\\" \"\"");
    ASSERT_EQ(add.result, 0) << add.output;

    std::string out;
    EXPECT_EQ(Shell("lha t " + Quoted(Native(archive)), &out), 0) << out;
    EXPECT_EQ(out.find("rror"), std::string::npos) << out;
    MakeFolders(t / "lhasa");
    EXPECT_EQ(Shell("cd " + Quoted(Native(t / "lhasa")) + " && LC_ALL=C.UTF-8 lha xq " +
                        Quoted(Native(archive)),
                    &out),
              0)
        << out;
    EXPECT_EQ(Differences(NativeTree(t / "lhasa", Names::kLatin1Utf8), expected), "");

    MakeFolders(t / "bsdtar");
    EXPECT_EQ(Shell("cd " + Quoted(Native(t / "bsdtar")) +
                        " && LC_ALL=C.UTF-8 bsdtar --options hdrcharset=CP932 -xf " +
                        Quoted(Native(archive)),
                    &out),
              0)
        << out;
    EXPECT_EQ(Differences(NativeTree(t / "bsdtar", Names::kUtf8), expected), "");

    EXPECT_EQ(Shell("7z t " + Quoted(Native(archive)), &out), 0) << out;
    MakeFolders(t / "7z");
    EXPECT_EQ(
        Shell("cd " + Quoted(Native(t / "7z")) + " && 7z x -y " + Quoted(Native(archive)), &out), 0)
        << out;
    // 7z takes the 0x5C trail byte of ソ and 表 for a separator, so only the contents are compared.
    EXPECT_TRUE(Contents(NativeTree(t / "7z", Names::kRaw)) == Contents(expected));
}

INSTANTIATE_TEST_SUITE_P(Methods, Interop, ::testing::Values("", "-jm0", "-jm3", "-jm4"),
                         [](const auto& info) {
                             return std::string(*info.param ? info.param + 1 : "default");
                         });

TEST(Interop, WeExtractWhatJlhaWrites) {
    if (Shell("which java") != 0) GTEST_SKIP() << "jlha needs a Java runtime";
    TempFolder t;
    std::string src = t / "src";
    MakeMixedCorpus(src);
    auto expected = ReadTree(src);
    // jlha stores folders only through their files; the empty ones are not in its archives.
    for (auto it = expected.begin(); it != expected.end();) {
        bool emptyFolder = it->first.back() == '\\' &&
                           std::none_of(expected.begin(), expected.end(), [&](const auto& e) {
                               return e.first != it->first && e.first.rfind(it->first, 0) == 0;
                           });
        it = emptyFolder ? expected.erase(it) : std::next(it);
    }
    for (const char* level : {"0", "1", "2"}) {
        for (const char* method : {"z", "o5", "o6", "o7"}) {
            std::string name = std::string("j") + level + method;
            std::string archive = t / (name + ".lzh"), dest = t / name;
            std::string out;
            Shell("cd " + Quoted(Native(src)) + " && jlha c" + level + method + "y " +
                      Quoted(Native(archive)) + " *",
                  &out);
            ASSERT_TRUE(fs::exists(Native(archive))) << out;
            Outcome x = RunUnlha("X -+ -jyco -gm1 \"" + archive + "\" \"" + dest + "\\\" \"\"");
            EXPECT_EQ(x.result, 0) << name << "\n" << x.output;
            auto got = ReadTree(dest);
            for (auto it = got.begin(); it != got.end();) {
                bool emptyFolder = it->first.back() == '\\' && expected.count(it->first) == 0;
                it = emptyFolder ? got.erase(it) : std::next(it);
            }
            EXPECT_EQ(Differences(got, expected), "") << name;
        }
    }
}

TEST(Interop, LhasaAgreesWithOurDecodersOnReadOnlyMethods) {
    TempFolder t;
    std::string data = SampleText(7000) + "    " + Pseudorandom(200, 7) + std::string(13, 'A') +
                       std::string(40, '\0');
    struct Case {
        const char* method;
        std::string packed;
    } cases[] = {{"-lh1-", EncodeLh1(data)},
                 {"-lzs-", EncodeLzs(data)},
                 {"-lz5-", EncodeLz5(data)},
                 {"-lh4-", EncodeLh4(data)},
                 {"-lz4-", data}};
    for (const Case& c : cases) {
        std::string name = std::string(c.method).substr(1, 3);
        std::string archive = t / (name + ".lzh");
        WriteFile(archive, ArchiveOf(c.method, name + ".txt", data, c.packed));
        MakeFolders(t / name);
        std::string out;
        EXPECT_EQ(Shell("cd " + Quoted(Native(t / name)) + " && LC_ALL=C.UTF-8 lha xq " +
                            Quoted(Native(archive)),
                        &out),
                  0)
            << out;
        EXPECT_EQ(ReadFile(t / name + "\\" + name + ".txt"), data)
            << "lhasa reads " << c.method << " otherwise";
        Outcome e = RunUnlha("E -+ \"" + archive + "\" \"" + t / "ours" + "\\\"");
        EXPECT_EQ(e.result, 0) << e.output;
        EXPECT_EQ(ReadFile(t / "ours\\" + name + ".txt"), data) << c.method;
    }
}

TEST(Interop, LhasaReadsTheOtherHeaderLevelsAsWeDo) {
    TempFolder t;
    std::string archive = t / "old.lzh";
    std::string text = SampleText(3000);
    WriteFile(archive, Level0Entry("-lh0-", "dir\\zero.txt", "level zero", "level zero") +
                           Level1Entry("-lh4-", "one.txt", "sub", text, EncodeLh4(text)) +
                           Level3Entry("-lh0-", "three.txt", "three", "three") +
                           std::string(1, '\0'));
    std::string out;
    MakeFolders(t / "lhasa");
    EXPECT_EQ(Shell("cd " + Quoted(Native(t / "lhasa")) + " && LC_ALL=C.UTF-8 lha xq " +
                        Quoted(Native(archive)),
                    &out),
              0)
        << out;
    Outcome x = RunUnlha("X -+ -jyco \"" + archive + "\" \"" + t / "ours" + "\\\"");
    EXPECT_EQ(x.result, 0) << x.output;
    auto ours = ReadTree(t / "ours");
    EXPECT_EQ(ours["sub\\one.txt"], text);
    EXPECT_EQ(ours["dir\\zero.txt"], "level zero");
    EXPECT_EQ(Differences(NativeTree(t / "lhasa", Names::kLatin1Utf8), ours), "") << out;
}

}  // namespace
}  // namespace unlha32::test
