#include <gtest/gtest.h>

#include "core/exceptions.h"
#include "core/format.h"

namespace {

TEST(Format, Specifiers) {
  struct Case {
    std::string got, want;
  } cases[] = {
      {Format("Socket Error # %d\r\n%s", {10061, "Connection refused."}),
       "Socket Error # 10061\r\nConnection refused."},
      {Format("%.5d", {48}), "00048"},
      {Format(" %0.2d%0.2d", {3, 0}), " 0300"},
      {Format("%5d|%-5d|", {42, 42}), "   42|42   |"},
      {Format("%x %u %%", {255, -1}), "FF 4294967295 %"},
      {Format("%s, %.2d %s %.4d", {"Tue", 5, "Mar", 99}), "Tue, 05 Mar 0099"},
      {Format("%d", {-7}), "-7"},
      {Format("%.3d", {-7}), "-007"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.got, c.want);
}

TEST(Format, MismatchedArgumentsRaise) {
  EXPECT_THROW(Format("%d", {"text"}), EConvertError);
  EXPECT_THROW(Format("%s", {1}), EConvertError);
  EXPECT_THROW(Format("%s %s", {"one"}), EConvertError);
  EXPECT_THROW(Format("%q", {1}), EConvertError);
}

}  // namespace
