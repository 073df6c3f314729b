// Puts the source and build folders into the environment before any test
// runs, so that tests and the programs they start can find scripts, data and
// built tools.

#include <cstdlib>

namespace {

const bool environmentSet = [] {
  ::setenv("QD_TEST_SOURCE_DIR", QD_TEST_SOURCE_DIR, 0);
  ::setenv("QD_TEST_BINARY_DIR", QD_TEST_BINARY_DIR, 0);
  return true;
}();

}  // namespace
