#!/usr/bin/env bash
# run-x86.sh CPU PROBE PROGRAM [ARG...]: runs a 32-bit test program under
# qemu-i386 as the processor model CPU; or, with CPU "native", directly on
# this machine's processor, where the kernel starts 32-bit programs (PROBE, a
# 32-bit program that does nothing, tells). Exit 77 means skipped.
set -uo pipefail
cpu=$1 probe=$2
shift 2
if [ "$cpu" = native ]; then
  if ! "$probe" >/dev/null 2>&1; then
    echo "skipped: this machine's kernel does not start 32-bit programs; the qemu-i386 runs cover the x86 code"
    exit 77
  fi
  exec "$@"
fi
exec qemu-i386 -cpu "$cpu" "$@"
