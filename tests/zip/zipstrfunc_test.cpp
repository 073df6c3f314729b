#include <gtest/gtest.h>

#include <string>

#include "core/cp1251.h"
#include "zip/zipstrfunc.h"

namespace {

struct PatternCase {
  std::string name, pattern;
  bool ignoreCase, want;
};

TEST(IsStrMatchPattern, Table) {
  const PatternCase cases[] = {
      {"README", "*.*", true, true},
      {"", "*.*", true, true},
      {"data/qd.upd", "*.upd", true, true},
      {"", "*", true, true},
      {"", "**", true, false},
      {"a", "a**", true, false},
      {"ab", "a**", true, true},
      {"ab", "a*b**", true, false},
      {"abc", "a?c", true, true},
      {"ac", "a?c", true, false},
      {"QD.UPD", "qd.upd", true, true},
      {"QD.UPD", "qd.upd", false, false},
      {"[a]", "[a]", true, true},
      {"a", "[a]", true, false},
      {"x.txt", "*.TXT", true, true},
      {Cp1251("Файл.txt"), Cp1251("фАЙЛ.*"), true, true},
      {Cp1251("ёж"), Cp1251("Ё?"), true, true},
      {"abcabd", "*abd", true, true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(IsStrMatchPattern(c.name, c.pattern, c.ignoreCase), c.want)
        << c.name << " ~ " << c.pattern;
}

// The matcher's rules written as the plain recursion they describe; the
// fast matcher must agree with it on every short name and pattern.
bool reference(std::string_view name, std::string_view pattern) {
  if (pattern == "*") return true;
  if (name.empty()) return pattern.empty();
  if (pattern.empty()) return false;
  if (pattern[0] == '*') {
    for (size_t k = 0; k < name.size(); ++k)
      if (reference(name.substr(k), pattern.substr(1))) return true;
    return false;
  }
  if (pattern[0] != '?' && pattern[0] != name[0]) return false;
  return reference(name.substr(1), pattern.substr(1));
}

void allStrings(const std::string& alphabet, size_t maxLength, std::vector<std::string>& out) {
  out.assign(1, "");
  for (size_t i = 0; i < out.size(); ++i)
    if (out[i].size() < maxLength)
      for (const char c : alphabet) out.push_back(out[i] + c);
}

TEST(IsStrMatchPattern, AgreesWithTheRecursiveRules) {
  std::vector<std::string> names, patterns;
  allStrings("ab", 4, names);
  allStrings("ab*?", 4, patterns);
  for (const auto& p : patterns) {
    if (p == "*.*") continue;
    for (const auto& n : names)
      ASSERT_EQ(IsStrMatchPattern(n, p, false), reference(n, p)) << n << " ~ " << p;
  }
}

TEST(IsStrMatchPattern, ManyStarsStayCheap) {
  const std::string name(4000, 'a');
  EXPECT_FALSE(IsStrMatchPattern(name, "*a*a*a*a*a*a*a*a*a*a*a*a*b", true));
}

TEST(AnsiPCompText, IgnoresCaseByTheAnsiCodePage) {
  EXPECT_EQ(AnsiPCompText(Cp1251("Обновление.ZIP"), Cp1251("оБНОВЛЕНИЕ.zip")), 0);
  EXPECT_NE(AnsiPCompText("qd.upd", "qd.up"), 0);
}

}  // namespace
