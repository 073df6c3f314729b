#include "core/format.h"

#include <vector>

#include "core/exceptions.h"

namespace {

[[noreturn]] void formatError(std::string_view format) {
  throw EConvertError("Format '" + AnsiString(format) + "' invalid or incompatible with argument");
}

AnsiString pad(AnsiString text, int width, bool leftAlign) {
  if (width > static_cast<int>(text.size())) {
    const size_t fill = static_cast<size_t>(width) - text.size();
    if (leftAlign)
      text.append(fill, ' ');
    else
      text.insert(0, fill, ' ');
  }
  return text;
}

}  // namespace

AnsiString Format(std::string_view format, std::initializer_list<FormatArg> args) {
  const std::vector<FormatArg> list(args);
  size_t next = 0;
  AnsiString out;
  for (size_t i = 0; i < format.size(); ++i) {
    const char c = format[i];
    if (c != '%') {
      out += c;
      continue;
    }
    if (++i >= format.size()) formatError(format);
    if (format[i] == '%') {
      out += '%';
      continue;
    }
    bool leftAlign = false;
    int width = -1, precision = -1;
    if (format[i] == '-') {
      leftAlign = true;
      ++i;
    }
    auto readNumber = [&](int& into) {
      while (i < format.size() && format[i] >= '0' && format[i] <= '9') {
        into = (into < 0 ? 0 : into) * 10 + (format[i] - '0');
        ++i;
      }
    };
    readNumber(width);
    if (i < format.size() && format[i] == '.') {
      ++i;
      precision = 0;
      readNumber(precision);
    }
    if (i >= format.size() || next >= list.size()) formatError(format);
    const FormatArg& arg = list[next++];
    const char type = static_cast<char>(format[i] | 0x20);
    AnsiString text;
    if (type == 's') {
      const auto* s = std::get_if<AnsiString>(&arg.value);
      if (!s) formatError(format);
      text = precision >= 0 ? s->substr(0, static_cast<size_t>(precision)) : *s;
    } else if (type == 'd' || type == 'u' || type == 'x') {
      const auto* v = std::get_if<int64_t>(&arg.value);
      if (!v) formatError(format);
      bool negative = false;
      if (type == 'd') {
        negative = *v < 0;
        text = std::to_string(negative ? -static_cast<uint64_t>(*v) : static_cast<uint64_t>(*v));
      } else if (type == 'u') {
        text = std::to_string(static_cast<uint32_t>(*v));
      } else {
        text = IntToHex(static_cast<uint64_t>(*v) & 0xFFFFFFFFu, 0);
      }
      if (precision > static_cast<int>(text.size()))
        text.insert(0, static_cast<size_t>(precision) - text.size(), '0');
      if (negative) text.insert(0, 1, '-');
    } else {
      formatError(format);
    }
    out += pad(std::move(text), width, leftAlign);
  }
  return out;
}
