#!/usr/bin/env bash
# Lays out the INF's source folder: stage.sh OUTDIR X64_DLL X86_DLL INF
#   OUTDIR/lumacore.inf, OUTDIR/lumacore.dll (x64), OUTDIR/lumacore32.dll (x86)
# Refuses a DLL of the wrong machine type: swapped builds would install
# cleanly and then fail to load in every host.
set -euo pipefail
[ $# -eq 4 ] || { echo "usage: $0 OUTDIR X64_DLL X86_DLL INF" >&2; exit 2; }
out=$1

# check_dll FILE MACHINE: an MZ image whose PE header (at offset 60) names MACHINE.
check_dll() {
  local pe
  pe=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ') || true
  if [ "$(head -c2 "$1" 2>/dev/null)" != MZ ] || [ "$(od -An -tx2 -j$((pe + 4)) -N2 "$1" | tr -d ' ')" != "$2" ]; then
    echo "stage: FAIL: '$1' is no DLL for machine $2" >&2
    exit 1
  fi
}
check_dll "$2" 8664
check_dll "$3" 014c
[ -f "$4" ] || { echo "stage: FAIL: INF '$4' not found" >&2; exit 1; }

mkdir -p "$out"
cp "$4" "$out/lumacore.inf"
cp "$2" "$out/lumacore.dll"
cp "$3" "$out/lumacore32.dll"
