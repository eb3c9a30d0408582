// velmo.exe: the Windows entry point.
#include <windows.h>

#include "app/win32/startup.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return velmo::app::StartProgram(); }
