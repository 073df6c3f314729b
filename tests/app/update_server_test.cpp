#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <optional>

#include "app/update_server.h"

namespace {

// The environment variable set for one case and unset again after it.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const char* value) : name(name) {
    if (value != nullptr) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnvironment() { unsetenv(name); }

 private:
  const char* name;
};

TEST(UpdateServerLimits, EnvironmentOverridesOnlyWithAPositiveNumber) {
  const struct {
    const char* variable;
    std::function<int()> limit;
  } limits[] = {{"QD_READ_TIMEOUT_MS", UpdateServerReadTimeout},
                {"QD_CONNECT_TIMEOUT_MS", UpdateServerConnectTimeout}};
  const struct {
    const char* value;
    // The value given, or none for the built-in limit.
    std::optional<int> limit;
  } cases[] = {{nullptr, std::nullopt}, {"1000", 1000},       {"1", 1},
               {"0", std::nullopt},     {"-5", std::nullopt}, {"", std::nullopt},
               {"abc", std::nullopt}};
  for (const auto& l : limits) {
    int builtIn;
    {
      ScopedEnvironment unset(l.variable, nullptr);
      builtIn = l.limit();
    }
    // Never 0, which would be no limit at all.
    EXPECT_GT(builtIn, 0) << l.variable;
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(l.variable) + "=" + (c.value != nullptr ? c.value : "(unset)"));
      ScopedEnvironment set(l.variable, c.value);
      EXPECT_EQ(l.limit(), c.limit.value_or(builtIn));
    }
  }
}

}  // namespace
