#!/usr/bin/env bash
# Wine environment of one build tree. Source it, or run it:
#   wine-env.sh PREFIX init          create the prefix (once; quick when it exists)
#   wine-env.sh PREFIX run PROG ARGS run a Windows program in the prefix
#   wine-env.sh PREFIX stop          stop the prefix's wineserver
# Tests never touch ~/.wine: every build tree has its own prefix.
set -euo pipefail

prefix=$(realpath -m "$1")
cmd=$2
shift 2
export WINEPREFIX=$prefix
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installer prompts in a fresh prefix.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINEARCH=win64

case $cmd in
  init)
    mkdir -p "$(dirname "$prefix")"
    # One initialiser at a time per prefix.
    exec 9>"$prefix.lock"
    flock 9
    if [ ! -f "$prefix/.lumacore-ready" ]; then
      rm -rf "$prefix"
      wine wineboot --init >/dev/null 2>&1 || true
      wineserver --wait || true
      [ -f "$prefix/system.reg" ] || { echo "wineboot did not create $prefix" >&2; exit 1; }
      # Windows open inside one virtual desktop that Wine draws itself, frames
      # and captions included, so dialogs look as they do on Windows even
      # without a window manager (Xvfb has none).
      wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
      wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
      # A program that crashes ends at once: no crash dialog waiting for a click.
      wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
      wineserver --wait || true
      touch "$prefix/.lumacore-ready"
    fi
    ;;
  run)
    exec wine "$@"
    ;;
  stop)
    wineserver --kill 2>/dev/null || true
    ;;
  *)
    echo "usage: $0 PREFIX init|run|stop" >&2
    exit 2
    ;;
esac
