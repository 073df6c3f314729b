#include "http/header_list.h"

#include "http/text_tokens.h"
#include "platform/codepage.h"

namespace {

bool IsContinuation(const AnsiString& line) {
  return !line.empty() && (line[0] == ' ' || line[0] == '\t');
}

}  // namespace

void TNetHeaderList::Insert(int AIndex, AnsiString ALine) {
  TStringList copy;
  for (int i = 0; i < Count(); ++i) {
    if (i == AIndex) copy.Add(std::move(ALine));
    copy.Add((*this)[i]);
  }
  if (AIndex >= Count()) copy.Add(std::move(ALine));
  Assign(copy);
}

void TNetHeaderList::Delete(int AIndex) {
  TStringList copy;
  for (int i = 0; i < Count(); ++i) {
    if (i != AIndex) copy.Add((*this)[i]);
  }
  Assign(copy);
}

void TNetHeaderList::Assign(const TStringList& AOther) {
  TStringList copy = AOther;
  Clear();
  for (int i = 0; i < copy.Count(); ++i) Add(copy[i]);
}

AnsiString TNetHeaderList::NameAt(int AIndex) const {
  if (AIndex < 0 || AIndex >= Count()) return AnsiString();
  const AnsiString line = PreserveNameCase ? (*this)[AIndex] : UpperCase((*this)[AIndex]);
  const AnsiString colon = TrimRight(Separator);
  const int at = Pos(colon, line);
  if (at == 0) return AnsiString();
  return line.substr(0, static_cast<size_t>(at - 1));
}

AnsiString TNetHeaderList::ValueAt(int AIndex) const {
  if (AIndex < 0 || AIndex >= Count()) return AnsiString();
  const AnsiString& line = (*this)[AIndex];
  const size_t nameLength = NameAt(AIndex).size();
  AnsiString value = nameLength + 1 <= line.size() ? line.substr(nameLength + 1) : AnsiString();
  if (JoinContinuations) {
    for (int i = AIndex + 1; i < Count() && IsContinuation((*this)[i]); ++i) {
      value = Trim(value) + " " + Trim((*this)[i]);
    }
  }
  return Trim(value);
}

int TNetHeaderList::IndexOfHeader(const AnsiString& AName) const {
  for (int i = 0; i < Count(); ++i) {
    if (platform::AnsiCompareText(NameAt(i), AName) == 0) return i;
  }
  return -1;
}

void TNetHeaderList::SetHeader(const AnsiString& AName, const AnsiString& AValue) {
  int index = IndexOfHeader(AName);
  if (!AValue.empty()) {
    if (index == -1) {
      Add(AnsiString());
      index = Count() - 1;
    }
    if (FoldLongLines) {
      RemoveContinuations(index);
      InsertFolded(AName + Separator + AValue, index);
    } else {
      (*this)[index] = AName + Separator + AValue;
    }
  } else if (index != -1) {
    if (FoldLongLines) RemoveContinuations(index);
    Delete(index);
  }
}

void TNetHeaderList::CollectValues(const AnsiString& AName, TStringList& AList) const {
  for (int i = 0; i < Count(); ++i) {
    if (platform::AnsiCompareText(NameAt(i), AName) == 0) AList.Add(ValueAt(i));
  }
}

void TNetHeaderList::RemoveContinuations(int AIndex) {
  int end = AIndex + 1;
  while (end < Count() && IsContinuation((*this)[end])) ++end;
  if (end == AIndex + 1) return;
  // One rebuild for the whole run, however long it is.
  TStringList kept;
  for (int i = 0; i < Count(); ++i) {
    if (i <= AIndex || i >= end) kept.Add((*this)[i]);
  }
  Assign(kept);
}

std::vector<AnsiString> TNetHeaderList::SplitForFolding(const AnsiString& ALine) const {
  const AnsiString text = WrapLine(ALine, "\r\n ", "\t ,", FoldWidth);
  std::vector<AnsiString> pieces;
  size_t from = 0;
  for (;;) {
    const size_t at = text.find("\r\n", from);
    if (at == AnsiString::npos) {
      pieces.push_back(TrimRight(std::string_view(text).substr(from)));
      break;
    }
    pieces.push_back(TrimRight(std::string_view(text).substr(from, at - from)));
    from = at + 2;
  }
  return pieces;
}

void TNetHeaderList::InsertFolded(const AnsiString& ALine, int AIndex) {
  std::vector<AnsiString> pieces = SplitForFolding(ALine);
  if (pieces.size() == 1) {
    (*this)[AIndex] = std::move(pieces[0]);
    return;
  }
  TStringList folded;
  for (int i = 0; i < Count(); ++i) {
    if (i != AIndex) {
      folded.Add((*this)[i]);
      continue;
    }
    for (AnsiString& piece : pieces) folded.Add(std::move(piece));
  }
  Assign(folded);
}

AnsiString WrapLine(const AnsiString& ALine, const AnsiString& ABreak,
                    const AnsiString& ABreakChars, int AMaxCol) {
  // Positions are 1-based as in the folding rules; at(i) is the i-th byte.
  const int length = static_cast<int>(ALine.size());
  auto at = [&](int i) { return ALine[static_cast<size_t>(i - 1)]; };
  auto isBreakChar = [&](char c) { return ABreakChars.find(c) != AnsiString::npos; };
  AnsiString result;
  int position = 1;
  int column = 1;
  int lineStart = 1;
  int breakPosition = 0;
  char quote = 0;
  bool existingBreak = false;
  while (position <= length) {
    const char c = at(position);
    if (IsLeadByte(c) && position < length) {
      ++position;
      ++column;
    } else if (quote == 0 && !ABreak.empty() && c == ABreak[0]) {
      if (SameText(Copy(ALine, position, static_cast<int>(ABreak.size())), ABreak)) {
        existingBreak = true;
        position += static_cast<int>(ABreak.size()) - 1;
        breakPosition = position;
      }
    } else if (quote == 0 && isBreakChar(c)) {
      breakPosition = position;
    }
    if (c == '"') quote = quote == 0 ? '"' : 0;
    ++position;
    ++column;
    if (quote == 0 && (existingBreak || (column > AMaxCol && breakPosition > lineStart))) {
      result += Copy(ALine, lineStart, breakPosition - lineStart + 1);
      column = position - breakPosition;
      if (c != '"') {
        while (position <= length &&
               (isBreakChar(at(position)) || at(position) == '\r' || at(position) == '\n')) {
          ++position;
        }
      }
      if (!existingBreak && position < length) result += ABreak;
      lineStart = breakPosition + 1;
      existingBreak = false;
    }
  }
  result += Copy(ALine, lineStart, length - lineStart + 1);
  return result;
}
