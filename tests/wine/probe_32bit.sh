#!/usr/bin/env bash
# Finds out whether this machine can execute 32-bit programs, by running
# Wine's 32-bit loader: some kernels are built without 32-bit support, and
# the i386 packages then install fine but every 32-bit program fails with
# "Exec format error". Prints "yes", or "no: REASON" with the reason in a
# sentence. QD_WINE_NO32=1 makes the answer "no" on any machine, so that the
# 64-bit-only branch of the tests can be tried where 32-bit programs run.
set -uo pipefail
if [[ "${QD_WINE_NO32:-}" == 1 ]]; then
  echo "no: QD_WINE_NO32=1 asked for a machine without 32-bit programs"
  exit 0
fi
loader=/usr/lib/wine/wine
if [[ ! -x "$loader" ]]; then
  echo "no: the 32-bit Wine loader $loader is not installed (Debian's wine32:i386)"
  exit 0
fi
if out="$("$loader" --version 2>&1)"; then
  echo yes
else
  # The shell's own words about the failed exec, without its script and line.
  out="$(tr '\n' ' ' <<<"$out" | sed -e 's/^.*line [0-9]*: //' -e 's/ *$//')"
  echo "no: this machine cannot execute 32-bit programs ($loader --version: $out)"
fi
