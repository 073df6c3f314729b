#!/usr/bin/env bash
# Builds the tests of the code that runs on more than one thread with
# ThreadSanitizer in build-tsan (or $QD_TSAN_DIR) and runs only those tests:
# the cookie store shared by threads, the socket stack's count of users and
# the connect with a time limit on its own thread, the scripted exchanges
# against the server's thread, and archivers on several threads that share
# one lock. Any race report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${QD_TSAN_DIR:-build-tsan}"
san="-fsanitize=thread"
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQD_BUILD_FLTK=OFF \
  -DCMAKE_C_FLAGS="$san" -DCMAKE_CXX_FLAGS="$san" -DCMAKE_EXE_LINKER_FLAGS="$san" >/dev/null
ninja -C "$dir" -j2 http_tests net_tests zip_tests
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1"
"$dir/tests/http/http_tests" \
  --gtest_filter='CookieManager.SharedAcrossThreads:Deliveries/Exchange.Table/whole:Deliveries/Exchange.Table/random'
"$dir/tests/net/net_tests" --gtest_filter='OpenConnection.*:TheStack.*'
"$dir/tests/zip/zip_tests" --gtest_filter='Extract.ArchiversOnSeveralThreadsAtOnce'
