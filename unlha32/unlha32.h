// The archiver entry points this library exports, by their plain names.
#pragma once

#include <cstdint>

#if defined(_WIN32) && defined(__i386__)
#define UNLHA_CALL __stdcall
#else
#define UNLHA_CALL
#endif

#ifdef _WIN32
#ifdef UNLHA32_BUILDING
#define UNLHA_EXPORT __declspec(dllexport)
#else
#define UNLHA_EXPORT __declspec(dllimport)
#endif
#else
#define UNLHA_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {

// Runs one command line; the output buffer receives the report lines (LF-ended, zero-terminated).
// Returns 0 on success, otherwise one of the codes in errors.h.
UNLHA_EXPORT int UNLHA_CALL Unlha(void* ownerWindow, const char* commandLine, char* output,
                                  std::uint32_t size);
// The version in hundredths.
UNLHA_EXPORT std::uint16_t UNLHA_CALL UnlhaGetVersion(void);
// Whether a command is running now.
UNLHA_EXPORT int UNLHA_CALL UnlhaGetRunning(void);
// Kept for callers that ask for a busy cursor; this library has no window to show one on.
UNLHA_EXPORT int UNLHA_CALL UnlhaSetCursorMode(int cursorMode);
// Non-zero when the file reads as an archive; a mode with bit 1 (2) set checks every entry's data.
UNLHA_EXPORT int UNLHA_CALL UnlhaCheckArchive(const char* fileName, int mode);
// The number of entries, or -1.
UNLHA_EXPORT int UNLHA_CALL UnlhaGetFileCount(const char* archiveFile);
}

namespace unlha32 {
constexpr std::uint16_t kVersion = 101;  // 1.01
}
