// Helpers of the archiver tests, on top of the program's platform services.
#include "tests/unlha32/test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <random>

#include "platform/files.h"
#include "platform/library.h"
#include "platform/text.h"
#include "unlha32/unlha32.h"

namespace unlha32::test {
namespace {

std::string FromNative(const std::filesystem::path& p) {
#ifdef _WIN32
    return velmo::platform::WideToCp932(p.wstring());
#else
    std::string cp932 = velmo::platform::Utf8ToCp932(p.string());
    for (char& c : cp932)
        if (c == '/') c = '\\';
    return cp932;
#endif
}

}  // namespace

TempFolder::TempFolder() {
    static std::atomic<int> counter{0};
    static const unsigned stamp = std::random_device{}();
    native_ = std::filesystem::temp_directory_path() /
              ("unlha32-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(native_);
    path_ = FromNative(native_);
}

TempFolder::~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(native_, ec);
}

void WriteFile(const std::string& path, const std::string& bytes) {
    ASSERT_TRUE(velmo::platform::WriteWholeFile(path, bytes)) << path;
}

std::string ReadFile(const std::string& path) {
    return velmo::platform::ReadWholeFile(path).value_or("<missing>");
}

bool Exists(const std::string& path) {
    return velmo::platform::FileExists(path) || velmo::platform::FolderExists(path);
}

void MakeFolders(const std::string& path) {
    ASSERT_TRUE(velmo::platform::MakeFolders(path)) << path;
}

std::map<std::string, std::string> ReadTree(const std::string& folder) {
    std::map<std::string, std::string> tree;
    std::vector<std::string> pending{""};
    while (!pending.empty()) {
        std::string rel = pending.back();
        pending.pop_back();
        auto entries = velmo::platform::ListFolder(rel.empty() ? folder : folder + "\\" + rel);
        if (!entries) continue;
        for (const auto& e : *entries) {
            std::string name = rel.empty() ? e.name : rel + "\\" + e.name;
            if (e.isFolder) {
                tree[name + "\\"] = "";
                pending.push_back(name);
            } else {
                tree[name] = ReadFile(folder + "\\" + name);
            }
        }
    }
    return tree;
}

std::string Pseudorandom(std::size_t size, std::uint32_t seed) {
    std::string s(size, '\0');
    std::uint32_t x = seed * 2654435761u + 1;
    for (char& c : s) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        c = static_cast<char>(x >> 24);
    }
    return s;
}

std::string SampleText(std::size_t size) {
    static const char* const kWords[] = {"送信",  "フォルダ", "archive ", "the ",
                                         "受信 ", "ソフト\\", "表示 ",    "data\r\n",
                                         "LHA ",  "圧縮",     "12345 ",   "能力 "};
    std::string s;
    std::uint32_t x = 7;
    while (s.size() < size) {
        x = x * 1103515245u + 12345u;
        s += kWords[(x >> 16) % 12];
    }
    s.resize(size);
    return s;
}

void MakeMixedCorpus(const std::string& folder) {
    MakeFolders(folder + "\\ソフト\\表計算\\空");
    MakeFolders(folder + "\\empty");
    MakeFolders(folder + "\\a\\b\\c");
    WriteFile(folder + "\\readme.txt", SampleText(40000));
    WriteFile(folder + "\\random.bin", Pseudorandom(70000, 1));
    WriteFile(folder + "\\zeros.bin", std::string(200000, '\0'));
    WriteFile(folder + "\\empty.txt", "");
    WriteFile(folder + "\\one.txt", "x");
    WriteFile(folder + "\\ソフト\\表.txt", SampleText(3000) + Pseudorandom(3000, 2));
    WriteFile(folder + "\\ソフト\\表計算\\能力.dat", Pseudorandom(500, 3) + std::string(5000, 'z'));
    WriteFile(folder + "\\a\\b\\c\\deep.txt", SampleText(100000));
}

const Api& Library() {
    static const Api api = [] {
#ifdef _WIN32
        const char* name = "UNLHA32.DLL";
#else
        const char* name = "libunlha32.so";
#endif
        static std::unique_ptr<velmo::platform::Library> library = velmo::platform::Library::Open(
            velmo::platform::JoinPath(velmo::platform::ProgramFolder(), name));
        if (!library) {
            ADD_FAILURE() << "cannot load " << name;
            std::abort();
        }
        Api a{};
        a.Unlha = reinterpret_cast<decltype(a.Unlha)>(library->Symbol("Unlha"));
        a.GetVersion = reinterpret_cast<decltype(a.GetVersion)>(library->Symbol("UnlhaGetVersion"));
        a.GetRunning = reinterpret_cast<decltype(a.GetRunning)>(library->Symbol("UnlhaGetRunning"));
        a.SetCursorMode =
            reinterpret_cast<decltype(a.SetCursorMode)>(library->Symbol("UnlhaSetCursorMode"));
        a.CheckArchive =
            reinterpret_cast<decltype(a.CheckArchive)>(library->Symbol("UnlhaCheckArchive"));
        a.GetFileCount =
            reinterpret_cast<decltype(a.GetFileCount)>(library->Symbol("UnlhaGetFileCount"));
        if (!a.Unlha || !a.GetVersion || !a.GetRunning || !a.SetCursorMode || !a.CheckArchive ||
            !a.GetFileCount) {
            ADD_FAILURE() << "an entry point is missing from " << name;
            std::abort();
        }
        return a;
    }();
    return api;
}

Outcome RunUnlha(const std::string& commandLine, std::uint32_t size) {
    std::string buffer(size, '\x7F');
    int result =
        Library().Unlha(nullptr, commandLine.c_str(), size ? buffer.data() : nullptr, size);
    std::size_t end = buffer.find('\0');
    return {result, buffer.substr(0, end == std::string::npos ? 0 : end)};
}

}  // namespace unlha32::test
