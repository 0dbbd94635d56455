#!/usr/bin/env bash
# make bench: every conversion path on whole frames, in one band and in the
# driver's bands, next to libyuv, libswscale and memcpy (written to
# docs/benchmarks.md), then every kernel's tiers against its plain function on
# one core (the kernel harness's timing mode).
set -euo pipefail
build=${1:-build/native-release}
"$build/bench/lumacore_bench" --write docs/benchmarks.md "${@:2}"
echo
echo "Kernels by tier (ns per call, median):"
taskset -c 0 "$build/tests/kernel_harness" --bench
