#pragma once
// Colour values written in cell markup: a colour name such as "clRed" or a
// hexadecimal "#RRGGBB".

#include <string_view>

#include "ui/types.h"

namespace ui {

// The colour a FONT tag's COLOR or BGCOLOR value names. Names are compared in
// lower case; an unknown name gives black. A value starting with "#" is read
// as red, green and blue in two hexadecimal digits each; when those six digits
// are missing or not hexadecimal the colour is black, as for an unknown name.
TColor MarkupColor(std::string_view value);

}  // namespace ui
