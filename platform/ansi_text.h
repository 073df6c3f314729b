#pragma once
// The platform layer's text: 8-bit text in the system's ANSI code page,
// binary-safe. The runtime above names the same type AnsiString and adds its
// helpers (core/ansistring.h).

#include <string>

using AnsiString = std::string;
