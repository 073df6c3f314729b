#!/usr/bin/env bash
# Makes a sandbox root for the program: the product's folder with sample
# lastupd.dat and newupd.dat in Windows-1251, the system folder and the
# product's registry key.
# Usage: make_sample_root.sh DIR
set -euo pipefail
root="$1"
data="$(dirname "$0")/demo_data"
mkdir -p "$root/ProgramData/Quorvane" "$root/Windows/System32" "$root/Registry"
# The product's installer makes its machine-wide registry key; the updater
# only opens it.
mkdir -p "$root/Registry/HKEY_LOCAL_MACHINE/SOFTWARE/Talvesk"
for f in lastupd newupd; do
  # The files are kept as UTF-8 in the repository; the product writes them in
  # Windows-1251 with CR LF line ends.
  sed 's/$/\r/' "$data/$f.txt" | iconv -f UTF-8 -t CP1251 >"$root/ProgramData/Quorvane/$f.dat"
done
