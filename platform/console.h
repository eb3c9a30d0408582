// The terminal of the headless front end: output in the terminal's encoding, bell, Ctrl+C.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velmo::platform {

enum class Stream { Out, Err };

// Writes CP932 text: converted to UTF-8 on Linux; on Windows wide text to a console, the
// bytes as they are to a file or pipe.
void WriteText(Stream stream, std::string_view cp932);
bool IsTerminal(Stream stream);
void Bell();

// Ctrl+C (SIGINT, or the console's control events) calls `onInterrupt` instead of ending the
// process; it runs on a signal handler or another thread, so it must only set a flag.
void OnInterrupt(void (*onInterrupt)());

// The program's arguments after its own name, as CP932 text.
std::vector<std::string> ProgramArguments(int argc, char** argv);

}  // namespace velmo::platform
