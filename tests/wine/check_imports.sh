#!/usr/bin/env bash
# Checks that a Windows program imports only DLLs that every Windows has, and
# not Windows Sockets, which the program loads at run time; that it is a GUI
# program; and that it carries its manifest (common controls 6, DPI aware).
# Usage: check_imports.sh OBJDUMP PROGRAM.exe
set -euo pipefail
objdump="$1" exe="$2"
source "$(dirname "$0")/wine_env.sh"
qd_wine_require_exe "$exe"
mapfile -t dlls < <("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'a-z' 'A-Z')
echo "$exe imports: ${dlls[*]}"
if ((${#dlls[@]} == 0)); then
  echo "no import table found" >&2
  exit 1
fi
status=0
for dll in "${dlls[@]}"; do
  case "$dll" in
    KERNEL32.DLL | USER32.DLL | GDI32.DLL | ADVAPI32.DLL | SHELL32.DLL | COMCTL32.DLL | MSVCRT.DLL) ;;
    *)
      echo "imports $dll, which is not a DLL of every Windows (or must be loaded at run time)" >&2
      status=1
      ;;
  esac
done
if ! "$objdump" -p "$exe" | grep -E '^Subsystem[[:space:]]+0*2[[:space:]]' >/dev/null; then
  echo "not a program of the GUI subsystem" >&2
  status=1
fi
for mark in Microsoft.Windows.Common-Controls dpiAware; do
  if ! strings "$exe" | grep "$mark" >/dev/null; then
    echo "the manifest ($mark) is missing" >&2
    status=1
  fi
done
exit $status
