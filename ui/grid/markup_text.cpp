#include "ui/grid/markup_text.h"

namespace ui {

namespace {

struct TCharacterReference {
  std::string_view name;
  char value;
};

// References to characters that are the same in the Cyrillic and the Western
// ANSI code pages.
constexpr TCharacterReference kReferences[] = {
    {"&quot;", '"'},      {"&copy;", '\xA9'},   {"&reg;", '\xAE'},   {"&trade;", '\x99'},
    {"&laquo;", '\xAB'},  {"&raquo;", '\xBB'},  {"&ndash;", '\x96'}, {"&mdash;", '\x97'},
    {"&hellip;", '\x85'}, {"&deg;", '\xB0'},    {"&sect;", '\xA7'},  {"&plusmn;", '\xB1'},
    {"&bull;", '\x95'},   {"&middot;", '\xB7'},
};

// The references a run decodes; matched without regard to letter case.
constexpr TCharacterReference kRunReferences[] = {
    {"&nbsp;", ' '},
    {"&lt;", '<'},
    {"&gt;", '>'},
    {"&amp;", '&'},
};

AnsiString replaceReferences(std::string_view text) {
  AnsiString out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    bool replaced = false;
    if (text[i] == '&')
      for (const auto& r : kReferences)
        if (text.substr(i).starts_with(r.name)) {
          out += r.value;
          i += r.name.size();
          replaced = true;
          break;
        }
    if (!replaced) out += text[i++];
  }
  return out;
}

// "<#name>" becomes "#name": every "<#" loses its "<", and the first ">"
// after it goes too. One pass: each ">" is dropped while some "<#" before it
// still waits for its ">".
AnsiString unwrapHashTags(std::string_view text) {
  AnsiString out;
  out.reserve(text.size());
  size_t waiting = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '<' && i + 1 < text.size() && text[i + 1] == '#') {
      ++waiting;
    } else if (text[i] == '>' && waiting > 0) {
      --waiting;
    } else {
      out += text[i];
    }
  }
  return out;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

}  // namespace

AnsiString PreprocessMarkup(std::string_view text) {
  const AnsiString unwrapped = unwrapHashTags(replaceReferences(text));
  AnsiString out;
  out.reserve(unwrapped.size());
  for (const char c : unwrapped) {
    if (c == '\r')
      out += "<BR>";
    else if (c != '\n')
      out += c;
  }
  return out;
}

AnsiString DecodeMarkupRun(std::string_view run) {
  AnsiString out;
  out.reserve(run.size());
  for (size_t i = 0; i < run.size();) {
    bool replaced = false;
    if (run[i] == '&')
      for (const auto& r : kRunReferences)
        if (startsWithNoCase(run.substr(i), r.name)) {
          out += r.value;
          i += r.name.size();
          replaced = true;
          break;
        }
    if (!replaced) out += run[i++];
  }
  return out;
}

TMarkupToken NextMarkupToken(std::string_view text, size_t pos) {
  if (text[pos] == '<') {
    if (text.size() - pos < 3) return {TMarkupTokenKind::Dropped, text.size()};
    const size_t close = text.find('>', pos);
    return {TMarkupTokenKind::Tag, close == std::string_view::npos ? text.size() : close + 1};
  }
  const size_t stop = text.find_first_of(" <", pos);
  if (stop == std::string_view::npos) return {TMarkupTokenKind::Run, text.size()};
  return {TMarkupTokenKind::Run, text[stop] == ' ' ? stop + 1 : stop};
}

}  // namespace ui
