#pragma once
// Text comparison and the wildcard matcher that select archive entries.

#include "core/ansistring.h"

// Whether name matches pattern: "*" stands for any run of characters, "?" for
// any one character, and every other character for itself (ignoring letter
// case by the ANSI code page when ignoreCase is set). The pattern "*.*"
// matches every name. When the name is used up, only an empty rest of the
// pattern or a rest of exactly one "*" matches.
bool IsStrMatchPattern(std::string_view name, std::string_view pattern, bool ignoreCase);

// Compares two whole texts ignoring letter case by the ANSI code page; 0
// means equal.
int AnsiPCompText(std::string_view a, std::string_view b);
