#pragma once
// 8-bit text in the system's ANSI code page. std::string is binary-safe, so a
// text may hold any byte, zero included. Helpers that take positions use the
// 1-based rules of the classic runtime; everything else is 0-based.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/ansi_text.h"

// 1-based position of the first occurrence of sub in s, 0 when absent or when
// sub is empty.
int Pos(std::string_view sub, std::string_view s);

// Characters of s from 1-based position index on, at most count of them.
// An index below 1 counts as 1; a position past the end or a negative count
// gives the empty text.
AnsiString Copy(std::string_view s, int index, int count);

// Removes count characters from 1-based position index; nothing happens for
// an index outside the text or a count of 0 or less.
void Delete(AnsiString& s, int index, int count);

// ASCII-only case mapping, as the runtime's UpperCase/LowerCase do.
AnsiString UpperCase(std::string_view s);
AnsiString LowerCase(std::string_view s);
bool SameText(std::string_view a, std::string_view b);  // ASCII case-insensitive

// Blanks and control characters (bytes <= 32) off both ends, or one end.
AnsiString Trim(std::string_view s);
AnsiString TrimLeft(std::string_view s);
AnsiString TrimRight(std::string_view s);

AnsiString IntToStr(int64_t value);
// Upper-case hexadecimal with at least digits digits.
AnsiString IntToHex(uint64_t value, int digits);

bool StartsText(std::string_view prefix, std::string_view s);  // ASCII case-insensitive
