// What one command line asks for: the command, the archive, the base folder, patterns, switches.
#pragma once

#include <string>
#include <vector>

#include "unlha32/codec.h"

namespace unlha32 {

struct Request {
    char command = 0;                   // upper-case command letter
    std::string archive;                // CP932 path
    std::string baseFolder;             // with its final separator, or empty for the current folder
    std::vector<std::string> patterns;  // empty, "" and "*.*" all mean every file
    std::string workFolder;  // -w: where a new archive is built before it replaces the old

    Method method = Method::kLh5;  // -jm0 lh0, -jm2 lh5, -jm3 lh6, -jm4 lh7; -jm1 is refused
    bool lh1Requested = false;
    bool allAttributes = false;  // -a1: hidden and system files too
    bool withPaths = false;      // -x1: folder parts of names are stored and restored
    int recurse = 0;             // -r1: into sub-folders; -r2: sub-folders kept as entries too
    int nameCheck = 0;           // -p0 name part, -p1 whole path, -p2 a folder and all under it
    int logDetail = 0;           // -l0 names, -l1 paths, -l2 paths with sizes and method
    bool overwrite = false;      // -jy with "o": existing files are replaced without asking
    bool checkTime = true;       // -c1 turns the time stamp comparison off
    int update = 1;              // -u0 keep what exists, -u1 replace older, -u2 replace always
    int nameCase = 0;            // -i1 upper case, -i2 lower case for stored names
};

// Parses a command line; throws Failure(kBadCommandLine) with the reason.
Request ParseCommandLine(const std::string& line);

}  // namespace unlha32
