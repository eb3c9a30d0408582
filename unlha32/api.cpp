// The exported entry points: one command at a time, C++ failures never cross the boundary.
#include <atomic>
#include <new>

#include "unlha32/archive.h"
#include "unlha32/command.h"
#include "unlha32/unlha32.h"

namespace {

std::atomic<bool> running{false};
std::atomic<bool> cursorMode{true};

// Holds the running flag for one call; a second caller gets false.
class RunningScope {
  public:
    RunningScope() : owned_(!running.exchange(true)) {}
    ~RunningScope() {
        if (owned_) running = false;
    }
    bool owned() const { return owned_; }

  private:
    bool owned_;
};

}  // namespace

extern "C" {

UNLHA_EXPORT int UNLHA_CALL Unlha(void*, const char* commandLine, char* output,
                                  std::uint32_t size) {
    unlha32::Report report;
    int result;
    {
        RunningScope scope;
        if (!scope.owned()) {
            report.Line("ほかの処理を実行中です");
            result = unlha32::kAlreadyRunning;
        } else {
            try {
                unlha32::Request request =
                    unlha32::ParseCommandLine(commandLine ? commandLine : "");
                result = unlha32::Run(request, report);
            } catch (const unlha32::Failure& f) {
                report.Line(std::string("コマンド行が正しくありません：") + f.what());
                result = f.code();
            } catch (const std::bad_alloc&) {
                result = unlha32::kOutOfMemory;
            } catch (...) {
                result = unlha32::kDataBroken;
            }
        }
    }
    try {
        report.CopyTo(output, size);
    } catch (...) {
    }
    return result;
}

UNLHA_EXPORT std::uint16_t UNLHA_CALL UnlhaGetVersion(void) { return unlha32::kVersion; }

UNLHA_EXPORT int UNLHA_CALL UnlhaGetRunning(void) { return running ? 1 : 0; }

UNLHA_EXPORT int UNLHA_CALL UnlhaSetCursorMode(int mode) {
    cursorMode = mode != 0;
    return 1;
}

UNLHA_EXPORT int UNLHA_CALL UnlhaCheckArchive(const char* fileName, int mode) {
    if (!fileName) return 0;
    try {
        return unlha32::CheckArchive(fileName, (mode & 2) != 0) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

UNLHA_EXPORT int UNLHA_CALL UnlhaGetFileCount(const char* archiveFile) {
    if (!archiveFile) return -1;
    try {
        return unlha32::CountEntries(archiveFile);
    } catch (...) {
        return -1;
    }
}
}
