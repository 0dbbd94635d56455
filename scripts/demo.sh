#!/usr/bin/env bash
# make demo: installs the codec with its INF into a private Wine prefix and
# runs it through the VCM there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
demo=$root/build/demo
prefix=$demo/wineprefix
stage=$demo/stage
env=$root/scripts/wine-env.sh

echo "== Preparing a private Wine prefix in $prefix"
"$env" "$prefix" init

echo "== Installing Lumacore with packaging/lumacore.inf"
"$root/tests/wine/inf/stage.sh" "$stage" "$root/build/win64/lumacore.dll" "$root/build/win32/lumacore.dll" \
  "$root/packaging/lumacore.inf"
inf_windows_path="Z:$(printf '%s' "$stage/lumacore.inf" | tr / '\\')"
"$env" "$prefix" run rundll32 setupapi.dll,InstallHinfSection DefaultInstall 132 "$inf_windows_path"
WINEPREFIX=$prefix wineserver --wait

echo "== Video codecs the VCM sees"
"$env" "$prefix" run "$root/build/win64/lumacore-avi.exe" codecs
"$env" "$prefix" stop
