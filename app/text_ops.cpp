#include "app/text_ops.h"

int FindText(std::string_view s, std::string_view t) {
  return Pos(t, s);
}

AnsiString SliceText(std::string_view s, int i, int n) {
  if (i <= 0 || n < 0) return {};
  return Copy(s, i, n);
}

void CutText(AnsiString& s, int i, int n) {
  Delete(s, i, n);
}
