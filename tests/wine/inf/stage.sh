#!/usr/bin/env bash
# Lays out the INF's source folder: stage.sh OUTDIR X64_DLL X86_DLL INF
#   OUTDIR/lumacore.inf, OUTDIR/lumacore.dll (x64), OUTDIR/lumacore32.dll (x86)
# Refuses a DLL of the wrong machine type: swapped builds would install
# cleanly and then fail to load in every host.
set -euo pipefail

if [ $# -ne 4 ]; then
  echo "usage: $0 OUTDIR X64_DLL X86_DLL INF" >&2
  exit 2
fi
out=$1 x64=$2 x86=$3 inf=$4

# Machine field of a PE image: the 16-bit word after "PE\0\0".
pe_machine() {
  local pe
  pe=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  od -An -tx2 -j$((pe + 4)) -N2 "$1" | tr -d ' '
}

check_dll() { # FILE MACHINE WHAT
  if [ -z "$1" ] || [ ! -f "$1" ]; then
    echo "stage: FAIL: $3 DLL '$1' not found" >&2
    exit 1
  fi
  if [ "$(head -c2 "$1")" != MZ ] || [ "$(pe_machine "$1")" != "$2" ]; then
    echo "stage: FAIL: $1 is not an $3 DLL" >&2
    exit 1
  fi
}

check_dll "$x64" 8664 x64
check_dll "$x86" 014c x86
[ -f "$inf" ] || { echo "stage: FAIL: INF '$inf' not found" >&2; exit 1; }

mkdir -p "$out"
rm -f "$out/lumacore.inf" "$out/lumacore.dll" "$out/lumacore32.dll"
cp "$inf" "$out/lumacore.inf"
cp "$x64" "$out/lumacore.dll"
cp "$x86" "$out/lumacore32.dll"
echo "stage: $out: lumacore.inf lumacore.dll (x64) lumacore32.dll (x86)"
