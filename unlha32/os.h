// The library's own small OS layer: files and folders on CP932 paths with "\" separators.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace unlha32::os {

// Paths are CP932 with "\" (or "/") between parts. On Linux they become UTF-8 through iconv and
// "\" turns into "/" only after that, since 0x5C is also the second byte of many characters.
class File {
  public:
    enum class Mode { kRead, kCreate, kUpdate };

    File() = default;
    ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    bool Open(const std::string& path, Mode mode);
    bool IsOpen() const;
    // Bytes read, 0 at the end, -1 on an error.
    std::ptrdiff_t Read(void* buffer, std::size_t size);
    bool Write(const void* data, std::size_t size);
    bool Seek(std::uint64_t offset);
    std::optional<std::uint64_t> Size();
    bool Truncate(std::uint64_t size);
    bool Close();

  private:
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
};

struct Info {
    bool exists = false;
    bool isFolder = false;
    bool isLink = false;    // a symbolic link (or junction), not followed
    bool isHidden = false;  // hidden or system on Windows; nothing is on Linux
    std::uint64_t size = 0;
    std::int64_t mtime = 0;          // seconds since 1970 UTC
    std::uint8_t attributes = 0x20;  // MS-DOS attribute bits
};
Info Stat(const std::string& path);

struct FolderItem {
    std::string name;   // CP932
    bool nameLossless;  // false when the OS name has no exact CP932 spelling
};
std::optional<std::vector<FolderItem>> ListFolder(const std::string& path);

bool MakeFolder(const std::string& path);  // one level; true when it exists afterwards
bool RemoveFile(const std::string& path);
bool RemoveFolder(const std::string& path);
bool RenameReplacing(const std::string& from, const std::string& to);
bool SetModificationTime(const std::string& path, std::int64_t mtime);
void SetAttributes(const std::string& path, std::uint8_t attributes);  // Windows only

// MS-DOS time stamps are local time.
std::int64_t DosTimeToUnix(std::uint32_t dos);
std::uint32_t UnixToDosTime(std::int64_t t);
void LocalTime(std::int64_t t, int& year, int& month, int& day, int& hour, int& minute,
               int& second);

// A name for a temporary file in the folder that no other process or call is using.
std::string TemporaryName(const std::string& folder);
// Whether the name is one Windows reserves for a device (CON, NUL, COM1 and so on).
bool IsDeviceName(const std::string& part);

}  // namespace unlha32::os
