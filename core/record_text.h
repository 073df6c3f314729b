#pragma once
// The quoting of texts in the one-line records that the headless widget
// back-end and the command-line tools print.

#include <string>
#include <string_view>

// Quotes 8-bit text for a record: converted to UTF-8, in double quotes, with
// C-style escapes for quotes, backslashes and control bytes.
std::string QuoteRecordText(std::string_view ansi);
// The same for a text of the program's own (a caption, a cell, a box's
// text), which is Windows-1251 whatever the machine's ANSI code page.
std::string QuoteProgramText(std::string_view cp1251);
