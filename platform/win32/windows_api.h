#pragma once

// The Windows headers for the platform layer's implementation files. Windows
// defines several of its functions as macros that pick the A or W form, and
// some of those names are also the platform layer's own function names; left
// defined, they would rename our definitions so that callers, which never see
// windows.h, could not link against them. The code here always calls the A
// forms by their full names, so the short macros are removed.
#include <windows.h>

#undef CopyFile
#undef DeleteFile
#undef GetCurrentDirectory
#undef GetSystemDirectory
#undef OemToAnsi
#undef CreateDirectory
#undef RemoveDirectory
#undef MoveFile
#undef GetFileAttributes
#undef SetFileAttributes
#undef RegCreateKeyEx
#undef RegOpenKeyEx
#undef RegSetValueEx
#undef RegQueryValueEx
