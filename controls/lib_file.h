// File copy with a progress display, for destinations the machine reaches as a folder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace velmo::controls {

// A file that cannot be opened or created; the message names it.
class EFCant : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

constexpr std::size_t kCopyBlockSize = 8192;
// The label's text before the first block.
constexpr char kCopyPreparing[] = "準備中";

// What a copy shows while it runs: the copy window on Windows, nothing in a headless run.
class CopyProgress {
  public:
    virtual ~CopyProgress() = default;
    // Shown at the start: empty caption, bar from 0 to 0, label kCopyPreparing.
    virtual void Show() {}
    virtual void SetCaption(const std::string&) {}
    virtual void SetMaximum(std::int64_t) {}
    // The bar at `copied`, the label "nKB / mKB".
    virtual void Update(std::int64_t /*copied*/, const std::string& /*label*/) {}
    // Lets the application handle its pending messages.
    virtual void ProcessMessages() {}
    // Gone at the end, whatever happened.
    virtual void Close() {}
};

// Copies `source` into the folder `destination` under its own name, in blocks of 8192 bytes,
// refreshing the display once per percent. When `destination` is not an existing folder it is
// taken as the start of the new file's full name. The copy gets the source's last-write time.
// 0 when every block was written in full, -1 when a write fell short (the partial copy stays).
// Throws EFCant when the source cannot be opened or the copy cannot be created.
std::int32_t CopyFileWithProgress(const std::string& source, const std::string& destination,
                                  CopyProgress* progress = nullptr);

}  // namespace velmo::controls
