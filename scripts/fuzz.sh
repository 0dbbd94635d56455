#!/usr/bin/env bash
# fuzz.sh FUZZER SEED_CORPUS SECONDS|runs:N — runs a libFuzzer target over its
# seed corpus plus what it finds (kept in a scratch folder beside the binary,
# so the seeds in the repository stay as they are).
#   SECONDS   explore for that long, from a random seed (make fuzz)
#   runs:N    N inputs from a fixed seed: the same run every time, so the test
#             suite is repeatable (make test)
set -euo pipefail
fuzzer=$1 seeds=$2 budget=${3:-30}
work="$(dirname "$fuzzer")/$(basename "$fuzzer").corpus"
mkdir -p "$work"
case $budget in
  runs:*)
    # A fresh scratch corpus each time keeps the run identical.
    rm -rf "$work" && mkdir -p "$work"
    limit=(-runs="${budget#runs:}" -seed=1) ;;
  *) limit=(-max_total_time="$budget") ;;
esac
exec "$fuzzer" "${limit[@]}" -timeout=20 -rss_limit_mb=4096 -print_final_stats=1 \
  -artifact_prefix="$(dirname "$fuzzer")/" "$work" "$seeds"
