#!/usr/bin/env bash
# Installs from Debian's packages whatever the build and the tests need.
# Quick when everything is there: it only asks dpkg.
set -euo pipefail

packages=(
  cmake ninja-build make g++ git clang libclang-rt-14-dev valgrind
  libgtest-dev googletest libgmock-dev libyuv-dev
  libswscale-dev libavcodec-dev libavutil-dev pkg-config
  mingw-w64 binutils-mingw-w64 g++-multilib qemu-user
  wine wine64
  xvfb xauth x11-utils x11-apps imagemagick ffmpeg
)

missing=()
for p in "${packages[@]}"; do
  if [ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null)" != "install ok installed" ]; then
    missing+=("$p")
  fi
done

sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
export DEBIAN_FRONTEND=noninteractive
updated=0
install() {
  echo "bootstrap: installing $*"
  [ $updated = 1 ] || $sudo apt-get update -qq
  updated=1
  $sudo apt-get install -y -qq --no-install-recommends "$@" >/dev/null
}
[ ${#missing[@]} -eq 0 ] || install "${missing[@]}"

# Where the kernel starts 32-bit programs, Wine's 32-bit half runs the x86
# DLL's tests in the 32-bit registry view and SysWOW64. Elsewhere those tests
# say that they are skipped.
runs_32bit() {
  local probe
  probe=$(mktemp)
  echo 'int main(void) { return 0; }' | gcc -m32 -x c - -o "$probe" 2>/dev/null && "$probe" 2>/dev/null
  local rc=$?
  rm -f "$probe"
  return $rc
}
if [ "$(dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null)" != "install ok installed" ] && runs_32bit; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
    updated=0
  fi
  install wine32:i386
fi
exit 0
