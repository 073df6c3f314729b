#include "http/text_tokens.h"

AnsiString CutToken(AnsiString& text, std::string_view delimiter, bool remove, bool caseSensitive) {
  const int at = caseSensitive ? Pos(delimiter, text) : Pos(UpperCase(delimiter), UpperCase(text));
  if (at == 0) {
    AnsiString all = text;
    if (remove) text.clear();
    return all;
  }
  AnsiString token = text.substr(0, static_cast<size_t>(at - 1));
  if (remove) text.erase(0, static_cast<size_t>(at - 1) + delimiter.size());
  return token;
}

int TextPos(std::string_view sub, std::string_view text) {
  return Pos(sub, text);
}
