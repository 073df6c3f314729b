#include "ui/grid/web_address.h"

#include "core/ansistring.h"

namespace ui {

namespace {

constexpr std::string_view kSchemeMark = "://";
constexpr std::string_view kMailMark = "mailto:";

constexpr std::string_view kOpenablePrefixes[] = {"http://", "https://", "ftp://", "mailto:"};

}  // namespace

bool IsWebAddressText(std::string_view text) {
  return text.find(kSchemeMark) != std::string_view::npos ||
         text.find(kMailMark) != std::string_view::npos;
}

std::string_view WebAddressShownPart(std::string_view text) {
  if (const size_t at = text.find(kSchemeMark); at != std::string_view::npos)
    return text.substr(at + kSchemeMark.size());
  if (const size_t at = text.find(kMailMark); at != std::string_view::npos)
    return text.substr(at + kMailMark.size());
  return text;
}

bool IsOpenableAddress(std::string_view text) {
  if (Pos("CELL://", UpperCase(text)) != 0) return false;
  bool known = false;
  for (const std::string_view prefix : kOpenablePrefixes)
    if (text.size() > prefix.size() && StartsText(prefix, text)) known = true;
  if (!known) return false;
  for (const char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if (b <= ' ' || b == 0x7F || c == '"') return false;
  }
  return true;
}

}  // namespace ui
