#!/usr/bin/env bash
# check-dll.sh OBJDUMP DLL NAME...: the DLL exports exactly NAME... (undecorated)
# and imports nothing but system DLLs.
set -euo pipefail
objdump=$1 dll=$2
shift 2
dump=$(LC_ALL=C "$objdump" -p "$dll")

exports=$(printf '%s\n' "$dump" | awk '/\[Ordinal\/Name Pointer\] Table/{on=1;next} on&&/^[ \t]*\[/{print $NF;next} on{on=0}' | sort)
wanted=$(printf '%s\n' "$@" | sort)
if [ "$exports" != "$wanted" ]; then
  echo "exports of $dll:"; printf '  %s\n' $exports
  echo "expected:"; printf '  %s\n' $wanted
  exit 1
fi

allowed='^(KERNEL32|USER32|GDI32|ADVAPI32|WINMM|COMCTL32|COMDLG32|MSVFW32|AVIFIL32|OLE32|OLEAUT32|SHELL32|WINDOWSCODECS|msvcrt|api-ms-win-crt-[a-z0-9-]+)\.dll$'
shopt -s nocasematch
status=0
for lib in $(printf '%s\n' "$dump" | awk '/DLL Name:/{print $3}'); do
  if ! [[ $lib =~ $allowed ]]; then echo "$dll imports a non-system DLL: $lib"; status=1; fi
done
[ $status -eq 0 ] && echo "$(basename "$dll"): exports $(echo $exports) and imports system DLLs only"
exit $status
