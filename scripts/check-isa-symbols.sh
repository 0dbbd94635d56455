#!/usr/bin/env bash
# check-isa-symbols.sh NM OBJECT_DIR...: no symbol is defined by objects
# compiled for different instruction sets.
#
# The per-processor variants are compiled with -msse2, -mssse3, -mavx2, ...
# and the rest of the code for the baseline. When two of them define the same
# symbol (an inline helper, a template instance, a static local of a
# template), the linker keeps one copy for all: the baseline or SSE2 path may
# then run AVX2 code. Objects are grouped by the instruction set named at the
# end of their file name (foo_avx2.cpp.o); the rest form the baseline group.
set -euo pipefail
nm=$1
shift

mapfile -t objects < <(find "$@" -type f \( -name '*.o' -o -name '*.obj' \) | sort)
if [ ${#objects[@]} -eq 0 ]; then
  echo "no objects under $*"
  exit 1
fi

isa_of() {
  local base
  base=$(basename "$1")
  base=${base%.o}; base=${base%.obj}; base=${base%.cpp}
  case $base in
    *_sse2 | *_ssse3 | *_sse41 | *_avx | *_avx2 | *_avx512*) echo "${base##*_}" ;;
    *) echo baseline ;;
  esac
}

sets=0
list=$(mktemp)
trap 'rm -f "$list"' EXIT
for obj in "${objects[@]}"; do
  isa=$(isa_of "$obj")
  [ "$isa" != baseline ] && sets=$((sets + 1))
  # Defined, externally visible symbols (weak and COMDAT ones included).
  # Constant-pool entries named by their value are data, the same in every
  # copy, and cannot carry code.
  LC_ALL=C "$nm" -g --defined-only "$obj" 2>/dev/null |
    awk -v isa="$isa" -v obj="$(basename "$obj")" \
      'NF >= 3 && $3 !~ /^(__real@|__xmm@|__ymm@|__zmm@|\.refptr\.|\.weak\.|__x86\.get_pc_thunk\.)/ { print $3, isa, obj }'
done >"$list"

if [ "$sets" -eq 0 ]; then
  echo "no per-instruction-set objects under $*"
  exit 1
fi

shared=$(sort -u -k1,1 -k2,2 "$list" | awk '
  { isas[$1] = isas[$1] " " $2; n[$1]++; where[$1] = where[$1] " " $3 }
  END { for (s in n) if (n[s] > 1) print s ":" where[s] }' | sort)
if [ -n "$shared" ]; then
  echo "symbols defined for more than one instruction set:"
  printf '%s\n' "$shared" | head -n 60 | sed 's/^/  /'
  printf '%s\n' "$shared" | awk 'END { print NR " in all" }'
  exit 1
fi
echo "$(wc -l <"$list") symbols in ${#objects[@]} objects ($sets per instruction set): none shared between instruction sets"
