#include "zip/zipstrfunc.h"

#include <vector>

#include "platform/codepage.h"

namespace {

bool sameChar(char a, char b, bool ignoreCase) {
  if (a == b) return true;
  return ignoreCase &&
         platform::AnsiCompareText(std::string_view(&a, 1), std::string_view(&b, 1)) == 0;
}

}  // namespace

// The matcher follows every way the pattern can consume the name at once: a
// set of live pattern positions advances by one name character per step. A
// "*" may stand for nothing only while name characters remain, which gives
// the rule for a used-up name above. The work is bounded by the product of the
// two lengths, however many "*" the pattern holds.
bool IsStrMatchPattern(std::string_view name, std::string_view pattern, bool ignoreCase) {
  if (pattern == "*.*") return true;
  const size_t m = pattern.size();
  // restIsOneStar[j]: the pattern from j on is exactly "*".
  auto restIsOneStar = [&](size_t j) { return j + 1 == m && pattern[j] == '*'; };
  std::vector<char> live(m + 1, 0), next(m + 1, 0);
  live[0] = 1;
  for (const char c : name) {
    // A "*" may stand for nothing: its position also makes the next one live.
    for (size_t j = 0; j < m; ++j)
      if (live[j] && pattern[j] == '*') live[j + 1] = 1;
    bool any = false;
    std::fill(next.begin(), next.end(), 0);
    for (size_t j = 0; j < m; ++j) {
      if (!live[j]) continue;
      if (restIsOneStar(j)) return true;
      if (pattern[j] == '*') {
        next[j] = 1;
        any = true;
      } else if (pattern[j] == '?' || sameChar(pattern[j], c, ignoreCase)) {
        next[j + 1] = 1;
        any = true;
      }
    }
    if (!any) return false;
    live.swap(next);
  }
  for (size_t j = 0; j <= m; ++j)
    if (live[j] && (j == m || restIsOneStar(j))) return true;
  return false;
}

int AnsiPCompText(std::string_view a, std::string_view b) {
  return platform::AnsiCompareText(a, b);
}
