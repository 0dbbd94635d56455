#!/usr/bin/env bash
# make bench: runs the benchmarks of an optimised native build on one core.
set -euo pipefail
build=${1:-build/native-release}
exec taskset -c 0 "$build/bench/lumacore_bench" --benchmark_counters_tabular=true "${@:2}"
