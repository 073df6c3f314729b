#pragma once
// Format in the style of the classic runtime: "%s", "%d", "%u", "%x" with an
// optional "-" flag, width and precision ("%.5d" pads with zeros, "%0.2d" too),
// and "%%". Arguments are integers or texts; a specifier that does not match
// its argument, or a missing argument, raises EConvertError like the runtime.

#include <cstdint>
#include <initializer_list>
#include <variant>

#include "core/ansistring.h"

class FormatArg {
 public:
  template <typename T>
  requires std::is_integral_v<T> FormatArg(T v) : value(static_cast<int64_t>(v)) {}
  FormatArg(const char* s) : value(AnsiString(s)) {}
  FormatArg(std::string_view s) : value(AnsiString(s)) {}
  FormatArg(const AnsiString& s) : value(s) {}

  std::variant<int64_t, AnsiString> value;
};

AnsiString Format(std::string_view format, std::initializer_list<FormatArg> args);
