#!/usr/bin/env bash
# make bench: runs the benchmarks of an optimised native build on one core:
# the conversions next to memcpy, libyuv and libswscale, then every kernel's
# tiers against its plain function (the kernel harness's timing mode).
set -euo pipefail
build=${1:-build/native-release}
taskset -c 0 "$build/bench/lumacore_bench" --benchmark_counters_tabular=true "${@:2}"
echo
echo "Kernels by tier (ns per call, median):"
taskset -c 0 "$build/tests/kernel_harness" --bench
