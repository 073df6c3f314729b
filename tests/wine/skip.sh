#!/usr/bin/env bash
# Stands in for a test that cannot run on this machine: prints the test's
# name and the reason, and exits with the code that ctest reports as skipped.
# Usage: skip.sh NAME REASON
name="$1"
shift
echo "$name skipped: $*"
exit 77
