#include "core/stringlist.h"

#include "core/exceptions.h"
#include "core/format.h"
#include "platform/files.h"

const AnsiString& TStringList::operator[](int index) const {
  if (index < 0 || index >= Count())
    throw EListError(Format("List index out of bounds (%d)", {index}));
  return lines[static_cast<size_t>(index)];
}

AnsiString& TStringList::operator[](int index) {
  return const_cast<AnsiString&>(static_cast<const TStringList&>(*this)[index]);
}

void TStringList::SetText(std::string_view text) {
  lines.clear();
  const size_t end = std::min(text.find('\0'), text.size());
  size_t start = 0;
  size_t i = 0;
  while (i < end) {
    const char c = text[i];
    if (c != '\r' && c != '\n') {
      ++i;
      continue;
    }
    lines.emplace_back(text.substr(start, i - start));
    ++i;
    if (c == '\r' && i < end && text[i] == '\n') ++i;
    start = i;
  }
  if (start < end) lines.emplace_back(text.substr(start, end - start));
}

AnsiString TStringList::Text() const {
  AnsiString r;
  for (const auto& line : lines) {
    r += line;
    r += "\r\n";
  }
  return r;
}

void TStringList::LoadFromFile(const AnsiString& fileName) {
  AnsiString content;
  switch (platform::ReadFile(fileName, content)) {
    case platform::FileFailure::None:
      break;
    case platform::FileFailure::CannotRead:
      throw EReadError("Stream read error");
    default:
      throw EFOpenError(Format("Cannot open file %s", {fileName}));
  }
  SetText(content);
}
