#!/usr/bin/env bash
# lumacore-avi refuses bad requests with a message and a non-zero exit:
#   host_errors.sh PREFIX LUMACORE_AVI WORKDIR
set -uo pipefail
prefix=$1 exe=$2 work=$3
run="$(cd "$(dirname "$0")/../.." && pwd)/scripts/wine-run.sh"
mkdir -p "$work" && cd "$work" || exit 1
failures=0

expect_refusal() { # WHAT MESSAGE-PATTERN ARGS...
  local what=$1 pattern=$2
  shift 2
  local out rc
  out=$("$run" "$prefix" "$exe" "$@" 2>&1)
  rc=$?
  if [ $rc -ne 0 ] && [ $rc -lt 128 ] && grep -q -- "$pattern" <<<"$out"; then
    echo "PASS: $what"
  else
    echo "FAIL: $what: exit $rc, output: $out" >&2
    failures=$((failures + 1))
  fi
}

rm -f missing.avi not-avi.avi
expect_refusal "a missing input file" "missing.avi: no such file" decode missing.avi --to RGB24
printf 'not a RIFF file at all' >not-avi.avi
expect_refusal "a file that is not an AVI" "not an AVI" decode not-avi.avi --to RGB24
expect_refusal "a FourCC no codec handles" "no installed codec compresses to FourCC 'QQQQ'" \
  encode --fourcc QQQQ --frames 1 out.avi
expect_refusal "a malformed size" "want WxH" encode --fourcc UYVY --size 720by486 out.avi
expect_refusal "an unknown output layout" "want RGB24, RGB32 or a FourCC" decode not-avi.avi --to RGB565

# And a good run still succeeds and reports its speed.
out=$("$run" "$prefix" "$exe" encode --fourcc UYVY --size 64x48 --frames 2 ok.avi 2>&1)
if grep -q "encode: 2 frames in .* fps, .* MB/s" <<<"$out"; then echo "PASS: a good encode"; else
  echo "FAIL: a good encode: $out" >&2
  failures=$((failures + 1))
fi
exit $((failures > 0))
