// File-system services on Linux: POSIX calls on UTF-8 paths.
#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/text.h"

namespace velmo::platform {
namespace {

constexpr std::int64_t kUnixEpochInFileTime = 116444736000000000LL;

// Native "/" paths back into the program's "\" CP932 form.
std::string FromNativePath(const std::string& native) {
    std::string path = Utf8ToCp932(native);
    for (char& c : path)
        if (c == '/') c = '\\';  // 0x2F is never a trail byte
    return path;
}

bool StatPath(std::string_view path, struct stat& st) {
    return ::stat(ToNativePath(path).c_str(), &st) == 0;
}

}  // namespace

NativePath ToNativePath(std::string_view path) {
    std::string native = Cp932ToUtf8(path);
    for (char& c : native)
        if (c == '\\') c = '/';
    return native;
}

bool FileExists(std::string_view path) {
    struct stat st;
    return StatPath(path, st) && S_ISREG(st.st_mode);
}

bool FolderExists(std::string_view path) {
    struct stat st;
    return StatPath(path, st) && S_ISDIR(st.st_mode);
}

bool RemoveFile(std::string_view path) { return ::unlink(ToNativePath(path).c_str()) == 0; }

bool RemoveFolder(std::string_view path) { return ::rmdir(ToNativePath(path).c_str()) == 0; }

bool MakeFolder(std::string_view path) {
    if (::mkdir(ToNativePath(path).c_str(), 0777) == 0) return true;
    return errno == EEXIST && FolderExists(path);
}

bool MakeFolders(std::string_view path) {
    NativePath native = ToNativePath(path);
    for (std::size_t i = 1; i <= native.size(); ++i) {
        if (i == native.size() || native[i] == '/') {
            std::string part = native.substr(0, i);
            if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) return false;
        }
    }
    return FolderExists(path);
}

std::optional<std::vector<FolderEntry>> ListFolder(std::string_view folder) {
    NativePath native = ToNativePath(folder);
    DIR* dir = ::opendir(native.c_str());
    if (!dir) return std::nullopt;
    std::vector<FolderEntry> entries;
    while (dirent* d = ::readdir(dir)) {
        if (std::strcmp(d->d_name, ".") == 0 || std::strcmp(d->d_name, "..") == 0) continue;
        FolderEntry entry;
        entry.name = Utf8ToCp932(d->d_name);
        struct stat st;
        if (::fstatat(dirfd(dir), d->d_name, &st, 0) == 0) {
            entry.isFolder = S_ISDIR(st.st_mode);
            entry.size = S_ISREG(st.st_mode) ? static_cast<std::uint64_t>(st.st_size) : 0;
        }
        entries.push_back(std::move(entry));
    }
    ::closedir(dir);
    return entries;
}

std::optional<FileTime> LastWriteTime(std::string_view path) {
    struct stat st;
    if (!StatPath(path, st)) return std::nullopt;
    return kUnixEpochInFileTime + static_cast<std::int64_t>(st.st_mtim.tv_sec) * 10000000 +
           st.st_mtim.tv_nsec / 100;
}

bool SetLastWriteTime(std::string_view path, FileTime time) {
    std::int64_t since = time - kUnixEpochInFileTime;
    std::int64_t sec = since / 10000000, rest = since % 10000000;
    if (rest < 0) {
        rest += 10000000;
        --sec;
    }
    timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = static_cast<time_t>(sec);
    times[1].tv_nsec = static_cast<long>(rest * 100);
    return ::utimensat(AT_FDCWD, ToNativePath(path).c_str(), times, 0) == 0;
}

std::string FullPath(std::string_view path) {
    if (!path.empty() && (path[0] == '\\' || path[0] == '/')) return std::string(path);
    char cwd[PATH_MAX];
    if (!::getcwd(cwd, sizeof cwd)) return std::string(path);
    return JoinPath(FromNativePath(cwd), path);
}

std::string ProgramFolder() {
    char buffer[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return FullPath(".");
    std::string exe(buffer, static_cast<std::size_t>(n));
    std::string folder = exe.substr(0, exe.find_last_of('/'));
    return FromNativePath(folder.empty() ? "/" : folder);
}

File::~File() { Close(); }

File::File(File&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

bool File::Open(std::string_view path, Mode mode) {
    Close();
    int flags = O_RDONLY;
    if (mode == Mode::Write) flags = O_WRONLY | O_CREAT | O_TRUNC;
    if (mode == Mode::Append) flags = O_WRONLY | O_CREAT | O_APPEND;
    NativePath native = ToNativePath(path);
    fd_ = ::open(native.c_str(), flags | O_CLOEXEC, 0666);
    if (fd_ >= 0) {
        struct stat st;
        if (::fstat(fd_, &st) != 0 || S_ISDIR(st.st_mode)) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    return fd_ >= 0;
}

bool File::IsOpen() const { return fd_ >= 0; }

std::ptrdiff_t File::Read(void* buffer, std::size_t size) {
    if (fd_ < 0) return -1;
    for (;;) {
        ssize_t n = ::read(fd_, buffer, size);
        if (n >= 0 || errno != EINTR) return n;
    }
}

bool File::Write(const void* data, std::size_t size) {
    if (fd_ < 0) return false;
    auto p = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t n = ::write(fd_, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

std::optional<std::uint64_t> File::Size() const {
    struct stat st;
    if (fd_ < 0 || ::fstat(fd_, &st) != 0) return std::nullopt;
    return static_cast<std::uint64_t>(st.st_size);
}

bool File::Close() {
    if (fd_ < 0) return true;
    int rc = ::close(fd_);
    fd_ = -1;
    return rc == 0;
}

}  // namespace velmo::platform
