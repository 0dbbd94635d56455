#!/usr/bin/env bash
# fuzz.sh FUZZER SEED_CORPUS SECONDS: runs a libFuzzer target for SECONDS over
# its seed corpus plus what it finds (kept in a scratch folder beside the
# binary, so the seeds in the repository stay as they are).
set -euo pipefail
fuzzer=$1 seeds=$2 seconds=${3:-30}
work="$(dirname "$fuzzer")/$(basename "$fuzzer").corpus"
mkdir -p "$work"
exec "$fuzzer" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 -print_final_stats=1 \
  -artifact_prefix="$(dirname "$fuzzer")/" "$work" "$seeds"
