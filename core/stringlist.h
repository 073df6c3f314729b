#pragma once
// An ordered list of text lines addressed by a 0-based index.

#include <vector>

#include "core/ansistring.h"

class TStringList {
 public:
  int Count() const { return static_cast<int>(lines.size()); }
  // Raises EListError "List index out of bounds (%d)" outside 0..Count-1.
  const AnsiString& operator[](int index) const;
  AnsiString& operator[](int index);
  void Add(AnsiString line) { lines.push_back(std::move(line)); }
  void Clear() { lines.clear(); }

  // Replaces the content with the lines of text: lines end at CR LF, at a
  // lone CR and at a lone LF; a zero byte ends the text; a line break at the
  // very end adds no empty line.
  void SetText(std::string_view text);
  // Lines joined, each followed by CR LF.
  AnsiString Text() const;
  // Reads the whole file (a path in the ANSI code page) and splits it as
  // SetText does; raises EFOpenError "Cannot open file %s" when it cannot be
  // opened.
  void LoadFromFile(const AnsiString& fileName);

 private:
  std::vector<AnsiString> lines;
};
