# Sourced by the Wine test scripts: the shared prefix's environment, its lock,
# and the helpers every case uses.
#
# One prefix serves every test of a build (booting one takes half a minute and
# more than a gigabyte); it lives in the build folder and is made by the
# wine_prefix test, which the others require as a fixture. The tests take the
# prefix's lock for their whole run, so that two of them never share its Wine
# server: a server started for a program under one Xvfb display would serve a
# later program under another one.

qd_wine_setup_env() {
  export WINEPREFIX="$1"
  export WINEARCH=win64
  export WINEDEBUG=-all
  # No offer to download Mono or Gecko, no menu entries written into $HOME.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  QD_WINE_LANG="$(qd_wine_lang)"
  # The loader that starts Windows programs: the wine command, or, on a
  # machine that cannot execute 32-bit programs (where the wine command
  # itself fails), Wine's 64-bit loader directly. The test set-up chooses it.
  QD_WINE_LOADER="${QD_WINE_LOADER:-wine}"
  # Wine starts further processes of the prefix through the loader named
  # here; left unset it would try the 32-bit one.
  [[ "$QD_WINE_LOADER" == wine ]] || export WINELOADER="$QD_WINE_LOADER"
}

# The locale Wine runs in: en_US, whose system code page is 1252, where only
# the wide Windows calls show the program's Russian texts. Wine also takes the
# character set of Unix file names from it; where glibc has no en_US.UTF-8 the
# locale would fall back to ASCII names, so C.UTF-8 (code page 1252 as well)
# stands in.
qd_wine_lang() {
  if locale -a 2>/dev/null | grep -Eqi '^en_US\.utf-?8$'; then
    echo en_US.UTF-8
  else
    echo C.UTF-8
  fi
}

# Wine in that locale, for one command. Set per command, as the shell itself
# may lack the locale.
qd_wine() {
  LANG="$QD_WINE_LANG" LC_ALL= LC_CTYPE= "$QD_WINE_LOADER" "$@"
}

# Waits for the prefix's lock and holds it until the calling script ends.
qd_wine_lock() {
  exec {qd_wine_lock_fd}>"$WINEPREFIX.lock"
  flock "$qd_wine_lock_fd"
}

# Ends the prefix's Wine server and every process it still serves; another
# prefix's server is left alone. Called when a case ends, so that the next one
# starts its own server with its own display.
qd_wine_end() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
}

qd_wine_require_exe() {
  if [[ ! -f "$1" ]]; then
    echo "no Windows program at $1: build it with scripts/cross_build.sh" \
      "(or point the CMake cache variables QD_WINE_EXE_i686 / QD_WINE_EXE_x86_64 and their kin at it)" >&2
    exit 1
  fi
}

# The system folder that a program of the architecture writes to: a 32-bit
# program in a 64-bit prefix sees syswow64 as its system folder.
qd_wine_system_dir() {
  if [[ "$1" == i686 ]]; then
    echo "$WINEPREFIX/drive_c/windows/syswow64"
  else
    echo "$WINEPREFIX/drive_c/windows/system32"
  fi
}

# The registry view of the architecture's programs, for reg.exe.
qd_wine_reg_view() {
  if [[ "$1" == i686 ]]; then echo "/reg:32"; else echo "/reg:64"; fi
}

# Puts the sample update list into the product's folder of the prefix.
qd_wine_sample_list() {
  local here root
  here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
  root="$(mktemp -d)"
  bash "$here/../../scripts/make_sample_root.sh" "$root"
  local data="$WINEPREFIX/drive_c/ProgramData/Quorvane"
  rm -rf "$data"
  mkdir -p "$data"
  cp "$root/ProgramData/Quorvane/"*.dat "$data/"
  rm -rf "$root"
}

# Removes what an earlier case may have installed: the database file and the
# registry value.
qd_wine_clean_install() {
  local arch="$1"
  rm -f "$(qd_wine_system_dir "$arch")/qdztempl.dll"
  qd_wine reg delete 'HKLM\SOFTWARE\Talvesk' /v CurrentUpdate /f "$(qd_wine_reg_view "$arch")" \
    >/dev/null 2>&1 || true
}

source "$(cd "$(dirname "${BASH_SOURCE[0]}")/../../scripts" && pwd)/xvfb_lib.sh"

# Starts a private Xvfb display and exports DISPLAY; its process is
# $qd_xvfb_pid, the caller's to end.
qd_xvfb_start() {
  launch_xvfb || return 1
  qd_xvfb_pid="$xvfb_pid"
}

# Ends the Xvfb display and waits until it is gone.
qd_xvfb_stop() {
  xvfb_pid="${qd_xvfb_pid:-}"
  stop_xvfb
  qd_xvfb_pid=""
}

# The visible window of process PID's program (X class CLASS, the .exe's
# name) whose title is TITLE, waited for up to 60 seconds. Searching by name
# would match the title against its Latin-1 form, so the program's windows
# are looked up by class and their titles compared.
# Usage: qd_window_named PID CLASS TITLE
qd_window_named() {
  local pid="$1" class="$2" title="$3" id
  for _ in $(seq 600); do
    for id in $(xdotool search --onlyvisible --class "$class" 2>/dev/null || true); do
      if [[ "$(xdotool getwindowname "$id" 2>/dev/null)" == "$title" ]]; then
        echo "$id"
        return 0
      fi
    done
    kill -0 "$pid" 2>/dev/null || { echo "the program ended before '$title' appeared" >&2; return 1; }
    sleep 0.1
  done
  echo "no window '$title' appeared" >&2
  return 1
}
