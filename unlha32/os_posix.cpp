// The OS layer on Linux: POSIX calls on UTF-8 paths converted from CP932 with iconv.
#include <dirent.h>
#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <ctime>

#include "unlha32/names.h"
#include "unlha32/os.h"

namespace unlha32::os {
namespace {

// Converts with iconv; false when some sequence has no exact counterpart (it becomes `bad`).
bool Convert(const char* to, const char* from, const std::string& in, std::string& out,
             const char* bad, bool fromCp932) {
    out.clear();
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        out = in;
        return false;
    }
    bool exact = true;
    char buffer[512];
    char* src = const_cast<char*>(in.data());
    std::size_t left = in.size();
    while (left > 0) {
        char* dst = buffer;
        std::size_t room = sizeof buffer;
        std::size_t rc = iconv(cd, &src, &left, &dst, &room);
        out.append(buffer, static_cast<std::size_t>(dst - buffer));
        if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
            exact = false;
            out.append(bad);
            unsigned char lead = static_cast<unsigned char>(*src);
            std::size_t skip = 1;
            if (fromCp932) {
                skip = ((lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC)) ? 2 : 1;
            } else if (lead >= 0xC2) {
                skip = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
            }
            if (skip > left) skip = left;
            src += skip;
            left -= skip;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return exact;
}

std::string Native(const std::string& path) {
    std::string utf8;
    Convert("UTF-8", "CP932", path, utf8, "\xEF\xBF\xBD", true);
    for (char& c : utf8)
        if (c == '\\') c = '/';
    return utf8;
}

}  // namespace

File::~File() { Close(); }

bool File::Open(const std::string& path, Mode mode) {
    Close();
    int flags = mode == Mode::kRead     ? O_RDONLY
                : mode == Mode::kCreate ? O_RDWR | O_CREAT | O_TRUNC
                                        : O_RDWR;
    fd_ = ::open(Native(path).c_str(), flags | O_CLOEXEC, 0666);
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
    for (;;) {
        ssize_t n = ::read(fd_, buffer, size);
        if (n >= 0 || errno != EINTR) return n;
    }
}

bool File::Write(const void* data, std::size_t size) {
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

bool File::Seek(std::uint64_t offset) {
    return ::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) == static_cast<off_t>(offset);
}

std::optional<std::uint64_t> File::Size() {
    struct stat st;
    if (::fstat(fd_, &st) != 0) return std::nullopt;
    return static_cast<std::uint64_t>(st.st_size);
}

bool File::Truncate(std::uint64_t size) { return ::ftruncate(fd_, static_cast<off_t>(size)) == 0; }

bool File::Close() {
    if (fd_ < 0) return true;
    int rc = ::close(fd_);
    fd_ = -1;
    return rc == 0;
}

Info Stat(const std::string& path) {
    Info info;
    struct stat st;
    std::string native = Native(path);
    if (::lstat(native.c_str(), &st) != 0) return info;
    info.exists = true;
    info.isLink = S_ISLNK(st.st_mode);
    info.isFolder = S_ISDIR(st.st_mode);
    info.size = S_ISREG(st.st_mode) ? static_cast<std::uint64_t>(st.st_size) : 0;
    info.mtime = st.st_mtim.tv_sec;
    info.attributes = info.isFolder ? 0x10 : 0x20;
    if (!(st.st_mode & S_IWUSR)) info.attributes |= 0x01;
    return info;
}

std::optional<std::vector<FolderItem>> ListFolder(const std::string& path) {
    DIR* dir = ::opendir(Native(path).c_str());
    if (!dir) return std::nullopt;
    std::vector<FolderItem> items;
    while (dirent* d = ::readdir(dir)) {
        if (std::strcmp(d->d_name, ".") == 0 || std::strcmp(d->d_name, "..") == 0) continue;
        FolderItem item;
        item.nameLossless = Convert("CP932", "UTF-8", d->d_name, item.name, "?", false);
        items.push_back(std::move(item));
    }
    ::closedir(dir);
    return items;
}

bool MakeFolder(const std::string& path) {
    if (::mkdir(Native(path).c_str(), 0777) == 0) return true;
    if (errno != EEXIST) return false;
    Info info = Stat(path);
    return info.isFolder && !info.isLink;
}

bool RemoveFile(const std::string& path) { return ::unlink(Native(path).c_str()) == 0; }
bool RemoveFolder(const std::string& path) { return ::rmdir(Native(path).c_str()) == 0; }

bool RenameReplacing(const std::string& from, const std::string& to) {
    return ::rename(Native(from).c_str(), Native(to).c_str()) == 0;
}

bool SetModificationTime(const std::string& path, std::int64_t mtime) {
    timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = static_cast<time_t>(mtime);
    times[1].tv_nsec = 0;
    return ::utimensat(AT_FDCWD, Native(path).c_str(), times, AT_SYMLINK_NOFOLLOW) == 0;
}

void SetAttributes(const std::string&, std::uint8_t) {}

std::int64_t DosTimeToUnix(std::uint32_t dos) {
    std::tm tm{};
    tm.tm_year = static_cast<int>((dos >> 25) & 0x7F) + 80;
    tm.tm_mon = static_cast<int>((dos >> 21) & 0x0F) - 1;
    tm.tm_mday = static_cast<int>((dos >> 16) & 0x1F);
    tm.tm_hour = static_cast<int>((dos >> 11) & 0x1F);
    tm.tm_min = static_cast<int>((dos >> 5) & 0x3F);
    tm.tm_sec = static_cast<int>(dos & 0x1F) * 2;
    tm.tm_isdst = -1;
    std::time_t t = std::mktime(&tm);
    return t == static_cast<std::time_t>(-1) ? 0 : static_cast<std::int64_t>(t);
}

std::uint32_t UnixToDosTime(std::int64_t t) {
    int y, mo, d, h, mi, s;
    LocalTime(t, y, mo, d, h, mi, s);
    if (y < 1980) return (1u << 21) | (1u << 16);
    return (static_cast<std::uint32_t>(y - 1980) << 25) | (static_cast<std::uint32_t>(mo) << 21) |
           (static_cast<std::uint32_t>(d) << 16) | (static_cast<std::uint32_t>(h) << 11) |
           (static_cast<std::uint32_t>(mi) << 5) | static_cast<std::uint32_t>(s / 2);
}

void LocalTime(std::int64_t t, int& year, int& month, int& day, int& hour, int& minute,
               int& second) {
    std::time_t tt = static_cast<std::time_t>(t);
    std::tm tm{};
    localtime_r(&tt, &tm);
    year = tm.tm_year + 1900;
    month = tm.tm_mon + 1;
    day = tm.tm_mday;
    hour = tm.tm_hour;
    minute = tm.tm_min;
    second = tm.tm_sec;
}

std::string TemporaryName(const std::string& folder) {
    static std::atomic<unsigned> counter{0};
    return JoinPath(folder,
                    "lha" + std::to_string(::getpid()) + "_" + std::to_string(counter++) + ".tmp");
}

bool IsDeviceName(const std::string&) { return false; }

}  // namespace unlha32::os
