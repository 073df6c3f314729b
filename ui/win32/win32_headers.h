#pragma once
// The Windows headers for the Win32 back-end. The back-end calls the wide
// forms of the Windows functions by their full names. The short macros that
// pick the ANSI or wide form are removed where they match names of the
// widget interface (TWidgetBackend::MessageBox, TGridCanvas::TextOut), which
// they would otherwise rename in this back-end's files only.
#include <windows.h>

// After windows.h, which they need.
#include <commctrl.h>
#include <shellapi.h>

#undef MessageBox
#undef TextOut
#undef DrawText
#undef CreateWindow
#undef CreateFont
