#pragma once
// The serial of the installed signed update: the value UpdateSerial in the
// product's machine-wide key, decimal text. A missing value, or one that is
// not a decimal number, counts as 0.

#include <cstdint>

#include "core/ansistring.h"

uint64_t InstalledUpdateSerial();

// Reads the value name of the product's machine-wide key
// (HKEY_LOCAL_MACHINE\SOFTWARE\Talvesk) with its type; false when the key or
// the value cannot be read.
bool ReadProductValue(const AnsiString& name, std::uint32_t& type, AnsiString& data);

// The serial that the value's bytes stand for: decimal digits, with any
// terminating zero bytes after them; anything else is 0.
uint64_t UpdateSerialFromValue(const AnsiString& data);
