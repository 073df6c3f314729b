#pragma once
// The updater's text operations; positions are 1-based.

#include "core/ansistring.h"

// Position of the first occurrence of t in s, or 0.
int FindText(std::string_view s, std::string_view t);
// The characters of s from position i on, at most n of them; empty when i is
// 0 or less, past the end of s, or n is negative.
AnsiString SliceText(std::string_view s, int i, int n);
// Deletes n characters of s from position i; n = 0 deletes nothing.
void CutText(AnsiString& s, int i, int n);
