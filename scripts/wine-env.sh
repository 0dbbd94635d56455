#!/usr/bin/env bash
# Wine environment of one build tree. Source it, or run it:
#   wine-env.sh PREFIX init            create the prefix (once; quick when it exists)
#   wine-env.sh PREFIX run PROG ARGS   run a Windows program in the prefix: an .exe
#                                      by its own machine type, a program named
#                                      without a path (rundll32, reg, ...) as x64
#   wine-env.sh PREFIX run32 PROG ARGS the same, 32-bit (needs Debian's wine32)
#   wine-env.sh PREFIX has32           exit 0 when the 32-bit half is installed
#   wine-env.sh PREFIX stop            stop the prefix's wineserver
# Tests never touch ~/.wine: every build tree has its own prefix.
#
# Debian's `wine` starts the 32-bit loader whenever wine32 is installed, and
# then `wine rundll32 ...` is the 32-bit rundll32, which installs only the x86
# half of an INF. So the 64-bit loader is named wherever the 64-bit half is
# meant.
set -euo pipefail

prefix=$(realpath -m "$1")
cmd=$2
shift 2
export WINEPREFIX=$prefix
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installer prompts in a fresh prefix.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINEARCH=win64

wine64=/usr/lib/wine/wine64
[ -x "$wine64" ] || wine64=$(command -v wine64 || command -v wine)
wine32=/usr/lib/wine/wine
# LUMACORE_NO_WINE32=1 runs as on a machine without it (to test that path).
has32() { [ -z "${LUMACORE_NO_WINE32:-}" ] && [ -x "$wine32" ]; }

# The loader for PROG: by the machine field of an .exe's PE header, x64 for
# a program named without a path.
loader_for() {
  local prog=$1 pe machine
  if [ -f "$prog" ] && has32; then
    pe=$(od -An -tu4 -j60 -N4 "$prog" 2>/dev/null | tr -d ' ')
    machine=$(od -An -tx2 -j$((pe + 4)) -N2 "$prog" 2>/dev/null | tr -d ' ')
    [ "$machine" = 014c ] && { echo "$wine32"; return; }
  fi
  echo "$wine64"
}

# A prefix is whole when it has the halves this machine's Wine has: one made
# before wine32 was installed lacks SysWOW64 and starts nothing once it is.
prefix_kind() { has32 && echo wow64 || echo win64; }

case $cmd in
  init)
    mkdir -p "$(dirname "$prefix")"
    # One initialiser at a time per prefix.
    exec 9>"$prefix.lock"
    flock 9
    if [ "$(cat "$prefix/.lumacore-ready" 2>/dev/null)" != "$(prefix_kind)" ]; then
      [ -d "$prefix" ] && WINEPREFIX=$prefix wineserver --kill 2>/dev/null || true
      rm -rf "$prefix"
      "$wine64" wineboot --init >/dev/null 2>&1 || true
      wineserver --wait || true
      [ -f "$prefix/system.reg" ] || { echo "wineboot did not create $prefix" >&2; exit 1; }
      # Windows open inside one virtual desktop that Wine draws itself, frames
      # and captions included, so dialogs look as they do on Windows even
      # without a window manager (Xvfb has none).
      "$wine64" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
      "$wine64" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
      # A program that crashes ends at once: no crash dialog waiting for a click.
      "$wine64" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
      if has32 && [ ! -f "$prefix/drive_c/windows/syswow64/kernel32.dll" ]; then
        echo "wineboot made no SysWOW64 in $prefix" >&2
        exit 1
      fi
      wineserver --wait || true
      prefix_kind >"$prefix/.lumacore-ready"
    fi
    ;;
  run)
    exec "$(loader_for "$1")" "$@"
    ;;
  run32)
    has32 || { echo "Debian's wine32 is not installed: no 32-bit programs" >&2; exit 1; }
    exec "$wine32" "$@"
    ;;
  has32)
    has32
    ;;
  stop)
    wineserver --kill 2>/dev/null || true
    ;;
  *)
    echo "usage: $0 PREFIX init|run|run32|has32|stop" >&2
    exit 2
    ;;
esac
