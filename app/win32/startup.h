// The program's start: the archiver binding, one copy per program file, the windows, the loop.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace velmo::app {

// The application title: it picks the send mode, and a running copy is found by it.
inline constexpr std::string_view kApplicationTitle = "データ送信";

// The whole program; its result is the process's exit code.
int StartProgram();

// A running copy's window of that text: brought to the foreground and, when minimised,
// restored. False when there is none (the marker was left by a copy that died).
bool ActivateRunningCopy(std::string_view windowText);

// The program file's name without its folder: the single-instance marker's name.
std::wstring ProgramFileName();
// The command line's arguments after the program's name, as CP932 text.
std::vector<std::string> ProgramArguments();

}  // namespace velmo::app
