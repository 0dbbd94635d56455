#!/usr/bin/env bash
# make demo: installs the codec with its INF into a private Wine prefix, then
# encodes a generated 1920x1080 clip through the VCM in several formats,
# decodes each back to RGB and to one PNG, and prints what it measured: the
# frames a second through the VCM in bands on every core (the default) and in
# one band (the settings key's threads value at 1).
# BUILD_ROOT picks the build trees: $BUILD_ROOT-w64 and $BUILD_ROOT-w32 when
# set, else build/win64 and build/win32.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ -n "${BUILD_ROOT:-}" ]; then
  win64=$BUILD_ROOT-w64 win32=$BUILD_ROOT-w32 demo=$BUILD_ROOT-demo
else
  win64=$root/build/win64 win32=$root/build/win32 demo=$root/build/demo
fi
prefix=$demo/wineprefix
stage=$demo/stage
out=$demo/output
env=$root/scripts/wine-env.sh
avi="$win64/lumacore-avi.exe"
frames=${DEMO_FRAMES:-3}
settings_key='HKCU\Software\Orvane Technologies\Lumacore'

echo "== Preparing a private Wine prefix in $prefix"
"$env" "$prefix" init

echo "== Installing Lumacore with packaging/lumacore.inf"
"$root/tests/wine/inf/stage.sh" "$stage" "$win64/lumacore.dll" "$win32/lumacore.dll" "$root/packaging/lumacore.inf"
inf_windows_path="Z:$(printf '%s' "$stage/lumacore.inf" | tr / '\\')"
"$env" "$prefix" run rundll32 setupapi.dll,InstallHinfSection DefaultInstall 132 "$inf_windows_path"
WINEPREFIX=$prefix wineserver --wait

echo "== Video codecs the VCM sees"
"$env" "$prefix" run "$avi" codecs

echo "== A 1920x1080 clip of $frames frames through the VCM"
mkdir -p "$out"
cd "$out"
rows=()
for fourcc in UYVY v210 YUY2 YV12 a12v; do
  enc=$("$env" "$prefix" run "$avi" encode --fourcc "$fourcc" --size 1920x1080 --frames "$frames" --pattern bars \
        --source-raw source.rgb "$fourcc.avi")
  dec=$("$env" "$prefix" run "$avi" decode "$fourcc.avi" --to RGB24 --raw "$fourcc.rgb" --png "$fourcc.png" --frame 0)
  diff=$("$env" "$prefix" run "$avi" compare source.rgb "$fourcc.rgb")
  # Frames a second with the same work either way (no files beside the
  # AVI): in bands on every core, the default, then in one band a frame,
  # which the threads value asks for.
  speed() {
    enc=$("$env" "$prefix" run "$avi" encode --fourcc "$fourcc" --size 1920x1080 --frames "$frames" --pattern bars \
          "$fourcc-timed.avi")
    dec=$("$env" "$prefix" run "$avi" decode "$fourcc.avi" --to RGB24)
  }
  speed
  encb=$enc decb=$dec
  "$env" "$prefix" run reg add "$settings_key" /v threads /t REG_DWORD /d 1 /f >/dev/null
  speed
  enc1=$enc dec1=$dec
  "$env" "$prefix" run reg delete "$settings_key" /v threads /f >/dev/null
  rm -f "$fourcc-timed.avi"
  fps() { sed -n 's/.* s: \([0-9.]*\) fps.*/\1/p' <<<"$1" | tr -d '\r'; }
  n=$(sed -n 's/^encode: \([0-9]*\) frames.*/\1/p' <<<"$encb")
  largest=$(sed -n 's/^largest difference \([0-9]*\).*/\1/p' <<<"$diff")
  rows+=("$(printf '%-6s %6s %12s %12s %12s %12s %12s %10s' "$fourcc" "$n" "$(fps "$encb")" "$(fps "$enc1")" \
            "$(fps "$decb")" "$(fps "$dec1")" "$(stat -c %s "$fourcc.avi")" "$largest")")
  rm -f "$fourcc.rgb"
done
rm -f source.rgb
"$env" "$prefix" stop

echo
printf '%-6s %6s %12s %12s %12s %12s %12s %10s\n' format frames "encode fps" "1 band" "decode fps" "1 band" \
  "file bytes" "max diff"
printf '%s\n' "${rows[@]}"
echo
echo "AVIs and one PNG per format in $out"
