// The terminal on Linux.
#include "platform/console.h"

#include <signal.h>
#include <unistd.h>

#include <string>

#include "platform/text.h"

namespace velmo::platform {
namespace {

void (*interruptHandler)() = nullptr;

extern "C" void HandleSigint(int) {
    if (interruptHandler) interruptHandler();
}

int Fd(Stream stream) { return stream == Stream::Out ? STDOUT_FILENO : STDERR_FILENO; }

}  // namespace

void WriteText(Stream stream, std::string_view cp932) {
    std::string text = Cp932ToUtf8(cp932);
    const char* p = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        ssize_t n = ::write(Fd(stream), p, left);
        if (n <= 0) return;  // a closed pipe: nobody is reading
        p += n;
        left -= static_cast<std::size_t>(n);
    }
}

bool IsTerminal(Stream stream) { return ::isatty(Fd(stream)) == 1; }

void Bell() {
    if (IsTerminal(Stream::Out)) WriteText(Stream::Out, "\a");
}

void OnInterrupt(void (*onInterrupt)()) {
    interruptHandler = onInterrupt;
    struct sigaction action {};
    action.sa_handler = HandleSigint;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(Utf8ToCp932(argv[i]));
    return args;
}

}  // namespace velmo::platform
