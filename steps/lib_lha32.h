// LibLha32: the binding to the archiver library, loaded by name once at start.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

namespace velmo::platform {
class Library;
}

namespace velmo::steps {

// The library's calling convention: stdcall on 32-bit Windows.
#if defined(_WIN32) && defined(__i386__)
#define VELMO_UNLHA_CALL __stdcall
#else
#define VELMO_UNLHA_CALL
#endif

// Failures of the binding: a library that cannot be loaded, an entry point it lacks.
class EUnlha32Error : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class LibLha32 {
  public:
    using GetVersionFn = std::uint16_t(VELMO_UNLHA_CALL*)();
    using GetRunningFn = int(VELMO_UNLHA_CALL*)();
    using SetCursorModeFn = int(VELMO_UNLHA_CALL*)(int cursorMode);
    using UnlhaFn = int(VELMO_UNLHA_CALL*)(void* window, const char* commandLine, char* output,
                                           std::uint32_t size);
    using CheckArchiveFn = int(VELMO_UNLHA_CALL*)(const char* fileName, int mode);
    using GetFileCountFn = int(VELMO_UNLHA_CALL*)(const char* archiveFile);

    // Every entry point the binding looks up, by its exported name.
    static const std::array<const char*, 40> kEntryPoints;

    // "UNLHA32.DLL" on Windows; on Linux "libunlha32.so" beside the executable.
    static std::string DefaultPath();
    // Loads the library and binds its entry points; throws EUnlha32Error with
    // "Unlha32 Module Not Loaded.(UNLHA32.DLL)" when it cannot be loaded.
    static std::unique_ptr<LibLha32> Load(const std::string& path = DefaultPath());

    // Binds through `lookup` (an entry point's address by name, nullptr when missing): the real
    // library's symbols, or stand-ins in tests.
    explicit LibLha32(const std::function<void*(const char*)>& lookup);
    ~LibLha32();
    LibLha32(const LibLha32&) = delete;
    LibLha32& operator=(const LibLha32&) = delete;

    // The entry points the program calls. One the library lacks is bound to a stand-by routine
    // that throws EUnlha32Error("Unlha32 Not Found function(<name without Unlha>)").
    GetVersionFn UnlhaGetVersion;
    GetRunningFn UnlhaGetRunning;
    SetCursorModeFn UnlhaSetCursorMode;
    UnlhaFn Unlha;
    CheckArchiveFn UnlhaCheckArchive;
    GetFileCountFn UnlhaGetFileCount;

    // Whether the library has the entry point; Require throws the stand-by text when it has not.
    bool Has(const char* name) const;
    void* Require(const char* name) const;

    // The stand-by routine's text for an entry point.
    static std::string NotFoundText(const std::string& name);

  private:
    std::array<void*, 40> bound_{};
    std::unique_ptr<platform::Library> library_;
};

}  // namespace velmo::steps
