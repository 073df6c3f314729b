#pragma once
// TNetHeaderList: the header lines of one HTTP message, in order. Each line is
// a name, ": " and a value, or a continuation line that begins with a blank or
// a tab. Look a value up with GetHeader, set or remove one with SetHeader;
// long values are folded at FoldWidth when FoldLongLines is on.
//
//   TNetHeaderList h;
//   h.SetHeader("Host", "example.org");
//   AnsiString v = h.GetHeader("host");   // "example.org"

#include <vector>

#include "core/ansistring.h"
#include "core/stringlist.h"

class TNetHeaderList : public TStringList {
 public:
  AnsiString Separator = ": ";
  bool PreserveNameCase = false;
  bool JoinContinuations = true;
  bool FoldLongLines = true;
  int FoldWidth = 78;

  // The line's name part, upper-cased unless PreserveNameCase.
  AnsiString NameAt(int AIndex) const;
  // The line's value with its continuations joined; empty outside the list.
  AnsiString ValueAt(int AIndex) const;
  // The first line whose name equals AName without regard to case, or -1.
  int IndexOfHeader(const AnsiString& AName) const;
  AnsiString GetHeader(const AnsiString& AName) const { return ValueAt(IndexOfHeader(AName)); }
  // Replaces the first line of that name in place, appends one, or removes
  // it (with its continuations) for an empty value.
  void SetHeader(const AnsiString& AName, const AnsiString& AValue);
  // Appends the value of every line of that name to AList, in order.
  void CollectValues(const AnsiString& AName, TStringList& AList) const;

  void RemoveContinuations(int AIndex);
  std::vector<AnsiString> SplitForFolding(const AnsiString& ALine) const;
  void InsertFolded(const AnsiString& ALine, int AIndex);

  void Insert(int AIndex, AnsiString ALine);
  void Delete(int AIndex);
  void Assign(const TStringList& AOther);
};

// Breaks ALine into pieces joined by ABreak after one of ABreakChars when a
// piece would pass AMaxCol; never inside double quotes, never between the two
// bytes of a double-byte character.
AnsiString WrapLine(const AnsiString& ALine, const AnsiString& ABreak,
                    const AnsiString& ABreakChars, int AMaxCol);
