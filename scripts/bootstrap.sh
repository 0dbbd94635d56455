#!/usr/bin/env bash
# Installs from Debian's packages whatever the build and the tests need.
# Quick when everything is there: it only asks dpkg.
set -euo pipefail

packages=(
  cmake ninja-build make g++ git clang libclang-rt-14-dev valgrind
  libgtest-dev googletest libgmock-dev libbenchmark-dev libyuv-dev
  libswscale-dev libavcodec-dev libavutil-dev pkg-config
  mingw-w64 binutils-mingw-w64
  wine wine64
  xvfb xauth x11-utils x11-apps imagemagick ffmpeg
)

missing=()
for p in "${packages[@]}"; do
  if [ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null)" != "install ok installed" ]; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "bootstrap: installing ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
echo "bootstrap: done"
