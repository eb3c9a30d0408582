// What the commands do to archives, with the lines they report.
#pragma once

#include <string>
#include <vector>

#include "unlha32/command.h"
#include "unlha32/errors.h"

namespace unlha32 {

// The lines a command reports, later copied into the caller's buffer.
class Report {
  public:
    void Line(const std::string& text) { text_ += text + "\n"; }
    const std::string& text() const { return text_; }
    // Copies as much as fits with a terminating zero, never cutting a double-byte character.
    void CopyTo(char* buffer, unsigned long size) const;

  private:
    std::string text_;
};

// Runs one parsed command; returns 0 or the first failure's code.
Result Run(const Request& request, Report& report);

// Whether the file reads as an archive; with `full` every entry's data is decoded and checked too.
bool CheckArchive(const std::string& path, bool full);
// The number of entries, -1 when the file cannot be read as an archive.
int CountEntries(const std::string& path);

}  // namespace unlha32
