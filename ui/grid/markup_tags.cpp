#include "ui/grid/markup_tags.h"

#include <optional>

#include "core/ansistring.h"
#include "ui/grid/colors.h"

namespace ui {

namespace {

// The largest point size a SIZE attribute may set; the number comes from
// outside and a font of absurd size helps no one.
constexpr int kMaxPointSize = 72;

char upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The text between the next two double quotation marks at or after from.
std::optional<std::string_view> quotedAfter(std::string_view attrs, size_t from) {
  const size_t open = attrs.find('"', from);
  if (open == std::string_view::npos) return std::nullopt;
  const size_t close = attrs.find('"', open + 1);
  if (close == std::string_view::npos) return std::nullopt;
  return attrs.substr(open + 1, close - open - 1);
}

// The number after "=" (and an optional double quotation mark) at or after
// from: an optional sign and up to nine digits.
std::optional<int> numberAfter(std::string_view attrs, size_t from) {
  size_t at = attrs.find('=', from);
  if (at == std::string_view::npos) return std::nullopt;
  ++at;
  if (at < attrs.size() && attrs[at] == '"') ++at;
  bool negative = false;
  if (at < attrs.size() && (attrs[at] == '+' || attrs[at] == '-')) negative = attrs[at++] == '-';
  int value = 0, digits = 0;
  while (at < attrs.size() && attrs[at] >= '0' && attrs[at] <= '9' && digits < 9) {
    value = value * 10 + (attrs[at++] - '0');
    ++digits;
  }
  if (digits == 0) return std::nullopt;
  return negative ? -value : value;
}

// Sizes 1 to 5 are the markup's own steps; any other positive number is a
// point size.
void applySize(int size, TFont& font) {
  static constexpr int kSteps[] = {8, 10, 12, 14, 16};
  if (size >= 1 && size <= 5)
    font.Size = kSteps[size - 1];
  else if (size > 0)
    font.Size = size < kMaxPointSize ? size : kMaxPointSize;
}

// <FONT ...>: the attributes run from the character after "<FONT" to the
// character before the first ">", compared in upper case.
void applyFont(std::string_view rest, size_t close, TMarkupPass pass, TMarkupState& state) {
  const AnsiString attrs = close > 5 ? UpperCase(rest.substr(5, close - 5)) : AnsiString();
  if (const size_t at = attrs.find("FACE"); at != AnsiString::npos)
    if (const auto face = quotedAfter(attrs, at + 4); face && !face->empty())
      state.Font.Name = AnsiString(*face);
  if (const size_t at = attrs.find(" COLOR"); at != AnsiString::npos)
    if (const auto color = quotedAfter(attrs, at + 6); color && !color->empty())
      state.Font.Color = MarkupColor(*color);
  if (const size_t at = attrs.find("BGCOLOR");
      at != AnsiString::npos && pass == TMarkupPass::Paint) {
    state.RememberedBackground = state.Background;
    if (const auto color = quotedAfter(attrs, at + 7); color && !color->empty())
      state.Background = MarkupColor(*color);
  }
  if (const size_t at = attrs.find("SIZE"); at != AnsiString::npos)
    if (const auto size = numberAfter(attrs, at + 4)) applySize(*size, state.Font);
}

void applyClosing(std::string_view rest, const TFont& base, TMarkupPass pass, TMarkupState& state) {
  const char fourth = rest.size() > 3 ? rest[3] : '\0';
  switch (upper(rest[2])) {
    case 'B':
      if (fourth == '>')
        state.Font.Style.Bold = false;
      else
        state.Font.Color = base.Color;
      break;
    case 'I':
      state.Font.Style.Italic = false;
      break;
    case 'U':
      if (fourth == '>') state.Font.Style.Underline = false;
      break;
    case 'S':
      if (fourth == '>') state.Font.Style.StrikeOut = false;
      break;
    case 'F':
      state.Font.Name = base.Name;
      state.Font.Size = base.Size;
      if (pass == TMarkupPass::Paint) {
        state.Font.Color = base.Color;
        state.Background = state.RememberedBackground;
      }
      break;
    default:
      break;
  }
}

}  // namespace

bool ApplyMarkupTag(std::string_view rest, const TFont& base, TMarkupPass pass,
                    TMarkupState& state) {
  if (rest[1] == '/' && rest.size() > 3) {
    applyClosing(rest, base, pass, state);
    return false;
  }
  const char next = upper(rest[2]);
  switch (upper(rest[1])) {
    case 'B':
      if (next == 'R') return true;
      if (next == '>') state.Font.Style.Bold = true;
      break;
    case 'I':
      if (next == '>') state.Font.Style.Italic = true;
      break;
    case 'U':
      if (next == '>') state.Font.Style.Underline = true;
      break;
    case 'S':
      if (next == '>') state.Font.Style.StrikeOut = true;
      break;
    case 'F':
      if (const size_t close = rest.find('>', 2); close != std::string_view::npos)
        applyFont(rest, close, pass, state);
      break;
    default:
      break;
  }
  return false;
}

}  // namespace ui
