// A command-line front for the benchmark: runs one archiver command line through the library
// code (the same code the DLL exports) and prints the wall time it took, in seconds.
#include <chrono>
#include <cstdio>
#include <string>

#include "unlha32/archive.h"
#include "unlha32/command.h"

int main(int argc, char** argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) line += (i > 1 ? " " : "") + std::string(argv[i]);
    auto start = std::chrono::steady_clock::now();
    unlha32::Report report;
    unlha32::Result result;
    try {
        result = unlha32::Run(unlha32::ParseCommandLine(line), report);
    } catch (const unlha32::Failure& f) {
        std::fprintf(stderr, "%s\n", f.what());
        return 2;
    }
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (result != 0) {
        std::fprintf(stderr, "result %x\n%s", result, report.text().c_str());
        return 1;
    }
    std::printf("%.3f\n", seconds);
    return 0;
}
