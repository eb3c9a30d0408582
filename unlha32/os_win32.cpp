// The OS layer on Windows: the W functions on UTF-16 paths converted from code page 932.
#include <windows.h>

#include <atomic>
#include <cwchar>

#include "unlha32/names.h"
#include "unlha32/os.h"

namespace unlha32::os {
namespace {

constexpr std::int64_t kUnixEpochInFileTime = 116444736000000000LL;

std::wstring Wide(const std::string& path) {
    if (path.empty()) return std::wstring();
    int n = MultiByteToWideChar(932, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(932, 0, path.data(), static_cast<int>(path.size()), wide.data(), n);
    for (wchar_t& c : wide)
        if (c == L'/') c = L'\\';
    return wide;
}

bool Narrow(const wchar_t* wide, std::string& out) {
    BOOL lossy = FALSE;
    int len = static_cast<int>(std::wcslen(wide));
    int n = WideCharToMultiByte(932, 0, wide, len, nullptr, 0, nullptr, &lossy);
    out.assign(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(932, 0, wide, len, out.data(), n, nullptr, &lossy);
    return !lossy;
}

std::int64_t FileTimeToUnix(const FILETIME& ft) {
    std::int64_t t = (static_cast<std::int64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return (t - kUnixEpochInFileTime) / 10000000;
}

}  // namespace

File::~File() { Close(); }

bool File::Open(const std::string& path, Mode mode) {
    Close();
    DWORD access = mode == Mode::kRead ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    DWORD disposition = mode == Mode::kCreate ? CREATE_ALWAYS : OPEN_EXISTING;
    HANDLE h = CreateFileW(Wide(path).c_str(), access, FILE_SHARE_READ, nullptr, disposition,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    handle_ = h;
    return true;
}

bool File::IsOpen() const { return handle_ != nullptr; }

std::ptrdiff_t File::Read(void* buffer, std::size_t size) {
    DWORD got = 0;
    DWORD want = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    if (!ReadFile(handle_, buffer, want, &got, nullptr)) return -1;
    return static_cast<std::ptrdiff_t>(got);
}

bool File::Write(const void* data, std::size_t size) {
    auto p = static_cast<const char*>(data);
    while (size > 0) {
        DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        DWORD done = 0;
        if (!WriteFile(handle_, p, chunk, &done, nullptr) || done == 0) return false;
        p += done;
        size -= done;
    }
    return true;
}

bool File::Seek(std::uint64_t offset) {
    LARGE_INTEGER li;
    li.QuadPart = static_cast<LONGLONG>(offset);
    return SetFilePointerEx(handle_, li, nullptr, FILE_BEGIN) != 0;
}

std::optional<std::uint64_t> File::Size() {
    LARGE_INTEGER li;
    if (!GetFileSizeEx(handle_, &li)) return std::nullopt;
    return static_cast<std::uint64_t>(li.QuadPart);
}

bool File::Truncate(std::uint64_t size) { return Seek(size) && SetEndOfFile(handle_) != 0; }

bool File::Close() {
    if (!handle_) return true;
    BOOL ok = CloseHandle(handle_);
    handle_ = nullptr;
    return ok != 0;
}

Info Stat(const std::string& path) {
    Info info;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data)) return info;
    info.exists = true;
    info.isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    info.isLink = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    info.isHidden = (data.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
    info.size = info.isFolder
                    ? 0
                    : (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    info.mtime = FileTimeToUnix(data.ftLastWriteTime);
    info.attributes = static_cast<std::uint8_t>(data.dwFileAttributes & 0x37);
    return info;
}

std::optional<std::vector<FolderItem>> ListFolder(const std::string& path) {
    WIN32_FIND_DATAW data;
    HANDLE h = FindFirstFileW(Wide(JoinPath(path, "*")).c_str(), &data);
    if (h == INVALID_HANDLE_VALUE) {
        if (GetLastError() == ERROR_FILE_NOT_FOUND) return std::vector<FolderItem>();
        return std::nullopt;
    }
    std::vector<FolderItem> items;
    do {
        if (std::wcscmp(data.cFileName, L".") == 0 || std::wcscmp(data.cFileName, L"..") == 0)
            continue;
        FolderItem item;
        item.nameLossless = Narrow(data.cFileName, item.name);
        items.push_back(std::move(item));
    } while (FindNextFileW(h, &data));
    FindClose(h);
    return items;
}

bool MakeFolder(const std::string& path) {
    if (CreateDirectoryW(Wide(path).c_str(), nullptr)) return true;
    if (GetLastError() != ERROR_ALREADY_EXISTS) return false;
    Info info = Stat(path);
    return info.isFolder && !info.isLink;
}

bool RemoveFile(const std::string& path) {
    std::wstring wide = Wide(path);
    SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
    return DeleteFileW(wide.c_str()) != 0;
}

bool RemoveFolder(const std::string& path) { return RemoveDirectoryW(Wide(path).c_str()) != 0; }

bool RenameReplacing(const std::string& from, const std::string& to) {
    return MoveFileExW(Wide(from).c_str(), Wide(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED) != 0;
}

bool SetModificationTime(const std::string& path, std::int64_t mtime) {
    HANDLE h =
        CreateFileW(Wide(path).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    std::int64_t t = mtime * 10000000 + kUnixEpochInFileTime;
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(t);
    ft.dwHighDateTime = static_cast<DWORD>(t >> 32);
    BOOL ok = SetFileTime(h, nullptr, nullptr, &ft);
    CloseHandle(h);
    return ok != 0;
}

void SetAttributes(const std::string& path, std::uint8_t attributes) {
    DWORD keep = attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                               FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
    if (keep) SetFileAttributesW(Wide(path).c_str(), keep);
}

std::int64_t DosTimeToUnix(std::uint32_t dos) {
    FILETIME local, utc;
    if (!DosDateTimeToFileTime(static_cast<WORD>(dos >> 16), static_cast<WORD>(dos), &local))
        return 0;
    if (!LocalFileTimeToFileTime(&local, &utc)) return 0;
    return FileTimeToUnix(utc);
}

std::uint32_t UnixToDosTime(std::int64_t t) {
    std::int64_t v = t * 10000000 + kUnixEpochInFileTime;
    FILETIME utc, local;
    utc.dwLowDateTime = static_cast<DWORD>(v);
    utc.dwHighDateTime = static_cast<DWORD>(v >> 32);
    WORD date = 0, time = 0;
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToDosDateTime(&local, &date, &time))
        return (1u << 21) | (1u << 16);
    return (static_cast<std::uint32_t>(date) << 16) | time;
}

void LocalTime(std::int64_t t, int& year, int& month, int& day, int& hour, int& minute,
               int& second) {
    std::int64_t v = t * 10000000 + kUnixEpochInFileTime;
    FILETIME utc, local;
    utc.dwLowDateTime = static_cast<DWORD>(v);
    utc.dwHighDateTime = static_cast<DWORD>(v >> 32);
    SYSTEMTIME st{};
    FileTimeToLocalFileTime(&utc, &local);
    FileTimeToSystemTime(&local, &st);
    year = st.wYear;
    month = st.wMonth;
    day = st.wDay;
    hour = st.wHour;
    minute = st.wMinute;
    second = st.wSecond;
}

std::string TemporaryName(const std::string& folder) {
    static std::atomic<unsigned> counter{0};
    return JoinPath(folder, "lha" + std::to_string(GetCurrentProcessId()) + "_" +
                                std::to_string(counter++) + ".tmp");
}

bool IsDeviceName(const std::string& part) {
    std::string stem = ToUpperAscii(part.substr(0, part.find('.')));
    while (!stem.empty() && stem.back() == ' ') stem.pop_back();
    static const char* const kNames[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (const char* n : kNames)
        if (stem == n) return true;
    if (stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) &&
        stem[3] >= '0' && stem[3] <= '9')
        return true;
    return false;
}

}  // namespace unlha32::os
