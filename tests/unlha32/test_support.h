// Helpers of the archiver tests: scratch folders in CP932, file trees, calls of Unlha.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace unlha32::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    // The folder as the library takes it: CP932, "\" separators, no final "\".
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::filesystem::path native_;
    std::string path_;
};

void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);
bool Exists(const std::string& path);
void MakeFolders(const std::string& path);

// Every file and folder under a folder: relative CP932 name ("\" separated, folders ending in
// "\") to contents.
std::map<std::string, std::string> ReadTree(const std::string& folder);

// Text, binary, empty files, empty and nested folders, Shift-JIS names with 0x5C trail bytes.
void MakeMixedCorpus(const std::string& folder);

struct Outcome {
    int result;
    std::string output;
};
Outcome RunUnlha(const std::string& commandLine, std::uint32_t size = 65535);

std::string Pseudorandom(std::size_t size, std::uint32_t seed);
std::string SampleText(std::size_t size);

}  // namespace unlha32::test
