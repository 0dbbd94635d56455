#!/usr/bin/env bash
# The emulator of the win64 build: wine-run.sh PREFIX PROGRAM ARGS...
prefix=$1
shift
exec "$(dirname "$0")/wine-env.sh" "$prefix" run "$@"
