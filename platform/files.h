// File-system services on the program's own "\" paths in CP932.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmo::platform {

// A path as the OS takes it: UTF-16 on Windows; on Linux UTF-8 with "\" turned into "/"
// only after the conversion, so that a 0x5C trail byte (ソ is 83 5C) is never taken for one.
#ifdef _WIN32
using NativePath = std::wstring;
#else
using NativePath = std::string;
#endif
NativePath ToNativePath(std::string_view path);

bool FileExists(std::string_view path);    // a file, not a folder
bool FolderExists(std::string_view path);  // a folder
bool RemoveFile(std::string_view path);
bool RemoveFolder(std::string_view path);  // an empty folder
bool MakeFolder(std::string_view path);    // one level; true when it exists afterwards
bool MakeFolders(std::string_view path);   // every missing level

struct FolderEntry {
    std::string name;  // CP932, no path
    bool isFolder = false;
    std::uint64_t size = 0;
};
// The entries of a folder, without "." and "..". nullopt when it cannot be listed.
std::optional<std::vector<FolderEntry>> ListFolder(std::string_view folder);

// The size of a file; nullopt when it cannot be read.
std::optional<std::uint64_t> FileSize(std::string_view path);

// Time stamps as Windows keeps them: 100 ns ticks since 1601-01-01 UTC.
using FileTime = std::int64_t;
std::optional<FileTime> LastWriteTime(std::string_view path);
bool SetLastWriteTime(std::string_view path, FileTime time);

// The absolute form of a path, "\"-separated; the input when it cannot be resolved.
std::string FullPath(std::string_view path);
// The folder of the running program, without a trailing "\".
std::string ProgramFolder();

// One open file for byte I/O. Not copyable; closes itself.
class File {
  public:
    enum class Mode { Read, Write /* create or truncate */, Append };

    File() = default;
    ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;

    bool Open(std::string_view path, Mode mode);
    bool IsOpen() const;
    // Bytes read (0 at the end), or -1 on an error.
    std::ptrdiff_t Read(void* buffer, std::size_t size);
    // True when every byte was written.
    bool Write(const void* data, std::size_t size);
    std::optional<std::uint64_t> Size() const;
    // True when the handle was closed without an error (or was not open).
    bool Close();

  private:
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
};

// Whole-file helpers on top of File.
std::optional<std::string> ReadWholeFile(std::string_view path);
bool WriteWholeFile(std::string_view path, std::string_view bytes);

}  // namespace velmo::platform
