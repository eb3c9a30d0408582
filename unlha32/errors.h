// Result codes of the archiver entry points and the exception that carries one inside the library.
#pragma once

#include <stdexcept>
#include <string>

namespace unlha32 {

// Every non-zero result names one kind of failure; callers may tell them apart.
enum Result : int {
    kOk = 0,
    kBadCommandLine = 0x8101,      // unknown command or switch, missing archive name
    kUnsupportedCommand = 0x8102,  // a command this library does not carry out
    kArchiveNotFound = 0x8103,     // the archive to read does not exist
    kNotArchive = 0x8104,          // the file is not an LHA archive or cannot be read as one
    kHeaderBroken = 0x8105,        // a header is truncated or inconsistent
    kHeaderCrc = 0x8106,           // a header's own CRC does not match
    kCrcError = 0x8107,            // an entry's data does not match its CRC-16
    kUnsupportedMethod = 0x8108,   // a method this library cannot read or write
    kDataBroken = 0x8109,          // compressed data that cannot be decoded
    kReadError = 0x810A,           // a file to pack cannot be opened or read
    kWriteError = 0x810B,          // a file or the archive cannot be written
    kMakeFolderError = 0x810C,     // a folder cannot be created
    kUnsafeName = 0x810D,          // an entry whose name would leave the base folder
    kNoMatch = 0x810E,             // nothing matched the patterns
    kAlreadyRunning = 0x810F,      // another call is in progress
    kTooLarge = 0x8110,            // a file of 4 GiB or more
    kOutOfMemory = 0x8111,
    kSkipped = 0x8112,  // an entry was refused or skipped for another reason
};

class Failure : public std::runtime_error {
  public:
    Failure(Result code, const std::string& message) : std::runtime_error(message), code_(code) {}
    Result code() const { return code_; }

  private:
    Result code_;
};

}  // namespace unlha32
