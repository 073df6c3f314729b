#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "core/scoped_value.h"

namespace {

TEST(ScopedValue, SetForTheScopeAndRestoredAfter) {
  int limit = 30000;
  {
    TScopedValue<int> guard(limit, 2000);
    EXPECT_EQ(limit, 2000);
    {
      TScopedValue<int> inner(limit, 4000);
      EXPECT_EQ(limit, 4000);
    }
    EXPECT_EQ(limit, 2000);
  }
  EXPECT_EQ(limit, 30000);
}

TEST(ScopedValue, RestoredWhenAnExceptionLeavesTheScope) {
  bool busy = false;
  std::string text = "before";
  try {
    TScopedValue<bool> flag(busy, true);
    TScopedValue<std::string> name(text, "during");
    EXPECT_TRUE(busy);
    EXPECT_EQ(text, "during");
    throw std::runtime_error("fails");
  } catch (const std::runtime_error&) {
  }
  EXPECT_FALSE(busy);
  EXPECT_EQ(text, "before");
}

}  // namespace
