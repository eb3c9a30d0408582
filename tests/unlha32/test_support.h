// Helpers of the archiver tests: scratch folders in CP932, file trees, calls of Unlha.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "unlha32/unlha32.h"

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

// The library's entry points, looked up by name in the library beside the test program, as the
// program itself does (the i686 import library could not name the plain stdcall exports).
struct Api {
    int(UNLHA_CALL* Unlha)(void*, const char*, char*, std::uint32_t);
    std::uint16_t(UNLHA_CALL* GetVersion)();
    int(UNLHA_CALL* GetRunning)();
    int(UNLHA_CALL* SetCursorMode)(int);
    int(UNLHA_CALL* CheckArchive)(const char*, int);
    int(UNLHA_CALL* GetFileCount)(const char*);
};
const Api& Library();

struct Outcome {
    int result;
    std::string output;
};
Outcome RunUnlha(const std::string& commandLine, std::uint32_t size = 65535);

std::string Pseudorandom(std::size_t size, std::uint32_t seed);
std::string SampleText(std::size_t size);

}  // namespace unlha32::test
