// File-system services on Windows: the W functions on UTF-16 paths converted from CP932.
#include "platform/files.h"

#include <windows.h>

#include "platform/text.h"

namespace velmo::platform {
namespace {

DWORD Attributes(std::string_view path) { return GetFileAttributesW(ToNativePath(path).c_str()); }

}  // namespace

NativePath ToNativePath(std::string_view path) { return Cp932ToWide(path); }

bool FileExists(std::string_view path) {
    DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(std::string_view path) {
    DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool RemoveFile(std::string_view path) { return DeleteFileW(ToNativePath(path).c_str()) != 0; }

bool RemoveFolder(std::string_view path) {
    return RemoveDirectoryW(ToNativePath(path).c_str()) != 0;
}

bool MakeFolder(std::string_view path) {
    if (CreateDirectoryW(ToNativePath(path).c_str(), nullptr)) return true;
    return GetLastError() == ERROR_ALREADY_EXISTS && FolderExists(path);
}

bool MakeFolders(std::string_view path) {
    std::wstring native = ToNativePath(path);
    for (std::size_t i = 1; i <= native.size(); ++i) {
        if (i == native.size() || native[i] == L'\\' || native[i] == L'/') {
            std::wstring part = native.substr(0, i);
            if (part.size() == 2 && part[1] == L':') continue;  // a bare drive
            if (!CreateDirectoryW(part.c_str(), nullptr) &&
                GetLastError() != ERROR_ALREADY_EXISTS && GetLastError() != ERROR_ACCESS_DENIED)
                return false;
        }
    }
    return FolderExists(path);
}

std::optional<std::vector<FolderEntry>> ListFolder(std::string_view folder) {
    std::wstring pattern = ToNativePath(JoinPath(folder, "*"));
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        if (GetLastError() == ERROR_FILE_NOT_FOUND && FolderExists(folder))
            return std::vector<FolderEntry>{};
        return std::nullopt;
    }
    std::vector<FolderEntry> entries;
    do {
        std::wstring_view name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        FolderEntry entry;
        entry.name = WideToCp932(name);
        entry.isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry.size = entry.isFolder ? 0
                                    : (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) |
                                          data.nFileSizeLow;
        entries.push_back(std::move(entry));
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return entries;
}

std::optional<FileTime> LastWriteTime(std::string_view path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(ToNativePath(path).c_str(), GetFileExInfoStandard, &data))
        return std::nullopt;
    return (static_cast<std::int64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
           data.ftLastWriteTime.dwLowDateTime;
}

bool SetLastWriteTime(std::string_view path, FileTime time) {
    HANDLE h = CreateFileW(ToNativePath(path).c_str(), FILE_WRITE_ATTRIBUTES,
                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(time);
    ft.dwHighDateTime = static_cast<DWORD>(static_cast<std::uint64_t>(time) >> 32);
    BOOL ok = SetFileTime(h, nullptr, nullptr, &ft);
    CloseHandle(h);
    return ok != 0;
}

std::string FullPath(std::string_view path) {
    std::wstring native = ToNativePath(path);
    DWORD n = GetFullPathNameW(native.c_str(), 0, nullptr, nullptr);
    if (n == 0) return std::string(path);
    std::wstring full(n, L'\0');
    n = GetFullPathNameW(native.c_str(), n, full.data(), nullptr);
    full.resize(n);
    return WideToCp932(full);
}

std::string ProgramFolder() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return FullPath(".");
        if (n < buffer.size()) {
            buffer.resize(n);
            break;
        }
        buffer.resize(buffer.size() * 2);
    }
    return WideToCp932(buffer.substr(0, buffer.find_last_of(L'\\')));
}

File::~File() { Close(); }

File::File(File&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        Close();
        handle_ = other.handle_;
        other.handle_ = nullptr;
    }
    return *this;
}

bool File::Open(std::string_view path, Mode mode) {
    Close();
    DWORD access = mode == Mode::Read ? GENERIC_READ : GENERIC_WRITE;
    DWORD disposition = mode == Mode::Read    ? OPEN_EXISTING
                        : mode == Mode::Write ? CREATE_ALWAYS
                                              : OPEN_ALWAYS;
    HANDLE h = CreateFileW(ToNativePath(path).c_str(), access, FILE_SHARE_READ, nullptr,
                           disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    if (mode == Mode::Append) SetFilePointer(h, 0, nullptr, FILE_END);
    handle_ = h;
    return true;
}

bool File::IsOpen() const { return handle_ != nullptr; }

std::ptrdiff_t File::Read(void* buffer, std::size_t size) {
    if (!handle_) return -1;
    DWORD got = 0;
    DWORD want = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    if (!ReadFile(static_cast<HANDLE>(handle_), buffer, want, &got, nullptr)) return -1;
    return static_cast<std::ptrdiff_t>(got);
}

bool File::Write(const void* data, std::size_t size) {
    if (!handle_) return false;
    auto p = static_cast<const char*>(data);
    while (size > 0) {
        DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        DWORD done = 0;
        if (!WriteFile(static_cast<HANDLE>(handle_), p, chunk, &done, nullptr) || done == 0)
            return false;
        p += done;
        size -= done;
    }
    return true;
}

std::optional<std::uint64_t> File::Size() const {
    LARGE_INTEGER size;
    if (!handle_ || !GetFileSizeEx(static_cast<HANDLE>(handle_), &size)) return std::nullopt;
    return static_cast<std::uint64_t>(size.QuadPart);
}

bool File::Close() {
    if (!handle_) return true;
    BOOL ok = CloseHandle(static_cast<HANDLE>(handle_));
    handle_ = nullptr;
    return ok != 0;
}

}  // namespace velmo::platform
